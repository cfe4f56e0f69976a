// The shared library routines against real library files.
#include "library/basConnect.h"

#include <gtest/gtest.h>

#include <array>

#include "LibraryDialogFixture.h"

namespace {

using librarytest::kInUse;
using librarytest::kNotFound;

class BasConnect : public librarytest::LibraryDialogTest {
protected:
    void SetUp() override {  // the sample plus 4 Pad (Function, Strings) and 5 with no name
        LibraryDialogTest::SetUp();
        daotest::AddProcedure(*file.Open(), {"Pad", "Function", 2, {}});
        daotest::AddProcedure(*file.Open(), {"", "Sub", 1, {}});
        combo.SetSorted(true);
        list.SetSorted(true);
        combo.Click.Connect([this] { ++clicks; });
    }
    // Each entry as "text=item data|".
    static std::string Of(const forms::ListControl& control) {
        std::string out;
        for (int i = 0; i < control.ListCount(); ++i)
            out += control.List(i) + "=" + std::to_string(control.ItemData(i)) + "|";
        return out;
    }
    static std::string Loaded() {
        std::string out;
        for (const auto& r : pv::LibraryProcedures)
            out += std::to_string(r.ProcedureHeaderID) + " " + r.Type + " " + r.Name + " " +
                   (r.CategoryID.IsNull() ? "<Null>" : r.CategoryID.ToText()) + "|";
        return out;
    }
    vbrt::MemorySettingsStore blank;  // never written
    forms::Form form{"frmTest"};
    forms::ComboBox& combo = form.Add<forms::ComboBox>("cboCategory");
    forms::ListBox& list = form.Add<forms::ListBox>("lst");
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
    if (setting == "held" || setting == "Library.mdb") PV_FILE_LIBRARY_ONLY();
    const bool uri = setting.rfind("postgresql:", 0) == 0;
    const std::string location = setting == "held" ? file.Path()
                                 : uri             ? setting
                                                   : (file.Dir() / setting).string();
    PointAt(setting.empty() ? "" : setting == "." ? file.Dir().Path().string() : location);
    if (setting == "notes.txt") testsupport::WriteBytes(location, std::string(4096, 'n'));
    if (setting == "held") Lock();
    std::unique_ptr<dao::Database> db;
    pv::Env unset{ui, blank};
    EXPECT_EQ(pv::OpenProcvaultDB(row.setting ? env : unset, db), row.said.empty());
    EXPECT_EQ(db ? daotest::Count(*db, "Category") : -1, row.said.empty() ? 3 : -1);
    EXPECT_EQ(Said(), row.said);
    EXPECT_EQ(ui.Beeps(), row.beep && !row.said.empty());
}

const std::string kNoLocation =
    "x:There is no location entered for the Procvault database file. Please enter the correct location from "
    "the Procvault tab on the Options screen|";

// clang-format off
INSTANTIATE_TEST_SUITE_P(Library, Opening, testing::Values(
    OpenRow{"Library.mdb", ""},
    OpenRow{nullptr, kNoLocation},
    OpenRow{"", kNoLocation},
    OpenRow{"Missing.mdb", "x:~/Missing.mdb" + kNotFound},
    // No server answers there: the same message, the password masked.
    OpenRow{"postgresql://pv:secret@/nosuch?host=/nonexistent", "x:postgresql://pv:****@/nosuch?host=/nonexistent" + kNotFound},
    OpenRow{".", "x:~" + kNotFound},
    OpenRow{"held", kInUse},
    OpenRow{"notes.txt", "x:OpenProcvaultDB(): Unrecognized database format '~/notes.txt'. 3343|", false}));
// clang-format on

TEST_F(BasConnect, GetProceduresLoadsEveryHeaderInKeyOrderOrOneEmptyElement) {
    EXPECT_TRUE(pv::GetProcedures(env));
    EXPECT_EQ(Loaded(), "1 Function GetValue 1|2 Sub TrimAll 2|3 Sub OpenLog 1|4 Function Pad 2|5 Sub  1|");
    file.Open()->Execute("DELETE * FROM ProcedureLine");
    file.Open()->Execute("DELETE * FROM ProcedureHeader");
    EXPECT_TRUE(pv::GetProcedures(env));
    EXPECT_EQ(Loaded(), "0   <Null>|");
    EXPECT_EQ(ui.GetMousePointer(), forms::vbDefault);
}

TEST_F(BasConnect, GetProceduresThatFailsKeepsTheArrayAndRestoresThePointer) {
    pv::LibraryProcedures.assign(2, pv::ProcedureRecord{7, "Kept", "Sub", dao::Value(1)});
    PointAt("");
    EXPECT_FALSE(pv::GetProcedures(env));
    file.Open()->Execute("DROP TABLE ProcedureLine");
    file.Open()->Execute("DROP TABLE ProcedureHeader");
    PointAt(file.Path());
    EXPECT_FALSE(pv::GetProcedures(env));
    EXPECT_EQ(Said(), kNoLocation +
                          "x:GetProcedures(): The Microsoft Jet database engine cannot find the input table "
                          "or query 'ProcedureHeader'. Make sure it exists and that its name is spelled "
                          "correctly. 3078|");
    EXPECT_EQ(Loaded(), "7 Sub Kept 1|7 Sub Kept 1|");
    EXPECT_EQ(ui.GetMousePointer(), forms::vbDefault);
}

TEST_F(BasConnect, CategoriesComeSortedUnderAllWhichIsSelectedOrStayEmpty) {
    pv::RefreshCategoriesList(env, combo);
    EXPECT_EQ(Of(combo) + std::to_string(combo.ListIndex()) + std::to_string(clicks),
              "(All)=0|Files=3|Strings=2|Utilities=1|01");
    PointAt(file.Path() + ".gone");
    pv::RefreshCategoriesList(env, combo);
    EXPECT_EQ(combo.ListCount(), 0);
    PointAt(file.Path());
    daotest::AddRow(*file.Open()->OpenRecordset("Category", dao::dbOpenDynaset), "CategoryID", {});
    pv::RefreshCategoriesList(env, combo);
    EXPECT_EQ(Said(), "x:@.gone" + kNotFound + "x:RefreshCategoriesList(): Invalid use of Null 94|");
    EXPECT_EQ(ui.GetMousePointer(), forms::vbDefault);
}

struct FilterRow {
    const char* kind;
    int categoryEntry;  // in the combo: -1 none, 0 (All), 1 Files, 2 Strings, 3 Utilities
    const char* entries;
};

class Filters : public BasConnect, public testing::WithParamInterface<FilterRow> {};

TEST_P(Filters, ListExactlyTheMatchingNamedProcedures) {
    ASSERT_TRUE(pv::GetProcedures(env));
    pv::RefreshCategoriesList(env, combo);
    combo.SetListIndex(GetParam().categoryEntry);
    list.AddItem("Left over");
    pv::RefreshAvailableProceduresList(env, list, combo, GetParam().kind);
    EXPECT_EQ(Of(list) + Said(), GetParam().entries);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(KindAndCategory, Filters, testing::Values(
    FilterRow{"All", 0, "Function GetValue=1|Function Pad=4|Sub OpenLog=3|Sub TrimAll=2|"},
    FilterRow{"Functions", 0, "Function GetValue=1|Function Pad=4|"},
    FilterRow{"All", 3, "Function GetValue=1|Sub OpenLog=3|"},
    FilterRow{"Subs", 2, "Sub TrimAll=2|"},
    FilterRow{"All", 1, ""},
    FilterRow{"All", -1, ""}));
// clang-format on

TEST(Paths, SplitAtTheLastSeparator) {
    // clang-format off
    const std::vector<std::array<const char*, 3>> rows{
        {"C:\\VB\\Lib\\Library.mdb", "Library.mdb", "C:\\VB\\Lib\\"}, {"/home/ann\\my.lib.mdb", "my.lib.mdb", "/home/ann\\"},
        {"Library.mdb", "Library.mdb", ""}, {"", "", ""}, {"C:\\VB\\", "", "C:\\VB\\"}, {"/Library.mdb", "Library.mdb", "/"}};
    // clang-format on
    for (const auto& [path, name, folder] : rows)
        EXPECT_EQ(pv::ExtractFileName(path) + " in " + pv::ExtractFilePath(path),
                  name + std::string(" in ") + folder);
}

}  // namespace
