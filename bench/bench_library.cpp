// The shared library routines on the large benchmark library.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "BenchLibrary.h"
#include "dao/DBEngine.h"
#include "dao/Schema.h"
#include "forms/Collation.h"
#include "forms/Form.h"
#include "forms/ScriptedUi.h"
#include "host/VBE.h"
#include "library/LibrarySearch.h"
#include "library/basConnect.h"
#include "library/frmAddProcedure.h"
#include "library/frmPreview.h"
#include "settings/Options.h"
#include "vbrt/SettingsStore.h"

namespace fs = std::filesystem;

namespace {

using benchlib::kProcedures;
using benchlib::Library;

struct Session {
    forms::ScriptedUi ui;
    vbrt::MemorySettingsStore store;
    pv::Env env{ui, store};
    forms::Form form{"frmBench"};
    forms::ComboBox& combo = form.Add<forms::ComboBox>("cboCategory");
    forms::ListBox& list = form.Add<forms::ListBox>("lstAvailableProcedures");
    Session() {
        pv::WriteOption(store, pv::key::ProcvaultLocation, Library());
        combo.SetSorted(true);
        list.SetSorted(true);
    }
};

void BM_GetProcedures(benchmark::State& state) {
    Session s;
    for (auto _ : state) {
        if (!pv::GetProcedures(s.env)) state.SkipWithError("library not opened");
        s.ui.ClearTranscript();
    }
    state.counters["procedures"] = static_cast<double>(pv::LibraryProcedures.size());
}
BENCHMARK(BM_GetProcedures)->Unit(benchmark::kMillisecond);

// What the main dialog's library tab does when first shown on 100,000 stored
// procedures: read them, fill the category combo, fill the sorted list.
void BM_LibraryTabFirstShow(benchmark::State& state) {
    Session s;
    for (auto _ : state) {
        pv::ResetLibraryProcedures();
        pv::GetProcedures(s.env);
        pv::RefreshCategoriesList(s.env, s.combo);
        pv::RefreshAvailableProceduresList(s.env, s.list, s.combo, "All");
    }
    state.counters["entries"] = s.list.ListCount();
}
BENCHMARK(BM_LibraryTabFirstShow)->Unit(benchmark::kMillisecond);

// Args: kind (0 All, 1 Functions, 2 Subs), category entry (0 "(All)", else one category).
void BM_FilterChange(benchmark::State& state) {
    static const char* kinds[] = {"All", "Functions", "Subs"};
    Session s;
    pv::GetProcedures(s.env);
    pv::RefreshCategoriesList(s.env, s.combo);
    s.combo.SetListIndex(static_cast<int>(state.range(1)));
    for (auto _ : state) pv::RefreshAvailableProceduresList(s.env, s.list, s.combo, kinds[state.range(0)]);
    state.counters["entries"] = s.list.ListCount();
}
BENCHMARK(BM_FilterChange)
    ->Args({2, 5})
    ->Args({1, 5})
    ->Args({0, 5})
    ->Args({1, 0})
    ->Args({0, 0})
    ->Unit(benchmark::kMillisecond);

// 100,000 entries filed by a sorted list box, handed over in display order as
// the library routines do: one collation key each, appended at its place.
void BM_SortedInsertion(benchmark::State& state) {
    std::vector<std::string> texts;
    for (int i = 0; i < kProcedures; ++i)
        texts.push_back((i % 2 ? "Function Proc_" : "Sub Proc") + std::to_string(i));
    std::sort(texts.begin(), texts.end(), [](const std::string& a, const std::string& b) {
        return forms::ListSortKey(a) < forms::ListSortKey(b);
    });
    for (auto _ : state) {
        forms::Form form("frmBench");
        auto& list = form.Add<forms::ListBox>("lstBench");
        list.SetSorted(true);
        for (const auto& text : texts) list.AddItem(text);
        benchmark::DoNotOptimize(list.ListCount());
    }
}
BENCHMARK(BM_SortedInsertion)->Unit(benchmark::kMillisecond);

std::string ChosenKeys(const char* separator) {
    std::string keys;
    for (int i = 0; i < 100; ++i) {
        if (i) keys += separator;
        keys += std::to_string(1 + i * (kProcedures / 100));
    }
    return keys;
}

// What inserting 100 chosen procedures reads: open, headers, lines in key order.
void BM_ReadLinesOf100(benchmark::State& state) {
    const std::string keys = ChosenKeys(",");
    long lines = 0;
    for (auto _ : state) {
        auto db = dao::DBEngine().OpenDatabase(Library());
        auto headers = db->OpenRecordset(
            "SELECT ProcedureHeaderID FROM ProcedureHeader WHERE ProcedureHeaderID IN (" + keys + ")",
            dao::dbOpenSnapshot);
        auto rs = db->OpenRecordset(
            "SELECT ProcedureLineID, ProcedureHeaderID, Line FROM ProcedureLine WHERE "
            "ProcedureHeaderID In (" +
                keys + ") ORDER BY ProcedureLineID",
            dao::dbOpenSnapshot);
        lines = 0;
        for (; !rs->Eof(); rs->MoveNext()) {
            benchmark::DoNotOptimize(rs->Fields("Line").Value());
            ++lines;
        }
        db->Close();
    }
    state.counters["lines"] = static_cast<double>(lines);
}
BENCHMARK(BM_ReadLinesOf100)->Unit(benchmark::kMillisecond);

// Storing one 1,000-line procedure: header and lines in one durable transaction.
void BM_AppendProcedure1000(benchmark::State& state) {
    for (auto _ : state) {
        auto db = dao::DBEngine().OpenDatabase(Library());
        dao::Transaction transaction(*db);
        auto headers = db->OpenRecordset("ProcedureHeader", dao::dbOpenDynaset, dao::dbAppendOnly);
        auto lines = db->OpenRecordset("ProcedureLine", dao::dbOpenDynaset, dao::dbAppendOnly);
        headers->AddNew();
        headers->Collect("Name", "BenchAppend");
        headers->Collect("Type", "Sub");
        headers->Collect("CategoryID", 1);
        const long id = headers->Fields("ProcedureHeaderID").Value().AsLong();
        headers->Update();
        for (int i = 0; i < 1000; ++i) {
            lines->AddNew();
            lines->Collect("ProcedureHeaderID", id);
            lines->Collect("Line", "    Debug.Print \"line " + std::to_string(i) + "\"");
            lines->Update();
        }
        transaction.Commit();
        db->Close();
        state.PauseTiming();
        auto cleanup = dao::DBEngine().OpenDatabase(Library());
        cleanup->Execute("DELETE * FROM ProcedureLine WHERE ProcedureHeaderID=" + std::to_string(id));
        cleanup->Execute("DELETE * FROM ProcedureHeader WHERE ProcedureHeaderID=" + std::to_string(id));
        cleanup->Close();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_AppendProcedure1000)->Unit(benchmark::kMillisecond)->Iterations(30);

}  // namespace

// The preview of 50 chosen procedures (1,500 lines): open, read in key order, fill the window.
namespace {

void BM_Preview50(benchmark::State& state) {
    Session s;
    std::vector<long> keys;
    for (int i = 0; i < 50; ++i) keys.push_back(1 + i * (kProcedures / 50));
    std::size_t chars = 0;
    s.ui.OnShow("frmPreview", [&](forms::Form& f) {
        chars = static_cast<pv::frmPreview&>(f).txtPreview.Text().size();
        f.Unload();
    });
    for (auto _ : state) {
        pv::frmPreview preview(s.env);
        preview.Preview(keys);
        s.ui.ClearTranscript();
    }
    if (chars == 0) state.SkipWithError("nothing previewed");
    state.counters["chars"] = static_cast<double>(chars);
}
BENCHMARK(BM_Preview50)->Unit(benchmark::kMillisecond);

}  // namespace

// Storing every procedure of a 50,000-line module (2,000 procedures of 25
// lines, a comment above each) through the store dialog: Select All, OK.
namespace {

void BM_StoreModule2000(benchmark::State& state) {
    const fs::path dir = fs::temp_directory_path() / "procvault-bench-store";
    fs::create_directories(dir);
    std::string text = "Attribute VB_Name = \"modBig\"\r\nOption Explicit\r\n";
    for (int p = 0; p < 2000; ++p) {
        const std::string name = "Proc" + std::to_string(p);
        text += "' " + name + ": one of many\r\nPublic Sub " + name + "()\r\n";
        for (int i = 0; i < 22; ++i) text += "    Debug.Print \"line " + std::to_string(i) + "\"\r\n";
        text += "End Sub\r\n";
    }
    const fs::path module = dir / "modBig.bas";
    if (FILE* f = std::fopen(module.c_str(), "wb")) {
        std::fwrite(text.data(), 1, text.size(), f);
        std::fclose(f);
    }
    host::VBE vbe;
    vbe.OpenProject(module);
    pv::objVBE = &vbe;
    forms::ScriptedUi ui;
    vbrt::MemorySettingsStore store;
    pv::Env env{ui, store};
    const std::string library = (dir / "store.mdb").string();
    pv::WriteOption(store, pv::key::ProcvaultLocation, library);
    ui.OnShow("frmAddProcedure", [](forms::Form& f) {
        auto& dialog = static_cast<pv::frmAddProcedure&>(f);
        dialog.cmdSelectAll.Press();
        dialog.cmdOK.Press();
    });
    for (auto _ : state) {
        state.PauseTiming();
        fs::remove(library);
        dao::CreateLibrary(library);
        auto db = dao::DBEngine().OpenDatabase(library);
        db->Execute("INSERT INTO Category (CategoryDesc) VALUES (\"Bench\")");
        db->Close();
        state.ResumeTiming();
        pv::frmAddProcedure dialog(env, "(All)");
        ui.ShowModal(dialog);
    }
    if (!ui.Messages().empty()) state.SkipWithError(ui.Messages().front().prompt.c_str());
    state.counters["procedures"] = static_cast<double>(pv::LibraryProcedures.size());
    pv::objVBE = nullptr;
    fs::remove_all(dir);
}
BENCHMARK(BM_StoreModule2000)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

// Searching 100,000 procedures of 30 lines by words. Each line holds one of 100,000
// item words (each word in 30 lines of 30 procedures), so a word's hits stay few, as
// a real library's would; every line also holds "strResult", the worst case.
namespace {

std::string SearchLibraryPath() {
    if (const char* location = std::getenv("PV_BENCH_SEARCH_LIBRARY")) return location;
    return (fs::path(benchlib::LibraryPath()).parent_path() / "library-100k-search.mdb").string();
}

void GenerateSearchLibrary(const std::string& path) {
    benchlib::BuildLibrary(
        path,
        {"INSERT INTO Category (CategoryDesc) VALUES (\"Bench\")",
         "INSERT INTO ProcedureHeader (Name, Type, CategoryID) WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL "
         "SELECT i+1 FROM n WHERE i<" +
             std::to_string(kProcedures - 1) + ") SELECT printf(\"Proc%06d\", i), \"Sub\", 1 FROM n",
         "INSERT INTO ProcedureLine (ProcedureHeaderID, Line) WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL "
         "SELECT i+1 FROM n WHERE i<" +
             std::to_string(benchlib::kLinesEach) +
             ") SELECT h.ProcedureHeaderID, printf(\"    strResult = strResult & Item%05d & \"\"line "
             "%d\"\"\", "
             "(h.ProcedureHeaderID*31 + n.i*7919) % " +
             std::to_string(kProcedures) +
             ", n.i) FROM ProcedureHeader h, n ORDER BY h.ProcedureHeaderID, n.i"});
}

const std::string& SearchLibrary() {
    static const std::string path = [] {
        const std::string p = SearchLibraryPath();
        // A server library (bench/server-100k.sh) is filled by the server itself.
        if (!dao::IsServerLocation(p) && !fs::exists(p)) GenerateSearchLibrary(p);
        return p;
    }();
    return path;
}

// Args: the search text, from kSearches.
const char* kSearches[] = {"Item01234",  "item0123",      "Item01234 Item05678",
                           "Proc012345", "Proc0123 Item", "strResult"};

void BM_Search(benchmark::State& state) {
    auto db = dao::DBEngine().OpenDatabase(SearchLibrary());
    const std::string text = kSearches[state.range(0)];
    std::size_t hits = 0;
    for (auto _ : state) hits = pv::SearchLibrary(*db, text, 0).size();
    state.SetLabel(text);
    state.counters["hits"] = static_cast<double>(hits);
}
BENCHMARK(BM_Search)->DenseRange(0, 4)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Search)->Arg(5)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace
