// The main dialog's library tab against a real library file: filters, checks,
// preview, and procedures copied into the active module.
#include "CodeToolsFixture.h"
#include "dao/LibraryFixture.h"
#include "library/basConnect.h"
#include "library/frmPreview.h"
#include "options/frmOptions.h"

namespace {

using codetoolstest::Split;
using codetoolstest::Strings;

// The sample library (list order: Function GetValue 1, Sub OpenLog 3, Sub TrimAll 2;
// categories (All), Files, Strings, Utilities) and a module of one line.
class LibraryTab : public codetoolstest::CodeToolsTest {
protected:
    void SetUp() override {
        pv::ResetLibraryProcedures();
        daotest::FillSample(*file.Open());
        Set(pv::key::ProcvaultLocation, file.Path());
        Load({"Option Explicit"});
    }
    void TearDown() override {
        pv::ResetLibraryProcedures();
        CodeToolsTest::TearDown();
    }
    // Opens the dialog on the library tab; `play` is the user.
    void Open(const std::function<void(pv::frmProcvault&)>& play) {
        OpenDialog([&](pv::frmProcvault& d) {
            d.ctlTab.SetTab(2);
            play(d);
        });
    }
    static std::string On(bool b) { return b ? " 1" : " 0"; }
    static std::string Entries(const forms::ListControl& list) {
        std::string out;
        for (int i = 0; i < list.ListCount(); ++i) out += (i ? "|" : "") + list.List(i);
        return out;
    }

