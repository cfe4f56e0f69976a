#include "CodeToolsFixture.h"
#include "dao/LibraryFixture.h"
#include "library/basConnect.h"
#include "library/frmPreview.h"

namespace {

using codetoolstest::Split;
using codetoolstest::Strings;

// The sample library (list order: Function GetValue 1, Sub OpenLog 3, Sub TrimAll 2;
// categories (All), Files, Strings, Utilities) and a module of one line.
class LibraryTab : public codetoolstest::CodeToolsTest {
protected:
    void SetUp() override { Fill(); }
    void TearDown() override {
        pv::ResetLibraryProcedures();
        CodeToolsTest::TearDown();
    }
    void Fill() {
        pv::ResetLibraryProcedures();
        file = std::make_unique<daotest::LibraryFile>();
        daotest::FillSample(*file->Open());
        Set(pv::key::ProcvaultLocation, file->Path());
        Load({"Option Explicit"});
    }
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

    std::unique_ptr<daotest::LibraryFile> file;
};

TEST_F(LibraryTab, InsertCopiesInStoredOrderAndCloses) {
    const char* all =
        "|Public Function GetValue()|End Function||Sub TrimAll()||End Sub||Sub OpenLog()|End Sub|";
    const struct {
        std::vector<int> clicked;  // in order; a double click on the last, else OK
        bool doubleClick, drop;    // GetValue taken from the library while the list is up
        long caret;
        const char* added;  // the lines then after "Option Explicit"; a Null line reads as empty
    } rows[] = {{{0, 1, 2}, false, false, 9, all},
                {{1, 2}, true, false, 6, "|Sub TrimAll()||End Sub||Sub OpenLog()|End Sub|"},
                {{0, 2}, false, true, 2, "|Sub TrimAll()||End Sub|"},
                {{0}, false, true, 1, ""}};
    for (const auto& row : rows) {
        Fill();
        Open([&](pv::frmProcvault& d) {
            for (const int i : row.clicked) d.lstAvailableProcedures.ClickItem(i);
            if (row.drop) file->Open()->Execute("DELETE * FROM ProcedureHeader WHERE ProcedureHeaderID=1");
            if (row.doubleClick) return d.lstAvailableProcedures.DoubleClickItem(row.clicked.back());
            d.cmdOK.Press();
        });
        EXPECT_EQ(Lines(), Split(std::string("Option Explicit") + row.added));
        EXPECT_EQ(CaretLine() * 10 + shown, row.caret * 10);
    }
    EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(LibraryTab, ListsWhatKindAndCategoryLetAndPreviewOnlyWhenThereIsAny) {
    std::string seen;  // after each filter: the entries, Preview enabled
    Open([&](pv::frmProcvault& d) {
        seen = Entries(d.cboCategory);
        for (const std::string f :
             {"optShowFunctions 0", "optShowSubs 0", "optShowAll 3", "optShowSubs 2", "optShowAll 1"}) {
            static_cast<forms::OptionButton*>(d.FindControl(f.substr(0, f.size() - 2)))->Press();
            d.cboCategory.ChooseItem(f.back() - '0');
            seen += "; " + Entries(d.lstAvailableProcedures) + On(d.cmdPreview.Enabled());
        }
    });
    EXPECT_EQ(seen,
              "(All)|Files|Strings|Utilities; Function GetValue 1; Sub OpenLog|Sub TrimAll 1; "
              "Function GetValue|Sub OpenLog 1; Sub TrimAll 1;  0");
}

TEST_F(LibraryTab, RefusalsExplainAndInsertNothingAndPreviewShowsTheSelectionInStoredOrder) {
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

TEST_F(LibraryTab, LeavingTheCategoryBoxRefreshesAfterAKeyAndRefusesTypedText) {
    const char* const rows[][2] = {
        // typed ("": no key), then after leaving: entries selected, the focus (and its text selected),
        // messages
        {"", "1 lstAvailableProcedures"},
        {"(All)", "0 lstAvailableProcedures"},  // a key refreshes the list
        {"Util", "1 cboCategory 4 Procvault: You must select an item from the list."}};
    for (const auto& [typed, after] : rows) {
        ui.ClearTranscript();
        std::string seen;
        Open([&](pv::frmProcvault& d) {
            d.lstAvailableProcedures.ClickItem(0);
            d.cboCategory.SetFocus();
            if (*typed) d.cboCategory.TypeText(typed, 40);
            d.lstAvailableProcedures.SetFocus();
            seen =
                std::to_string(d.lstAvailableProcedures.SelCount()) + " " + d.ActiveControl()->Name() +
                (d.ActiveControl() == &d.cboCategory ? " " + std::to_string(d.cboCategory.SelLength()) : "");
        });
        for (const auto& prompt : Prompts()) seen += " " + prompt;
        EXPECT_EQ(seen, after);
    }
}

}  // namespace
