// The Options dialog against real library files, a scripted user and an
// in-memory settings store.
#include "options/frmOptions.h"

#include <gtest/gtest.h>

#include <map>

#include "dao/LibraryFixture.h"
#include "forms/ScriptedUi.h"
#include "settings/Options.h"

namespace {

using Stored = std::map<std::string, std::string>;

// The scripted user, also keeping the last file-dialog request.
struct FileUi : forms::ScriptedUi {
    std::string ShowOpenFileDialog(const forms::OpenFileRequest& r) override {
        request = r;
        return ScriptedUi::ShowOpenFileDialog(r);
    }
    forms::OpenFileRequest request;
};

class OptionsTest : public testing::Test {
protected:
    // Shows the dialog; `play` is the user. `closed` tells whether it closed itself.
    void Open(const std::function<void(pv::frmOptions&)>& play) {
        ui.OnShow("frmOptions", [&](forms::Form& f) {
            play(static_cast<pv::frmOptions&>(f));
            closed = !f.IsShown();
        });
        pv::frmOptions dialog(env);
        ui.ShowModal(dialog);
    }
    Stored Keys() const {
        Stored out;
        for (const auto& [key, value] : store.Values()) out[std::get<2>(key)] = value;
        return out;
    }
    std::string Prompt(std::size_t i = 0) const { return ui.Messages().at(i).prompt; }

