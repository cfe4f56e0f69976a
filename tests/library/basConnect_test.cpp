// The shared library routines against real library files, with a scripted
// user and an in-memory settings store.
#include "library/basConnect.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "dao/LibraryFixture.h"
#include "forms/Form.h"
#include "forms/ScriptedUi.h"
#include "settings/Options.h"
#include "vbrt/SettingsStore.h"

namespace {

using Strings = std::vector<std::string>;
using Entries = std::vector<std::pair<std::string, long>>;

class BasConnect : public testing::Test {
protected:
    void SetUp() override { pv::ResetLibraryProcedures(); }
    void TearDown() override { pv::ResetLibraryProcedures(); }
    void PointAt(const std::string& location) {
        pv::WriteOption(store, pv::key::ProcvaultLocation, location);
    }
    // The sample library plus 4 Pad (Function, Strings) and 5 with no name.
    void Fill() {
        auto db = file.Open();
        daotest::FillSample(*db);
        daotest::AddProcedure(*db, {"Pad", "Function", 2, {}});
        daotest::AddProcedure(*db, {"", "Sub", 1, {}});
        PointAt(file.Path());
    }
    Strings Pointers() const {
        Strings out;
        for (const std::string& entry : ui.Transcript())
            if (entry.rfind("pointer:", 0) == 0) out.push_back(entry);
        return out;
    }
    // The last message shown is the count-th, with this title and these buttons.
    void ExpectMessage(std::size_t count, const std::string& title, int buttons) {
        ASSERT_EQ(ui.Messages().size(), count);
        EXPECT_EQ(ui.Messages().back().title, title);
        EXPECT_EQ(ui.Messages().back().buttons, buttons);
    }

