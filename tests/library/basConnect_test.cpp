// The shared library routines against real library files, with a scripted
// user and an in-memory settings store.
#include "library/basConnect.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "dao/LibraryFixture.h"
#include "forms/Form.h"
#include "forms/ScriptedUi.h"
#include "settings/Options.h"
#include "vbrt/SettingsStore.h"

namespace fs = std::filesystem;

namespace {

using Strings = std::vector<std::string>;

constexpr const char* kNotFound =
    ":\r\nThis file was not found. Please enter the correct location from the Procvault tab on the Options "
    "screen";

class BasConnect : public testing::Test {
protected:
    void SetUp() override { pv::ResetLibraryProcedures(); }
    void TearDown() override { pv::ResetLibraryProcedures(); }
    void PointAt(const std::string& location) {
        pv::WriteOption(store, pv::key::ProcvaultLocation, location);
    }
    // Three categories and five procedures, one with an empty name.
    void Fill() {
        auto db = file.Open();
        daotest::AddCategory(*db, "Utilities");  // 1
        daotest::AddCategory(*db, "Strings");    // 2
        daotest::AddCategory(*db, "Files");      // 3
        daotest::AddProcedure(*db, {"GetValue", "Function", 1, {"Function GetValue()", "End Function"}});
        daotest::AddProcedure(*db, {"TrimAll", "Sub", 2, {"Sub TrimAll()", "End Sub"}});
        daotest::AddProcedure(*db, {"ApplyAll", "Sub", 1, {"Sub ApplyAll()", "End Sub"}});
        daotest::AddProcedure(*db, {"Pad", "Function", 2, {}});
        daotest::AddProcedure(*db, {"", "Sub", 1, {}});
    }
    Strings Pointers() const {
        Strings out;
        for (const std::string& entry : ui.Transcript())
            if (entry.rfind("pointer:", 0) == 0) out.push_back(entry);
        return out;
    }