    daotest::LibraryFile file;
    FileUi ui;
    vbrt::MemorySettingsStore store;
    pv::Env env{ui, store};
    bool closed = false;
};

TEST_F(OptionsTest, OpeningWritesTheDefaultsCancelKeepsThemOkWritesTheThreeKeys) {
    std::string shown;
    Open([&](pv::frmOptions& d) {
        shown = d.txtCommentPrefix.Text() + "|" + (d.optAlignLeft.Value() ? "left" : "");
        d.cmdCancel.Press();
    });
    EXPECT_EQ(shown, "' |left");
    EXPECT_EQ(Keys(), (Stored{{"CommentPrefix", "' "}, {"IndentLevel", "0"}}));
    Open([&](pv::frmOptions& d) {
        d.optAlignIndent.Press();
        d.txtProcvaultLocation.SetText(file.Path());
        d.cmdOK.Press();
    });
    EXPECT_TRUE(closed);
    EXPECT_EQ(Keys(),
              (Stored{{"CommentPrefix", "' "}, {"IndentLevel", "1"}, {"ProcvaultLocation", file.Path()}}));
    EXPECT_TRUE(ui.Messages().empty());
}

struct PrefixRow {
    const char* name;
    const char* typed;
    int answer;          // to the question, 0: none asked
    const char* prompt;  // "" when none
    const char* saved;   // nullptr: refused, on tab 0 with the box focused
    const char* left;    // the box afterwards
    long selected;       // characters selected in it when refused
};

class PrefixCheck : public OptionsTest, public testing::WithParamInterface<PrefixRow> {};

TEST_P(PrefixCheck, TrimsAsksAndSavesOrPointsAtTheBox) {
    const PrefixRow& row = GetParam();
    if (row.answer) ui.QueueAnswer(row.answer);
    std::string left, focused;
    long selected = -1;
    int tab = -1;
    Open([&](pv::frmOptions& d) {
        d.ctlTab.SetTab(1);
        d.txtProcvaultLocation.SetText(row.saved ? file.Path() : "");  // refusals never look at it
        d.txtCommentPrefix.SetText(row.typed);
        d.cmdOK.Press();
        left = d.txtCommentPrefix.Text();
        selected = d.txtCommentPrefix.SelLength();
        tab = d.ctlTab.Tab();
        focused = d.ActiveControl() ? d.ActiveControl()->Name() : "";
    });
    EXPECT_EQ(ui.Messages().size(), *row.prompt ? 1u : 0u);
    EXPECT_EQ(ui.Messages().empty() ? "" : Prompt(), row.prompt);
    EXPECT_EQ(left, row.left);
    EXPECT_EQ(closed, row.saved != nullptr);
    EXPECT_EQ(Keys()["CommentPrefix"], row.saved ? row.saved : "' ");  // refused: the opening's default
    if (!row.saved) {
        EXPECT_EQ(std::make_tuple(tab, focused, selected),
                  std::make_tuple(0, "txtCommentPrefix", row.selected));
    }
}

constexpr const char* kEmpty = "You must enter a prefix for block comment sections.";
constexpr const char* kAsk =
    "You have not begun your comment prefix with the Visual Basic comment symbol. Would you like Procvault "
    "to add "
    "this for you?";

INSTANTIATE_TEST_SUITE_P(
    Prefixes, PrefixCheck,
    testing::Values(PrefixRow{"BlanksOnlyAreEmpty", "   ", 0, kEmpty, nullptr, "", 0},
                    PrefixRow{"LeadingBlanksGoThenYesAddsTheSymbol", "  ;", forms::vbYes, kAsk, "';", "';",
                              0},
                    PrefixRow{"DefaultKeepsItsTrailingBlank", "' ", 0, "", "' ", "' ", 0},
                    PrefixRow{"NoSelectsTheText", ";x", forms::vbNo, kAsk, nullptr, ";x", 2}),
    [](const auto& info) { return std::string(info.param.name); });

struct LocationRow {
    const char* name;
    const char* setup;   // "", "missing", "folder", "foreign", "system", "some", "text", "locked"
    const char* prompt;  // '@' stands for the path; "" when accepted
    const char* title;
};

class LocationCheck : public OptionsTest, public testing::WithParamInterface<LocationRow> {};

TEST_P(LocationCheck, AcceptsOnlyALibraryFile) {
    const std::string setup = GetParam().setup;
    std::string path = setup == "missing" ? (file.Dir() / "Missing.mdb").string() : file.Path();
    if (setup.empty()) path.clear();
    if (setup == "folder") path = file.Dir().Path().string();
    if (setup == "text") testsupport::WriteBytes(path = (file.Dir() / "notes.txt").string(), "plain text\n");
    const std::map<std::string, std::string> sql = {{"foreign", "CREATE TABLE Notes (x TEXT)"},
                                                    {"some", "DROP TABLE ProcedureLine"}};
    if (sql.count(setup)) file.Open()->Execute(sql.at(setup));
    if (setup == "system")
        for (const char* table : {"ProcedureLine", "ProcedureHeader", "Category"})
            file.Open()->Execute(std::string("DROP TABLE ") + table);
    auto holder = setup == "locked" ? dao::DBEngine().OpenDatabase(path, true) : nullptr;
    int tab = -1;
    Open([&](pv::frmOptions& d) {
        d.txtProcvaultLocation.SetText(path);
        d.cmdOK.Press();
        tab = d.ctlTab.Tab();
    });
    std::string prompt = GetParam().prompt;
    if (const auto at = prompt.find('@'); at != std::string::npos) prompt.replace(at, 1, path);
    EXPECT_EQ(closed, prompt.empty());
    EXPECT_EQ(Keys().count("ProcvaultLocation"), prompt.empty() ? 1u : 0u);
    if (prompt.empty()) return;
    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_EQ(ui.Messages()[0].title, GetParam().title);
    EXPECT_EQ(ui.Messages()[0].Icon(), forms::vbCritical);
    EXPECT_EQ(Prompt(), prompt);
    EXPECT_EQ(tab, std::string(GetParam().title) == "Procvault" ? 1 : 0);
}

constexpr const char* kNotFound =
    "@:\r\nThis file was not found. Please enter the correct location of the Procvault database.";

INSTANTIATE_TEST_SUITE_P(
    Locations, LocationCheck,
    testing::Values(
        LocationRow{
            "Empty", "",
            "There is no location entered for the Procvault database. Please enter the correct location "
            "of this file.",
            "Procvault"},
        LocationRow{"Missing", "missing", kNotFound, "Procvault"},
        LocationRow{"Folder", "folder", kNotFound, "Procvault"},
        LocationRow{"ForeignTable", "foreign",
                    "The database you entered is not a valid Procvault database. Please enter the path of a "
                    "valid database.",
                    "Procvault"},
        LocationRow{"OnlySystemTables", "system", "", ""}, LocationRow{"SomeOfTheTables", "some", "", ""},
        LocationRow{"NotADatabase", "text", "Unrecognized database format '@'. 3343", "OKDatabaseLocation()"},
        LocationRow{"HeldExclusively", "locked", "Could not use '@'; file already in use. 3045",
                    "OKDatabaseLocation()"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(OptionsTest, BrowseAsksForALibraryFromHomeAndCancelKeepsTheBox) {
    std::vector<std::string> boxes;
    Open([&](pv::frmOptions& d) {
        d.txtProcvaultLocation.SetText("kept.mdb");
        d.ctlTab.SetTab(1);
        d.cmdFindProcvault.Press();
        boxes.push_back(d.txtProcvaultLocation.Text());
        ui.QueueFileChoice("  /home/user/lib.db ");
        d.cmdFindProcvault.Press();
        boxes.push_back(d.txtProcvaultLocation.Text());
    });
    EXPECT_EQ(boxes, (std::vector<std::string>{"kept.mdb", "/home/user/lib.db"}));
    EXPECT_EQ(ui.request.title, "Select Procvault File");
    EXPECT_EQ(ui.request.filter, "Databases (*.mdb)|*.mdb|All files (*)|*");
    EXPECT_EQ(ui.request.initialFolder, std::getenv("HOME") ? std::getenv("HOME") : "");
}

TEST_F(OptionsTest, CategoriesAndProceduresNeedALibraryAndHoldOkAndCancelWhileOpen) {
    pv::WriteOption(store, pv::key::ProcvaultLocation, file.Path());
    for (const char* form : {"frmEditCategories", "frmOrganizeProcedures"}) {
        bool buttonsInside = true, buttonsAfter = false;
        Open([&](pv::frmOptions& d) {
            auto& button = std::string(form) == "frmEditCategories" ? d.cmdCategories : d.cmdProcedures;
            ui.OnShow(form,
                      [&](forms::Form&) { buttonsInside = d.cmdOK.Enabled() || d.cmdCancel.Enabled(); });
            d.ctlTab.SetTab(1);
            d.txtProcvaultLocation.SetText("");
            button.Press();  // refused: the box is empty, although a library is stored
            d.txtProcvaultLocation.SetText(file.Path());
            button.Press();
            buttonsAfter = d.cmdOK.Enabled() && d.cmdCancel.Enabled();
        });
        EXPECT_EQ(ui.ShownForms(), (std::vector<std::string>{"frmOptions", form}));
        EXPECT_FALSE(buttonsInside) << form;
        EXPECT_TRUE(buttonsAfter) << form;
        ASSERT_FALSE(ui.Messages().empty());
        EXPECT_EQ(ui.Messages()[0].title, "Procvault");
        ui.ClearTranscript();
    }
}

}  // namespace