    daotest::LibraryFile file;
    forms::ScriptedUi ui;
    vbrt::MemorySettingsStore store;
    pv::Env env{ui, store};
};

constexpr const char* kNoLocation =
    "There is no location entered for the Procvault database file. Please enter the correct location from "
    "the "
    "Procvault tab on the Options screen";
constexpr const char* kNotFound =
    "@:\r\nThis file was not found. Please enter the correct location from the Procvault tab on the Options "
    "screen";

struct RefusalRow {
    const char* name;
    const char* setting;  // nullptr: none; "": empty; ".": the folder; else a file in it
    const char* prompt;   // '@' stands for the location
    int icon;
    const char* title;
    bool beep;
};

class OpenRefusals : public BasConnect, public testing::WithParamInterface<RefusalRow> {};

TEST_P(OpenRefusals, TellTheUserAndReturnFalse) {
    const RefusalRow& row = GetParam();
    const std::string setting = row.setting ? row.setting : "";
    const std::string location = setting.empty() ? setting : (file.Dir() / setting).string();
    if (row.setting) PointAt(setting == "." ? file.Dir().Path().string() : location);
    if (setting == "notes.txt") testsupport::WriteBytes(location, std::string(4096, 'n'));
    std::unique_ptr<dao::Database> holder;
    if (setting == "Library.mdb")
        holder = dao::DBEngine(daotest::kTestBusyTimeoutMs).OpenDatabase(location, true);

    std::unique_ptr<dao::Database> db;
    EXPECT_FALSE(pv::OpenProcvaultDB(env, db));
    EXPECT_EQ(db, nullptr);
    ExpectMessage(1, row.title, forms::vbOKOnly | row.icon);
    std::string prompt = row.prompt;
    if (const auto at = prompt.find('@'); at != std::string::npos)
        prompt.replace(at, 1, setting == "." ? file.Dir().Path().string() : location);
    EXPECT_EQ(ui.Messages()[0].prompt, prompt);
    EXPECT_EQ(ui.Beeps(), row.beep ? 1 : 0);
    if (row.beep) {
        EXPECT_EQ(ui.Transcript().front(), "beep");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Library, OpenRefusals,
    testing::Values(
        RefusalRow{"NoSetting", nullptr, kNoLocation, forms::vbCritical, "Procvault", true},
        RefusalRow{"EmptySetting", "", kNoLocation, forms::vbCritical, "Procvault", true},
        RefusalRow{"MissingFile", "Missing.mdb", kNotFound, forms::vbCritical, "Procvault", true},
        RefusalRow{"Folder", ".", kNotFound, forms::vbCritical, "Procvault", true},
        RefusalRow{
            "HeldExclusively", "Library.mdb",
            "@:\r\nThis file is currently opened by another user. Please close the database and try again.",
            forms::vbExclamation, "Procvault", true},
        RefusalRow{"NotADatabase", "notes.txt", "Unrecognized database format '@'. 3343", forms::vbCritical,
                   "OpenProcvaultDB()", false}),
    [](const auto& info) { return info.param.name; });

TEST_F(BasConnect, OpensTheConfiguredLibrarySilently) {
    PointAt(file.Path());
    std::unique_ptr<dao::Database> db;
    ASSERT_TRUE(pv::OpenProcvaultDB(env, db));
    EXPECT_EQ(daotest::Count(*db, "Category"), 0);
    EXPECT_TRUE(ui.Transcript().empty());
}

TEST_F(BasConnect, GetProceduresOnAnEmptyLibraryLeavesOneEmptyElement) {
    PointAt(file.Path());
    pv::LibraryProcedures.assign(3, pv::ProcedureRecord{7, "Stale", "Sub", dao::Value(1)});
    EXPECT_TRUE(pv::GetProcedures(env));
    ASSERT_EQ(pv::LibraryProcedures.size(), 1u);
    EXPECT_EQ(pv::LibraryProcedures[0].Name, "");
    EXPECT_TRUE(pv::LibraryProcedures[0].CategoryID.IsNull());
    EXPECT_EQ(Pointers(), (Strings{"pointer:11", "pointer:0"}));
}

TEST_F(BasConnect, GetProceduresLoadsEveryHeaderInKeyOrder) {
    Fill();
    EXPECT_TRUE(pv::GetProcedures(env));
    Entries loaded;
    for (const auto& record : pv::LibraryProcedures)
        loaded.emplace_back(record.Name, record.ProcedureHeaderID);
    EXPECT_EQ(loaded, (Entries{{"GetValue", 1}, {"TrimAll", 2}, {"OpenLog", 3}, {"Pad", 4}, {"", 5}}));
    EXPECT_EQ(pv::LibraryProcedures[0].Type, "Function");
    EXPECT_EQ(pv::LibraryProcedures[1].CategoryID, dao::Value(2));
}

// Either failure keeps the array as it was and gives the default pointer back.
TEST_F(BasConnect, GetProceduresThatFailsKeepsTheArrayAndRestoresThePointer) {
    pv::LibraryProcedures.assign(2, pv::ProcedureRecord{7, "Kept", "Sub", dao::Value(1)});
    EXPECT_FALSE(pv::GetProcedures(env));  // no location
    EXPECT_EQ(Pointers(), (Strings{"pointer:11", "pointer:0"}));
    file.Open()->Execute("DROP TABLE ProcedureHeader");
    PointAt(file.Path());
    EXPECT_FALSE(pv::GetProcedures(env));
    ExpectMessage(2, "GetProcedures()", forms::vbOKOnly | forms::vbCritical);
    const std::string& prompt = ui.Messages().back().prompt;
    EXPECT_NE(prompt.find("'ProcedureHeader'"), std::string::npos);
    EXPECT_EQ(prompt.substr(prompt.size() - 5), " 3078");
    ASSERT_EQ(pv::LibraryProcedures.size(), 2u);
    EXPECT_EQ(pv::LibraryProcedures[1].Name, "Kept");
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
    static Entries Of(const forms::ListControl& control) {
        Entries out;
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
    pv::RefreshCategoriesList(env, combo);
    EXPECT_EQ(Of(combo), (Entries{{"(All)", 0}, {"Files", 3}, {"Strings", 2}, {"Utilities", 1}}));
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
    ExpectMessage(1, "RefreshCategoriesList()", forms::vbOKOnly | forms::vbCritical);
    EXPECT_EQ(ui.Messages()[0].prompt, "Invalid use of Null 94");
    EXPECT_EQ(ui.GetMousePointer(), forms::vbDefault);
}

struct FilterRow {
    const char* name;
    const char* kind;
    int categoryEntry;  // in the combo: -1 none, 0 (All), 1 Files, 2 Strings, 3 Utilities
    Entries entries;
};

class Filters : public Lists, public testing::WithParamInterface<FilterRow> {};

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

INSTANTIATE_TEST_SUITE_P(
    KindAndCategory, Filters,
    testing::Values(
        FilterRow{"AllAll",
                  "All",
                  0,
                  {{"Function GetValue", 1}, {"Function Pad", 4}, {"Sub OpenLog", 3}, {"Sub TrimAll", 2}}},
        FilterRow{"FunctionsAll", "Functions", 0, {{"Function GetValue", 1}, {"Function Pad", 4}}},
        FilterRow{"SubsAll", "Subs", 0, {{"Sub OpenLog", 3}, {"Sub TrimAll", 2}}},
        FilterRow{"AllUtilities", "All", 3, {{"Function GetValue", 1}, {"Sub OpenLog", 3}}},
        FilterRow{"FunctionsStrings", "Functions", 2, {{"Function Pad", 4}}},
        FilterRow{"SubsStrings", "Subs", 2, {{"Sub TrimAll", 2}}}, FilterRow{"AllFilesHasNone", "All", 1, {}},
        FilterRow{"NoCategorySelected", "All", -1, {}}),
    [](const auto& info) { return info.param.name; });

TEST_F(Lists, SelectControlSelectsTheWholeTextOfAShownControlAndIgnoresOthers) {
    auto& text = form.Add<forms::TextBox>("txtName");
    pv::SelectControl(env, text);  // the form is not shown: error 5, ended silently
    EXPECT_TRUE(ui.Transcript().empty());
    text.SetText("Utilities");
    ui.OnShow("frmTest", [&](forms::Form&) {
        pv::SelectControl(env, text);
        EXPECT_TRUE(text.HasFocus());
        EXPECT_EQ(text.SelStart(), 0);
        EXPECT_EQ(text.SelLength(), 9);
    });
    form.ShowModal(ui);
    const Strings& transcript = ui.Transcript();
    EXPECT_NE(std::find(transcript.begin(), transcript.end(), "keys:{Home}+{End}"), transcript.end());
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

}  // namespace