    daotest::LibraryFile file;
    forms::ScriptedUi ui;
    vbrt::MemorySettingsStore store;
    pv::Env env{ui, store};
};

struct RefusalRow {
    const char* name;
    // The location to store (nullptr: none), given the library's folder.
    std::string (*location)(const fs::path& folder);
    // The expected prompt, given the location.
    std::string (*prompt)(const std::string& location);
    int icon;
};

class OpenRefusals : public BasConnect, public testing::WithParamInterface<RefusalRow> {};

TEST_P(OpenRefusals, BeepThenTellTheUserAndReturnFalse) {
    const std::string location = GetParam().location(file.Dir().Path());
    if (location != "<none>") PointAt(location);
    std::unique_ptr<dao::Database> db;
    EXPECT_FALSE(pv::OpenProcvaultDB(env, db));
    EXPECT_EQ(db, nullptr);
    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_EQ(ui.Messages()[0].prompt, GetParam().prompt(location));
    EXPECT_EQ(ui.Messages()[0].buttons, forms::vbOKOnly | GetParam().icon);
    EXPECT_EQ(ui.Messages()[0].title, "Procvault");
    EXPECT_EQ(ui.Transcript().front(), "beep");
}

std::string NoLocationPrompt(const std::string&) {
    return "There is no location entered for the Procvault database file. Please enter the correct location "
           "from "
           "the Procvault tab on the Options screen";
}

INSTANTIATE_TEST_SUITE_P(
    Library, OpenRefusals,
    testing::Values(RefusalRow{"NoSetting", [](const fs::path&) { return std::string("<none>"); },
                               NoLocationPrompt, forms::vbCritical},
                    RefusalRow{"EmptySetting", [](const fs::path&) { return std::string(); },
                               NoLocationPrompt, forms::vbCritical},
                    RefusalRow{"MissingFile", [](const fs::path& d) { return (d / "Missing.mdb").string(); },
                               [](const std::string& l) { return l + kNotFound; }, forms::vbCritical},
                    RefusalRow{"Folder", [](const fs::path& d) { return d.string(); },
                               [](const std::string& l) { return l + kNotFound; }, forms::vbCritical}),
    [](const auto& info) { return info.param.name; });

TEST_F(BasConnect, FileHeldExclusivelyIsReportedAsInUse) {
    PointAt(file.Path());
    auto holder = dao::DBEngine(daotest::kTestBusyTimeoutMs).OpenDatabase(file.Path(), true);
    std::unique_ptr<dao::Database> db;
    EXPECT_FALSE(pv::OpenProcvaultDB(env, db));
    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_EQ(
        ui.Messages()[0].prompt,
        file.Path() +
            ":\r\nThis file is currently opened by another user. Please close the database and try again.");
    EXPECT_EQ(ui.Messages()[0].buttons, forms::vbOKOnly | forms::vbExclamation);
    EXPECT_EQ(ui.Messages()[0].title, "Procvault");
    EXPECT_EQ(ui.Beeps(), 1);
}

TEST_F(BasConnect, AFileThatIsNoDatabaseGetsTheStandardReport) {
    const std::string other = (file.Dir() / "notes.txt").string();
    testsupport::WriteBytes(other, std::string(4096, 'n'));
    PointAt(other);
    std::unique_ptr<dao::Database> db;
    EXPECT_FALSE(pv::OpenProcvaultDB(env, db));
    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_EQ(ui.Messages()[0].prompt, "Unrecognized database format '" + other + "'. 3343");
    EXPECT_EQ(ui.Messages()[0].buttons, forms::vbOKOnly | forms::vbCritical);
    EXPECT_EQ(ui.Messages()[0].title, "OpenProcvaultDB()");
    EXPECT_EQ(ui.Beeps(), 0);
}

TEST_F(BasConnect, OpensTheConfiguredLibrarySilently) {
    PointAt(file.Path());
    std::unique_ptr<dao::Database> db;
    ASSERT_TRUE(pv::OpenProcvaultDB(env, db));
    ASSERT_NE(db, nullptr);
    EXPECT_EQ(daotest::Count(*db, "Category"), 0);
    EXPECT_TRUE(ui.Transcript().empty());
}

TEST_F(BasConnect, GetProceduresOnAnEmptyLibraryLeavesOneEmptyElement) {
    PointAt(file.Path());
    pv::LibraryProcedures.assign(3, pv::ProcedureRecord{7, "Stale", "Sub", dao::Value(1)});
    EXPECT_TRUE(pv::GetProcedures(env));
    ASSERT_EQ(pv::LibraryProcedures.size(), 1u);
    EXPECT_EQ(pv::LibraryProcedures[0].Name, "");
    EXPECT_EQ(Pointers(), (Strings{"pointer:11", "pointer:0"}));
}

TEST_F(BasConnect, GetProceduresLoadsEveryHeaderInKeyOrder) {
    Fill();
    PointAt(file.Path());
    EXPECT_TRUE(pv::GetProcedures(env));
    ASSERT_EQ(pv::LibraryProcedures.size(), 5u);
    const pv::ProcedureRecord& first = pv::LibraryProcedures[0];
    EXPECT_EQ(first.ProcedureHeaderID, 1);
    EXPECT_EQ(first.Name, "GetValue");
    EXPECT_EQ(first.Type, "Function");
    EXPECT_EQ(first.CategoryID, dao::Value(1));
    Strings names;
    for (const auto& record : pv::LibraryProcedures) names.push_back(record.Name);
    EXPECT_EQ(names, (Strings{"GetValue", "TrimAll", "ApplyAll", "Pad", ""}));
    EXPECT_EQ(pv::LibraryProcedures[4].ProcedureHeaderID, 5);
}

TEST_F(BasConnect, GetProceduresThatCannotOpenKeepsTheArrayAndRestoresThePointer) {
    pv::LibraryProcedures.assign(2, pv::ProcedureRecord{7, "Kept", "Sub", dao::Value(1)});
    EXPECT_FALSE(pv::GetProcedures(env));
    EXPECT_EQ(pv::LibraryProcedures.size(), 2u);
    EXPECT_EQ(pv::LibraryProcedures[1].Name, "Kept");
    EXPECT_EQ(Pointers(), (Strings{"pointer:11", "pointer:0"}));
    EXPECT_EQ(ui.GetMousePointer(), forms::vbDefault);
}

TEST_F(BasConnect, GetProceduresReportsAnEngineFailureUnderItsNameAndRestoresThePointer) {
    {
        auto db = file.Open();
        db->Execute("DROP TABLE ProcedureHeader");
    }
    PointAt(file.Path());
    pv::LibraryProcedures.assign(2, pv::ProcedureRecord{7, "Kept", "Sub", dao::Value(1)});
    EXPECT_FALSE(pv::GetProcedures(env));
    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_EQ(ui.Messages()[0].title, "GetProcedures()");
    EXPECT_NE(ui.Messages()[0].prompt.find("'ProcedureHeader'"), std::string::npos);
    EXPECT_EQ(ui.Messages()[0].prompt.substr(ui.Messages()[0].prompt.size() - 5), " 3078");
    EXPECT_EQ(pv::LibraryProcedures.size(), 2u);
    EXPECT_EQ(ui.GetMousePointer(), forms::vbDefault);
}

class Lists : public BasConnect {
protected:
    Lists()
        : form("frmTest"),
          combo(form.Add<forms::ComboBox>("cboCategory")),
          list(form.Add<forms::ListBox>("lst")) {
        combo.SetSorted(true);
        list.SetSorted(true);
        combo.Click.Connect([this] { ++clicks; });
    }
    std::vector<std::pair<std::string, long>> Entries(const forms::ListControl& control) const {
        std::vector<std::pair<std::string, long>> out;
        for (int i = 0; i < control.ListCount(); ++i) out.emplace_back(control.List(i), control.ItemData(i));
        return out;
    }
    forms::Form form;
    forms::ComboBox& combo;
    forms::ListBox& list;
    int clicks = 0;
};

TEST_F(Lists, CategoriesComeSortedUnderAllWhichIsSelected) {
    Fill();
    PointAt(file.Path());
    pv::RefreshCategoriesList(env, combo);
    EXPECT_EQ(Entries(combo), (std::vector<std::pair<std::string, long>>{
                                  {"(All)", 0}, {"Files", 3}, {"Strings", 2}, {"Utilities", 1}}));
    EXPECT_EQ(combo.ListIndex(), 0);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(ui.GetMousePointer(), forms::vbDefault);
}

TEST_F(Lists, CategoriesStayEmptyWhenTheLibraryCannotBeOpened) {
    combo.AddItem("Old");
    pv::RefreshCategoriesList(env, combo);
    EXPECT_EQ(combo.ListCount(), 0);
    EXPECT_EQ(ui.Messages().size(), 1u);
    EXPECT_EQ(ui.GetMousePointer(), forms::vbDefault);
}

TEST_F(Lists, ANullDescriptionIsReportedAndThePointerRestored) {
    {
        auto db = file.Open();
        daotest::AddCategory(*db, "Utilities");
        auto rs = db->OpenRecordset("Category", dao::dbOpenDynaset);
        rs->AddNew();
        rs->Update();
    }
    PointAt(file.Path());
    pv::RefreshCategoriesList(env, combo);
    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_EQ(ui.Messages()[0].title, "RefreshCategoriesList()");
    EXPECT_EQ(ui.Messages()[0].prompt, "Invalid use of Null 94");
    EXPECT_EQ(ui.GetMousePointer(), forms::vbDefault);
}

struct FilterRow {
    const char* name;
    const char* kind;
    int categoryEntry;  // index in the combo: 0 (All), 1 Files, 2 Strings, 3 Utilities
    std::vector<std::pair<std::string, long>> entries;
};

class Filters : public Lists, public testing::WithParamInterface<FilterRow> {};

TEST_P(Filters, ListExactlyTheMatchingNamedProcedures) {
    Fill();
    PointAt(file.Path());
    ASSERT_TRUE(pv::GetProcedures(env));
    pv::RefreshCategoriesList(env, combo);
    combo.SetListIndex(GetParam().categoryEntry);
    list.AddItem("Left over");
    pv::RefreshAvailableProceduresList(env, list, combo, GetParam().kind);
    EXPECT_EQ(Entries(list), GetParam().entries);
}

INSTANTIATE_TEST_SUITE_P(
    KindAndCategory, Filters,
    testing::Values(
        FilterRow{"AllAll",
                  "All",
                  0,
                  {{"Function GetValue", 1}, {"Function Pad", 4}, {"Sub ApplyAll", 3}, {"Sub TrimAll", 2}}},
        FilterRow{"FunctionsAll", "Functions", 0, {{"Function GetValue", 1}, {"Function Pad", 4}}},
        FilterRow{"SubsAll", "Subs", 0, {{"Sub ApplyAll", 3}, {"Sub TrimAll", 2}}},
        FilterRow{"AllUtilities", "All", 3, {{"Function GetValue", 1}, {"Sub ApplyAll", 3}}},
        FilterRow{"FunctionsStrings", "Functions", 2, {{"Function Pad", 4}}},
        FilterRow{"SubsStrings", "Subs", 2, {{"Sub TrimAll", 2}}},
        FilterRow{"AllFilesHasNone", "All", 1, {}}),
    [](const auto& info) { return info.param.name; });

TEST_F(Lists, AComboWithoutSelectionEmptiesTheList) {
    Fill();
    PointAt(file.Path());
    ASSERT_TRUE(pv::GetProcedures(env));
    pv::RefreshCategoriesList(env, combo);
    combo.SetListIndex(-1);
    list.AddItem("Left over");
    pv::RefreshAvailableProceduresList(env, list, combo, "All");
    EXPECT_EQ(list.ListCount(), 0);
    EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(Lists, AnEmptyLibraryGivesEmptyListsForEveryFilter) {
    PointAt(file.Path());
    ASSERT_TRUE(pv::GetProcedures(env));
    pv::RefreshCategoriesList(env, combo);
    for (const char* kind : {"All", "Functions", "Subs"}) {
        pv::RefreshAvailableProceduresList(env, list, combo, kind);
        EXPECT_EQ(list.ListCount(), 0) << kind;
    }
}

TEST_F(Lists, SelectControlSelectsTheWholeTextOfAShownControl) {
    auto& text = form.Add<forms::TextBox>("txtName");
    text.SetText("Utilities");
    ui.OnShow("frmTest", [&](forms::Form&) {
        pv::SelectControl(env, text);
        EXPECT_TRUE(text.HasFocus());
        EXPECT_EQ(text.SelStart(), 0);
        EXPECT_EQ(text.SelLength(), 9);
    });
    form.ShowModal(ui);
    EXPECT_NE(std::find(ui.Transcript().begin(), ui.Transcript().end(), "keys:{Home}+{End}"),
              ui.Transcript().end());
}

TEST_F(Lists, SelectControlOnAControlThatCannotTakeTheFocusEndsSilently) {
    auto& text = form.Add<forms::TextBox>("txtName");
    pv::SelectControl(env, text);  // the form is not shown: error 5
    EXPECT_TRUE(ui.Transcript().empty());
}

struct PathRow {
    const char* name;
    const char* path;
    const char* file;
    const char* folder;
};

class Paths : public testing::TestWithParam<PathRow> {};

TEST_P(Paths, SplitAtTheLastSeparator) {
    EXPECT_EQ(pv::ExtractFileName(GetParam().path), GetParam().file);
    EXPECT_EQ(pv::ExtractFilePath(GetParam().path), GetParam().folder);
}

INSTANTIATE_TEST_SUITE_P(
    Library, Paths,
    testing::Values(PathRow{"WindowsPath", "C:\\VB\\Lib\\Library.mdb", "Library.mdb", "C:\\VB\\Lib\\"},
                    PathRow{"PosixPath", "/home/ann/lib/Library.mdb", "Library.mdb", "/home/ann/lib/"},
                    PathRow{"Mixed", "/home/ann\\my.lib.mdb", "my.lib.mdb", "/home/ann\\"},
                    PathRow{"BareName", "Library.mdb", "Library.mdb", ""}, PathRow{"Empty", "", "", ""},
                    PathRow{"TrailingSeparator", "C:\\VB\\", "", "C:\\VB\\"},
                    PathRow{"Root", "/Library.mdb", "Library.mdb", "/"}),
    [](const auto& info) { return info.param.name; });

TEST(LibraryProcedures, StartsAndResetsAsOneEmptyElement) {
    pv::LibraryProcedures.assign(4, pv::ProcedureRecord{1, "X", "Sub", dao::Value(1)});
    pv::ResetLibraryProcedures();
    ASSERT_EQ(pv::LibraryProcedures.size(), 1u);
    EXPECT_TRUE(pv::LibraryProcedures[0].Name.empty());
    EXPECT_TRUE(pv::LibraryProcedures[0].CategoryID.IsNull());
}

}  // namespace
