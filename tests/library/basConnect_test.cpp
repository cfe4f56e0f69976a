// The shared library routines against real library files, with a scripted
// user and an in-memory settings store.
#include "library/basConnect.h"

#include <gtest/gtest.h>

#include <array>

#include "LibraryDialogFixture.h"

namespace {

using Strings = std::vector<std::string>;
using Entries = std::vector<std::pair<std::string, long>>;

class BasConnect : public librarytest::LibraryDialogTest {
protected:
    BasConnect()
        : form("frmTest"),
          combo(form.Add<forms::ComboBox>("cboCategory")),
          list(form.Add<forms::ListBox>("lst")) {
        combo.SetSorted(true);
        list.SetSorted(true);
        combo.Click.Connect([this] { ++clicks; });
    }
    void PointAt(const std::string& location) {
        pv::WriteOption(store, pv::key::ProcvaultLocation, location);
    }
    // The sample plus 4 Pad (Function, Strings) and 5 with no name.
    void Fill() {
        daotest::AddProcedure(*file.Open(), {"Pad", "Function", 2, {}});
        daotest::AddProcedure(*file.Open(), {"", "Sub", 1, {}});
    }
    Strings Pointers() const {
        Strings out;
        for (const std::string& entry : ui.Transcript())
            if (entry.rfind("pointer:", 0) == 0) out.push_back(entry);
        return out;
    }
    static Entries Of(const forms::ListControl& control) {
        Entries out;
        for (int i = 0; i < control.ListCount(); ++i) out.emplace_back(control.List(i), control.ItemData(i));
        return out;
    }
    vbrt::MemorySettingsStore blank;  // never written
    forms::Form form;
    forms::ComboBox& combo;
    forms::ListBox& list;
    int clicks = 0;
};

struct OpenRow {
    const char* setting;  // nullptr: none; else a name in the library's folder, "" or "." the folder
    std::string said;     // "": opened silently
    bool beep = true;
};

class Opening : public BasConnect, public testing::WithParamInterface<OpenRow> {};

TEST_P(Opening, OpensTheConfiguredLibrarySilentlyOrTellsTheUserWhy) {
    const OpenRow& row = GetParam();
    const std::string setting = row.setting ? row.setting : "";
    const std::string location = setting == "held" ? file.Path() : (file.Dir() / setting).string();
    PointAt(setting.empty() ? "" : setting == "." ? file.Dir().Path().string() : location);
    if (setting == "notes.txt") testsupport::WriteBytes(location, std::string(4096, 'n'));
    if (setting == "held") Lock();
    std::unique_ptr<dao::Database> db;
    pv::Env unset{ui, blank};
    EXPECT_EQ(pv::OpenProcvaultDB(row.setting ? env : unset, db), row.said.empty());
    EXPECT_EQ(db != nullptr, row.said.empty());
    EXPECT_EQ(Said(), row.said);
    EXPECT_EQ(ui.Transcript().empty(), row.said.empty());
    EXPECT_EQ(ui.Beeps(), row.beep && !row.said.empty());
    EXPECT_TRUE(!ui.Beeps() || ui.Transcript().front() == "beep");
    EXPECT_EQ(db ? daotest::Count(*db, "Category") : 3, 3);
}

const std::string kNoLocation =
    "x:There is no location entered for the Procvault database file. Please enter the correct location from "
    "the Procvault tab on the Options screen|";
const std::string kNotFound =
    ":\r\nThis file was not found. Please enter the correct location from the Procvault tab on the Options "
    "screen|";

// clang-format off
INSTANTIATE_TEST_SUITE_P(Library, Opening, testing::Values(
    OpenRow{"Library.mdb", ""},
    OpenRow{nullptr, kNoLocation},
    OpenRow{"", kNoLocation},
    OpenRow{"Missing.mdb", "x:~/Missing.mdb" + kNotFound},
    OpenRow{".", "x:~" + kNotFound},
    OpenRow{"held", "!:@:\r\nThis file is currently opened by another user. Please close the database and try again.|"},
    OpenRow{"notes.txt", "x:OpenProcvaultDB(): Unrecognized database format '~/notes.txt'. 3343|", false}));
// clang-format on

TEST_F(BasConnect, GetProceduresLoadsEveryHeaderInKeyOrderOrOneEmptyElement) {
    Fill();
    EXPECT_TRUE(pv::GetProcedures(env));
    Entries loaded;
    for (const auto& record : pv::LibraryProcedures)
        loaded.emplace_back(record.Name, record.ProcedureHeaderID);
    EXPECT_EQ(loaded, (Entries{{"GetValue", 1}, {"TrimAll", 2}, {"OpenLog", 3}, {"Pad", 4}, {"", 5}}));
    EXPECT_EQ(pv::LibraryProcedures[0].Type, "Function");
    EXPECT_EQ(pv::LibraryProcedures[1].CategoryID, dao::Value(2));
    file.Open()->Execute("DELETE * FROM ProcedureLine");
    file.Open()->Execute("DELETE * FROM ProcedureHeader");
    EXPECT_TRUE(pv::GetProcedures(env));
    ASSERT_EQ(pv::LibraryProcedures.size(), 1u);
    EXPECT_EQ(pv::LibraryProcedures[0].Name, "");
    EXPECT_TRUE(pv::LibraryProcedures[0].CategoryID.IsNull());
    EXPECT_EQ(Pointers(), (Strings{"pointer:11", "pointer:0", "pointer:11", "pointer:0"}));
}

// Either failure keeps the array as it was and gives the default pointer back.
TEST_F(BasConnect, GetProceduresThatFailsKeepsTheArrayAndRestoresThePointer) {
    pv::LibraryProcedures.assign(2, pv::ProcedureRecord{7, "Kept", "Sub", dao::Value(1)});
    PointAt("");
    EXPECT_FALSE(pv::GetProcedures(env));
    EXPECT_EQ(Pointers(), (Strings{"pointer:11", "pointer:0"}));
    file.Open()->Execute("DROP TABLE ProcedureLine");
    file.Open()->Execute("DROP TABLE ProcedureHeader");
    PointAt(file.Path());
    EXPECT_FALSE(pv::GetProcedures(env));
    EXPECT_EQ(
        Said(),
        kNoLocation +
            "x:GetProcedures(): The Microsoft Jet database engine cannot find the input table "
            "or query 'ProcedureHeader'. Make sure it exists and that its name is spelled correctly. 3078|");
    ASSERT_EQ(pv::LibraryProcedures.size(), 2u);
    EXPECT_EQ(pv::LibraryProcedures[1].Name, "Kept");
    EXPECT_EQ(ui.GetMousePointer(), forms::vbDefault);
}

TEST_F(BasConnect, CategoriesComeSortedUnderAllWhichIsSelectedOrStayEmpty) {
    pv::RefreshCategoriesList(env, combo);
    EXPECT_EQ(Of(combo), (Entries{{"(All)", 0}, {"Files", 3}, {"Strings", 2}, {"Utilities", 1}}));
    EXPECT_EQ(combo.ListIndex(), 0);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(ui.GetMousePointer(), forms::vbDefault);
    PointAt(file.Path() + ".gone");
    pv::RefreshCategoriesList(env, combo);
    EXPECT_EQ(combo.ListCount(), 0);
    EXPECT_EQ(Said(), "x:@.gone" + kNotFound);
    PointAt(file.Path());
    daotest::AddRow(*file.Open()->OpenRecordset("Category", dao::dbOpenDynaset), "CategoryID", {});
    pv::RefreshCategoriesList(env, combo);
    EXPECT_EQ(Said(), "x:@.gone" + kNotFound + "x:RefreshCategoriesList(): Invalid use of Null 94|");
    EXPECT_EQ(ui.GetMousePointer(), forms::vbDefault);
}

struct FilterRow {
    const char* kind;
    int categoryEntry;  // in the combo: -1 none, 0 (All), 1 Files, 2 Strings, 3 Utilities
    Entries entries;
};

class Filters : public BasConnect, public testing::WithParamInterface<FilterRow> {};

TEST_P(Filters, ListExactlyTheMatchingNamedProcedures) {
    Fill();
    ASSERT_TRUE(pv::GetProcedures(env));
    pv::RefreshCategoriesList(env, combo);
    combo.SetListIndex(GetParam().categoryEntry);
    list.AddItem("Left over");
    pv::RefreshAvailableProceduresList(env, list, combo, GetParam().kind);
    EXPECT_EQ(Of(list), GetParam().entries);
    EXPECT_TRUE(ui.Messages().empty());
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(KindAndCategory, Filters, testing::Values(
    FilterRow{"All", 0, {{"Function GetValue", 1}, {"Function Pad", 4}, {"Sub OpenLog", 3}, {"Sub TrimAll", 2}}},
    FilterRow{"Functions", 0, {{"Function GetValue", 1}, {"Function Pad", 4}}},
    FilterRow{"Subs", 0, {{"Sub OpenLog", 3}, {"Sub TrimAll", 2}}},
    FilterRow{"All", 3, {{"Function GetValue", 1}, {"Sub OpenLog", 3}}},
    FilterRow{"Functions", 2, {{"Function Pad", 4}}},
    FilterRow{"Subs", 2, {{"Sub TrimAll", 2}}},
    FilterRow{"All", 1, {}},
    FilterRow{"All", -1, {}}));
// clang-format on

TEST(Paths, SplitAtTheLastSeparator) {
    // clang-format off
    const std::vector<std::array<const char*, 3>> rows{
        {"C:\\VB\\Lib\\Library.mdb", "Library.mdb", "C:\\VB\\Lib\\"}, {"/home/ann/lib/Library.mdb", "Library.mdb", "/home/ann/lib/"},
        {"/home/ann\\my.lib.mdb", "my.lib.mdb", "/home/ann\\"}, {"Library.mdb", "Library.mdb", ""}, {"", "", ""},
        {"C:\\VB\\", "", "C:\\VB\\"}, {"/Library.mdb", "Library.mdb", "/"}};
    // clang-format on
    for (const auto& [path, name, folder] : rows) {
        EXPECT_EQ(pv::ExtractFileName(path), name) << path;
        EXPECT_EQ(pv::ExtractFilePath(path), folder) << path;
    }
}

}  // namespace
