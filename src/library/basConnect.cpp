#include "library/basConnect.h"

#include <algorithm>
#include <filesystem>

#include "dao/DBEngine.h"
#include "dao/Errors.h"
#include "forms/ErrorReport.h"
#include "forms/Ui.h"
#include "settings/Options.h"
#include "vbrt/Text.h"

namespace pv {

std::vector<ProcedureRecord> LibraryProcedures(1);

namespace {

constexpr const char* kTitle = "Procvault";
constexpr const char* kNoLocation =
    "There is no location entered for the Procvault database file. Please enter the correct location from "
    "the "
    "Procvault tab on the Options screen";
constexpr const char* kNotFound =
    "This file was not found. Please enter the correct location from the Procvault tab on the Options screen";
constexpr const char* kInUse =
    "This file is currently opened by another user. Please close the database and try again.";

void Tell(Env& env, const std::string& prompt, int icon) {
    env.ui.Beep();
    env.ui.MsgBox(prompt, forms::vbOKOnly | icon, kTitle);
}

struct Entry {
    std::string text;
    long data;
    std::string key;  // the text as the sorted list compares it: letters folded
};

bool KindMatches(const std::string& filter, const std::string& type) {
    if (filter == "All") return true;
    if (filter == "Functions") return type == "Function";
    if (filter == "Subs") return type == "Sub";
    return false;
}

bool CategoryMatches(long selected, const dao::Value& category) {
    return selected == 0 || (!category.IsNull() && category.AsInt64() == selected);
}

}  // namespace

void ResetLibraryProcedures() {
    LibraryProcedures.assign(1, ProcedureRecord{});
}

WaitCursor::WaitCursor(forms::Ui& ui) : ui_(ui) {
    ui_.SetMousePointer(forms::vbHourglass);
}

WaitCursor::~WaitCursor() {
    ui_.SetMousePointer(forms::vbDefault);
}

std::string ProcvaultLocation(Env& env) {
    std::string location;
    forms::Trap(env.ui, "ProcvaultLocation()",
                [&] { location = ReadOption(env.store, key::ProcvaultLocation, ""); });
    return location;
}

bool OpenProcvaultDB(Env& env, std::unique_ptr<dao::Database>& db) {
    bool opened = false;
    std::string location;
    const auto inUse = [&](const vbrt::VbError& error) {
        if (error.Number() != dao::jet::FileInUse) return false;
        Tell(env, location + ":\r\n" + kInUse, forms::vbExclamation);
        return true;
    };
    forms::Trap(
        env.ui, "OpenProcvaultDB()",
        [&] {
            location = ProcvaultLocation(env);
            if (location.empty()) {
                Tell(env, kNoLocation, forms::vbCritical);
                return;
            }
            std::error_code ec;
            if (!std::filesystem::is_regular_file(location, ec)) {
                Tell(env, location + ":\r\n" + kNotFound, forms::vbCritical);
                return;
            }
            db = dao::DBEngine().OpenDatabase(ProcvaultLocation(env));
            opened = true;
        },
        inUse);
    return opened;
}

bool GetProcedures(Env& env) {
    bool loaded = false;
    WaitCursor wait(env.ui);
    forms::Trap(env.ui, "GetProcedures()", [&] {
        std::unique_ptr<dao::Database> db;
        if (!OpenProcvaultDB(env, db)) return;
        auto rs = db->OpenRecordset("SELECT ProcedureHeaderID, Name, Type, CategoryID FROM ProcedureHeader",
                                    dao::dbOpenSnapshot);
        const dao::Field id = rs->Fields("ProcedureHeaderID");
        const dao::Field name = rs->Fields("Name");
        const dao::Field type = rs->Fields("Type");
        const dao::Field category = rs->Fields("CategoryID");
        ResetLibraryProcedures();
        for (std::size_t i = 0; !rs->Eof(); ++i) {
            if (i >= LibraryProcedures.size()) LibraryProcedures.emplace_back();
            ProcedureRecord& record = LibraryProcedures[i];
            record.ProcedureHeaderID = id.Value().AsLong();
            record.Name = name.Value().AsString();
            record.Type = type.Value().AsString();
            record.CategoryID = category.Value();
            rs->MoveNext();
        }
        db->Close();
        loaded = true;
    });
    return loaded;
}

void RefreshCategoriesList(Env& env, forms::ComboBox& combo) {
    WaitCursor wait(env.ui);
    forms::Trap(env.ui, "RefreshCategoriesList()", [&] {
        combo.Clear();
        std::unique_ptr<dao::Database> db;
        if (!OpenProcvaultDB(env, db)) return;
        auto rs = db->OpenRecordset("SELECT CategoryID, CategoryDesc FROM Category ORDER BY CategoryID",
                                    dao::dbOpenSnapshot);
        combo.AddItem("(All)");
        combo.SetItemData(combo.NewIndex(), 0);
        for (; !rs->Eof(); rs->MoveNext()) {
            combo.AddItem(rs->Fields("CategoryDesc").Value().AsString());
            combo.SetItemData(combo.NewIndex(), rs->Fields("CategoryID").Value().AsLong());
        }
        if (combo.ListCount() > 0) combo.SetListIndex(0);
        db->Close();
    });
}

void RefreshAvailableProceduresList(Env& env, forms::ListBox& list, forms::ComboBox& category,
                                    const std::string& kindFilter) {
    forms::Trap(env.ui, "RefreshAvailableProceduresList()", [&] {
        list.Clear();
        if (category.ListIndex() < 0) return;
        const long selected = category.ItemData(category.ListIndex());
        std::vector<Entry> entries;
        for (const ProcedureRecord& record : LibraryProcedures) {
            if (record.Name.empty() || !KindMatches(kindFilter, record.Type) ||
                !CategoryMatches(selected, record.CategoryID))
                continue;
            entries.push_back({record.Type + " " + record.Name, record.ProcedureHeaderID, {}});
        }
        // A sorted list files each entry at its place; handing them over in that
        // order already (equal texts keeping theirs) gives the same list without
        // moving earlier entries aside at every insertion.
        if (list.Sorted()) {
            for (Entry& entry : entries) entry.key = vbrt::UCase(entry.text);
            std::stable_sort(entries.begin(), entries.end(),
                             [](const Entry& a, const Entry& b) { return a.key < b.key; });
        }
        for (const Entry& entry : entries) {
            list.AddItem(entry.text);
            list.SetItemData(list.NewIndex(), entry.data);
        }
    });
}

void SelectControl(Env& env, forms::Control& control) {
    forms::Trap(
        env.ui, "SelectControl()",
        [&] {
            control.SetFocus();
            env.ui.SendKeys("{Home}+{End}");
        },
        [](const vbrt::VbError& error) { return error.Number() == vbrt::err::InvalidCall; });
}

std::string ExtractFileName(const std::string& path) {
    const auto separator = path.find_last_of("\\/");
    return separator == std::string::npos ? path : path.substr(separator + 1);
}

std::string ExtractFilePath(const std::string& path) {
    const auto separator = path.find_last_of("\\/");
    return separator == std::string::npos ? std::string() : path.substr(0, separator + 1);
}

}  // namespace pv
