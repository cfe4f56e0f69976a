// The engine alone: statement translation, opening a file, reading a snapshot,
// adding rows inside one transaction.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "dao/DBEngine.h"
#include "dao/JetSql.h"
#include "dao/Schema.h"

namespace fs = std::filesystem;

namespace {

constexpr int kHeaders = 10000;

// A small library in its own temp folder, filled once per process.
class BenchLibrary {
public:
    BenchLibrary() {
        folder_ = fs::temp_directory_path() / ("procvault-bench-dao-" + std::to_string(::getpid()));
        fs::create_directories(folder_);
        path_ = (folder_ / "Library.mdb").string();
        dao::CreateLibrary(path_);
        auto db = dao::DBEngine().OpenDatabase(path_);
        db->Execute("INSERT INTO Category (CategoryDesc) VALUES (\"Bench\")");
        db->Execute(
            "INSERT INTO ProcedureHeader (Name, Type, CategoryID) WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL "
            "SELECT i+1 FROM n WHERE i<" +
            std::to_string(kHeaders) + ") SELECT printf(\"Proc%05d\", i), \"Sub\", 1 FROM n");
    }
    ~BenchLibrary() { fs::remove_all(folder_); }
    const std::string& Path() const { return path_; }

private:
    fs::path folder_;
    std::string path_;
};

const BenchLibrary& Library() {
    static const BenchLibrary library;
    return library;
}

void BM_TranslateJet(benchmark::State& state) {
    const std::string sql =
        "DELETE * FROM ProcedureHeader WHERE ProcedureHeaderID IN (1, 2, 3, 4, 5) AND Name=" +
        dao::QuoteText("say \"hi\"");
    for (auto _ : state) benchmark::DoNotOptimize(dao::TranslateJet(sql));
}
BENCHMARK(BM_TranslateJet);

void BM_OpenDatabase(benchmark::State& state) {
    for (auto _ : state) {
        auto db = dao::DBEngine().OpenDatabase(Library().Path());
        db->Close();
    }
}
BENCHMARK(BM_OpenDatabase)->Unit(benchmark::kMicrosecond);

void BM_SnapshotOfHeaders(benchmark::State& state) {
    auto db = dao::DBEngine().OpenDatabase(Library().Path());
    for (auto _ : state) {
        auto rs = db->OpenRecordset("SELECT ProcedureHeaderID, Name, Type, CategoryID FROM ProcedureHeader",
                                    dao::dbOpenSnapshot);
        benchmark::DoNotOptimize(rs->RecordCount());
    }
    state.SetItemsProcessed(state.iterations() * kHeaders);
}
BENCHMARK(BM_SnapshotOfHeaders)->Unit(benchmark::kMillisecond);

// Rows added with AddNew/Collect/Update, 1,000 per durable transaction.
void BM_AddRowsInOneTransaction(benchmark::State& state) {
    auto db = dao::DBEngine().OpenDatabase(Library().Path());
    auto lines = db->OpenRecordset("ProcedureLine", dao::dbOpenDynaset, dao::dbAppendOnly);
    for (auto _ : state) {
        db->BeginTrans();
        for (int i = 0; i < 1000; ++i) {
            lines->AddNew();
            lines->Collect("ProcedureHeaderID", 1);
            lines->Collect("Line", "    x = x + 1");
            benchmark::DoNotOptimize(lines->Fields("ProcedureLineID").Value());
            lines->Update();
        }
        db->CommitTrans();
    }
    state.SetItemsProcessed(state.iterations() * 1000);
}
BENCHMARK(BM_AddRowsInOneTransaction)->Unit(benchmark::kMillisecond);

}  // namespace