    daotest::LibraryFile file;
};

// Entries clicked in order, a double click on the last (else OK), GetValue taken from the
// library while the list is up, the lines then after "Option Explicit", the caret's line.
using InsertRow = std::tuple<std::vector<int>, bool, bool, const char*, long>;
class Insert : public LibraryTab, public testing::WithParamInterface<InsertRow> {};

TEST_P(Insert, CopiesInStoredOrderAndCloses) {
    const auto& [clicked, doubleClick, drop, added, caret] = GetParam();
    Open([&](pv::frmProcvault& d) {
        for (const int i : clicked) d.lstAvailableProcedures.ClickItem(i);
        if (drop) file.Open()->Execute("DELETE * FROM ProcedureHeader WHERE ProcedureHeaderID=1");
        if (doubleClick) return d.lstAvailableProcedures.DoubleClickItem(clicked.back());
        d.cmdOK.Press();
    });
    EXPECT_EQ(Lines(), Split(std::string("Option Explicit") + added));
    EXPECT_EQ(CaretLine(), caret);
    EXPECT_FALSE(shown);
    EXPECT_TRUE(ui.Messages().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Library, Insert,
    testing::Values(
        InsertRow{{0, 1, 2},
                  false,
                  false,  // a Null line reads as empty
                  "|Public Function GetValue()|End Function||Sub TrimAll()||End Sub||Sub OpenLog()|End Sub|",
                  9},
        InsertRow{{1, 2}, true, false, "|Sub TrimAll()||End Sub||Sub OpenLog()|End Sub|", 6},
        InsertRow{{0, 2}, false, true, "|Sub TrimAll()||End Sub|", 2}, InsertRow{{0}, false, true, "", 1}));

TEST_F(LibraryTab, ListsWhatKindAndCategoryLetAndPreviewOnlyWhenThereIsAny) {
    const std::tuple<const char*, int, std::string> rows[] = {
        {"optShowFunctions", 0, "Function GetValue"},
        {"optShowSubs", 0, "Sub OpenLog|Sub TrimAll"},
        {"optShowAll", 3, "Function GetValue|Sub OpenLog"},
        {"optShowSubs", 2, "Sub TrimAll"},
        {"optShowAll", 1, ""}};
    Open([&](pv::frmProcvault& d) {
        EXPECT_EQ(Entries(d.cboCategory), "(All)|Files|Strings|Utilities");
        for (const auto& [option, category, entries] : rows) {
            static_cast<forms::OptionButton*>(d.FindControl(option))->Press();
            d.cboCategory.ChooseItem(category);
            EXPECT_EQ(Entries(d.lstAvailableProcedures) + On(d.cmdPreview.Enabled()),
                      entries + On(!entries.empty()))
                << option << category;
        }
    });
}

TEST_F(LibraryTab, RefusalsExplainAndInsertNothing) {
    const std::tuple<int, const char*, const char*, bool> rows[] = {
        // category, button, message, first selected
        {1, "cmdOK", "There are no available procedures to add.", false},
        {0, "cmdOK", "You must select a procedure from the list.", true},
        {0, "cmdPreview", "You must select an item(s) from the list.", false}};
    for (const auto& [category, button, prompt, firstSelected] : rows) {
        ui.ClearTranscript();
        Open([&](pv::frmProcvault& d) {
            d.cboCategory.ChooseItem(category);
            static_cast<forms::CommandButton*>(d.FindControl(button))->Press();
            EXPECT_EQ(d.lstAvailableProcedures.SelCount() > 0 && d.lstAvailableProcedures.Selected(0),
                      firstSelected);
        });
        EXPECT_EQ(Prompts(), Strings{std::string("Procvault: ") + prompt});
        EXPECT_EQ(ui.ShownForms(), Strings{"frmProcvault"}) << prompt;
    }
    EXPECT_EQ(Lines(), Strings{"Option Explicit"});
}

TEST_F(LibraryTab, LeavingTheCategoryBoxRefreshesAfterAKeyAndRefusesTypedText) {
    const char* const rows[][3] = {
        // typed ("": no key), the list after leaving, the message
        {"", "1 selected, focus lstAvailableProcedures", nullptr},
        {"(All)", "0 selected, focus lstAvailableProcedures", nullptr},  // a key refreshes the list
        {"Util", "1 selected, focus cboCategory 4", "Procvault: You must select an item from the list."}};
    for (const auto& row : rows) {
        ui.ClearTranscript();
        std::string after;
        Open([&](pv::frmProcvault& d) {
            d.lstAvailableProcedures.ClickItem(0);
            d.cboCategory.SetFocus();
            if (*row[0]) d.cboCategory.TypeText(row[0], 40);
            d.lstAvailableProcedures.SetFocus();
            const bool stays = d.ActiveControl() == &d.cboCategory;
            after = std::to_string(d.lstAvailableProcedures.SelCount()) + " selected, focus " +
                    d.ActiveControl()->Name() +
                    (stays ? " " + std::to_string(d.cboCategory.SelLength()) : "");
        });
        EXPECT_EQ(after, row[1]);
        EXPECT_EQ(Prompts(), row[2] ? Strings{row[2]} : Strings{});
    }
}

TEST_F(LibraryTab, PreviewShowsTheSelectedProceduresInStoredOrder) {
    std::string text;
    ui.OnShow("frmPreview",
              [&](forms::Form& f) { text = static_cast<pv::frmPreview&>(f).txtPreview.Text(); });
    Open([&](pv::frmProcvault& d) {
        d.lstAvailableProcedures.ClickItem(1);
        d.lstAvailableProcedures.ClickItem(0);
        d.cmdPreview.Press();
    });
    EXPECT_EQ(text, "Public Function GetValue()\r\nEnd Function\r\nSub OpenLog()\r\nEnd Sub\r\n");
}

TEST_F(LibraryTab, OptionsRefreshTheTabOnlyWhenItIsCurrent) {
    ui.OnShow("frmOptions", [&](forms::Form& f) {
        daotest::AddCategory(*file.Open(), "Added");
        static_cast<pv::frmOptions&>(f).cmdCancel.Press();
    });
    for (const int tab : {1, 2}) {
        Open([&](pv::frmProcvault& d) {
            d.optShowSubs.Press();
            const int before = d.cboCategory.ListCount();
            d.ctlTab.SetTab(tab);
            d.cmdOptions.Press();
            EXPECT_EQ(d.cboCategory.ListCount(), before + (tab == 2 ? 1 : 0)) << tab;
            EXPECT_EQ(Entries(d.lstAvailableProcedures), "Sub OpenLog|Sub TrimAll") << tab;
        });
    }
}

TEST_F(LibraryTab, AMissingOrLockedLibraryIsReportedAndTheTabStaysEmpty) {
    for (const bool locked : {false, true}) {
        Set(pv::key::ProcvaultLocation, locked ? file.Path() : file.Path() + ".gone");
        auto holder = locked ? dao::DBEngine().OpenDatabase(file.Path(), true) : nullptr;
        Open([&](pv::frmProcvault& d) {
            EXPECT_EQ(d.lstAvailableProcedures.ListCount() + d.cboCategory.ListCount(), 0) << locked;
        });
        ASSERT_EQ(ui.Messages().size(), 1u) << locked;
        EXPECT_EQ(ui.Messages()[0].Icon(), locked ? forms::vbExclamation : forms::vbCritical);
        ui.ClearTranscript();
    }
}

}  // namespace
