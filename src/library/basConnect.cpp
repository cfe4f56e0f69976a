#include "library/basConnect.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>

#include "dao/DBEngine.h"
#include "dao/Errors.h"
#include "dao/Location.h"
#include "forms/Collation.h"
#include "forms/ErrorReport.h"
#include "forms/Ui.h"
#include "settings/Options.h"
#include "vbrt/RegularFile.h"
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

namespace {

// The sorted lists show the procedures in the order of their entry texts. That
// order is worked out once per load of LibraryProcedures, so a filter change
// only walks it: a list of 100,000 entries refills without a sort.
struct DisplayOrder {
    std::uint64_t generation = ~std::uint64_t{0};
    const ProcedureRecord* data = nullptr;
    std::size_t size = 0;
    std::vector<std::uint32_t> order;
};

std::uint64_t libraryGeneration = 0;

std::string EntryText(const ProcedureRecord& record) {
    return record.Type + " " + record.Name;
}

// LibraryProcedures in list order: collation keys compare exactly as the list box compares texts.
const std::vector<std::uint32_t>& SortedOrder() {
    static DisplayOrder cache;
    if (cache.generation == libraryGeneration && cache.data == LibraryProcedures.data() &&
        cache.size == LibraryProcedures.size())
        return cache.order;
    std::vector<std::string> keys;
    keys.reserve(LibraryProcedures.size());
    for (const ProcedureRecord& record : LibraryProcedures)
        keys.push_back(forms::ListSortKey(EntryText(record)));
    cache.order.resize(keys.size());
    for (std::uint32_t i = 0; i < cache.order.size(); ++i) cache.order[i] = i;
    // Stable: equal texts keep the order the engine returned them in, as the list files them.
    std::stable_sort(cache.order.begin(), cache.order.end(),
                     [&](std::uint32_t a, std::uint32_t b) { return keys[a] < keys[b]; });
    cache = {libraryGeneration, LibraryProcedures.data(), LibraryProcedures.size(), std::move(cache.order)};
    return cache.order;
}

}  // namespace

void ResetLibraryProcedures() {
    LibraryProcedures.assign(1, ProcedureRecord{});
    ++libraryGeneration;
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

std::unique_ptr<dao::Database> OpenLocation(const std::string& location) {
    if (!dao::IsServerLocation(location)) {
        std::error_code ec;
        // A pipe or a device is there, but no library: the engine says which it is.
        if (!std::filesystem::is_regular_file(location, ec) && vbrt::SpecialFileKind(location).empty())
            return nullptr;
        return dao::DBEngine().OpenDatabase(location);
    }
    // Whether a server library is there can only be told by connecting to it.
    try {
        return dao::DBEngine().OpenDatabase(location);
    } catch (const vbrt::VbError& error) {
        if (error.Number() != dao::jet::FileNotFound) throw;
        return nullptr;
    }
}

bool OpenProcvaultDB(Env& env, std::unique_ptr<dao::Database>& db) {
    bool opened = false;
    std::string location;
    const auto inUse = [&](const vbrt::VbError& error) {
        if (error.Number() != dao::jet::FileInUse) return false;
        Tell(env, vbrt::FileNameText(dao::MaskedLocation(location)) + ":\r\n" + kInUse, forms::vbExclamation);
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
            db = OpenLocation(location);
            if (!db) {
                Tell(env, vbrt::FileNameText(dao::MaskedLocation(location)) + ":\r\n" + kNotFound,
                     forms::vbCritical);
                return;
            }
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
        ++libraryGeneration;
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
        const auto add = [&](const ProcedureRecord& record) {
            if (record.Name.empty() || !KindMatches(kindFilter, record.Type) ||
                !CategoryMatches(selected, record.CategoryID))
                return;
            list.AddItem(EntryText(record));
            list.SetItemData(list.NewIndex(), record.ProcedureHeaderID);
        };
        // Handed over in the list's own order, every entry is appended at its place.
        if (list.Sorted()) {
            for (const std::uint32_t i : SortedOrder()) add(LibraryProcedures[i]);
        } else {
            for (const ProcedureRecord& record : LibraryProcedures) add(record);
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
