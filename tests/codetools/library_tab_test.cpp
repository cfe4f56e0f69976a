// The main dialog's library tab against a real library file: filters, checks,
// preview, and procedures copied into the active module.
#include "CodeToolsFixture.h"
#include "codetools/frmProcvault.h"
#include "dao/LibraryFixture.h"
#include "library/basConnect.h"
#include "library/frmPreview.h"
#include "options/frmOptions.h"

namespace {

using Strings = std::vector<std::string>;

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
    // Opens the dialog and shows the library tab; `play` is the user.
    void Open(const std::function<void(pv::frmProcvault&)>& play) {
        ui.OnShow("frmProcvault", [&](forms::Form& f) {
            auto& d = static_cast<pv::frmProcvault&>(f);
            d.ctlTab.SetTab(2);
            play(d);
            closed = !d.IsShown();
        });
        pv::frmProcvault dialog(env);
        dialog.OpenProcvault();
    }
    static Strings Entries(const forms::ListControl& list) {
        Strings out;
        for (int i = 0; i < list.ListCount(); ++i) out.push_back(list.List(i));
        return out;
    }

    daotest::LibraryFile file;
    bool closed = false;
};

struct InsertRow {
    const char* name;
    std::vector<int> clicked;  // entries the user clicks, in this order
    bool doubleClickLast;      // else OK
    const char* sql;           // run on the library before inserting
    Strings added;             // lines after "Option Explicit"
    long caret;
};

class Insert : public LibraryTab, public testing::WithParamInterface<InsertRow> {};

TEST_P(Insert, CopiesInStoredOrderAndCloses) {
    const InsertRow& row = GetParam();
    Open([&](pv::frmProcvault& d) {
        for (const int i : row.clicked) d.lstAvailableProcedures.ClickItem(i);
        if (*row.sql) file.Open()->Execute(row.sql);
        if (row.doubleClickLast) d.lstAvailableProcedures.DoubleClickItem(row.clicked.back());
        if (!row.doubleClickLast) d.cmdOK.Press();
    });
    Strings expected{"Option Explicit"};
    expected.insert(expected.end(), row.added.begin(), row.added.end());
    EXPECT_EQ(Lines(), expected);
    EXPECT_EQ(CaretLine(), row.caret);
    EXPECT_TRUE(closed);
    EXPECT_TRUE(ui.Messages().empty());
}

constexpr const char* kDropGetValue = "DELETE * FROM ProcedureHeader WHERE ProcedureHeaderID=1";

INSTANTIATE_TEST_SUITE_P(
    Library, Insert,
    testing::Values(InsertRow{"AllInKeyOrderNullLineEmpty",
                              {0, 1, 2},
                              false,
                              "",
                              {"Public Function GetValue()", "End Function", "", "Sub TrimAll()", "",
                               "End Sub", "", "Sub OpenLog()", "End Sub", ""},
                              9},
                    InsertRow{"DoubleClickTwoInReverseListOrder",
                              {1, 2},
                              true,
                              "",
                              {"Sub TrimAll()", "", "End Sub", "", "Sub OpenLog()", "End Sub", ""},
                              6},
                    InsertRow{"LinesOfARemovedProcedureAreSkipped",
                              {0, 2},
                              false,
                              kDropGetValue,
                              {"Sub TrimAll()", "", "End Sub", ""},
                              2},
                    InsertRow{"NoneLeftInsertsNothingCaretStays", {0}, false, kDropGetValue, {}, 1}),
    [](const auto& info) { return std::string(info.param.name); });

struct FilterRow {
    const char* name;
    const char* option;
    int category;
    Strings entries;
};

class Filter : public LibraryTab, public testing::WithParamInterface<FilterRow> {};

TEST_P(Filter, ListsWhatKindAndCategoryLet) {
    Strings categories, entries;
    bool preview = true;
    Open([&](pv::frmProcvault& d) {
        categories = Entries(d.cboCategory);
        static_cast<forms::OptionButton*>(d.FindControl(GetParam().option))->Press();
        d.cboCategory.ChooseItem(GetParam().category);
        entries = Entries(d.lstAvailableProcedures);
        preview = d.cmdPreview.Enabled();
    });
    EXPECT_EQ(categories, (Strings{"(All)", "Files", "Strings", "Utilities"}));
    EXPECT_EQ(entries, GetParam().entries);
    EXPECT_EQ(preview, !entries.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Library, Filter,
    testing::Values(FilterRow{"FunctionsAnyCategory", "optShowFunctions", 0, {"Function GetValue"}},
                    FilterRow{"SubsAnyCategory", "optShowSubs", 0, {"Sub OpenLog", "Sub TrimAll"}},
                    FilterRow{"AllOfUtilities", "optShowAll", 3, {"Function GetValue", "Sub OpenLog"}},
                    FilterRow{"SubsOfStrings", "optShowSubs", 2, {"Sub TrimAll"}},
                    FilterRow{"EmptyCategory", "optShowAll", 1, {}}),
    [](const auto& info) { return std::string(info.param.name); });

struct RefusalRow {
    const char* name;
    int category;
    const char* button;
    const char* prompt;
    int selectedAfter;
};

class Refusal : public LibraryTab, public testing::WithParamInterface<RefusalRow> {};

TEST_P(Refusal, ExplainsAndInsertsNothing) {
    int selected = -1;
    Open([&](pv::frmProcvault& d) {
        d.cboCategory.ChooseItem(GetParam().category);
        static_cast<forms::CommandButton*>(d.FindControl(GetParam().button))->Press();
        selected = d.lstAvailableProcedures.SelCount() > 0 && d.lstAvailableProcedures.Selected(0);
    });
    EXPECT_EQ(Prompts(), Strings{std::string("Procvault: ") + GetParam().prompt});
    EXPECT_EQ(selected, GetParam().selectedAfter);
    EXPECT_EQ(ui.ShownForms(), Strings{"frmProcvault"});
    EXPECT_EQ(Lines(), Strings{"Option Explicit"});
}

INSTANTIATE_TEST_SUITE_P(Library, Refusal,
                         testing::Values(RefusalRow{"OkWithEmptyList", 1, "cmdOK",
                                                    "There are no available procedures to add.", 0},
                                         RefusalRow{"OkWithoutSelection", 0, "cmdOK",
                                                    "You must select a procedure from the list.", 1},
                                         RefusalRow{"PreviewWithoutSelection", 0, "cmdPreview",
                                                    "You must select an item(s) from the list.", 0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(LibraryTab, LeavingTheCategoryBoxRefreshesAfterAKeyAndRefusesTypedText) {
    // Typed text ("" no key; "(All)" a key that leaves the entry chosen), entries selected after leaving.
    const std::vector<std::pair<std::string, int>> rows = {{"", 1}, {"(All)", 0}, {"Util", 1}};
    for (const auto& [typed, selectedAfter] : rows) {
        int selected = -1;
        std::string focused;
        long selLength = -1;
        Open([&](pv::frmProcvault& d) {
            d.lstAvailableProcedures.ClickItem(0);
            d.cboCategory.SetFocus();
            if (!typed.empty()) d.cboCategory.TypeText(typed, 40);
            d.lstAvailableProcedures.SetFocus();
            selected = d.lstAvailableProcedures.SelCount();
            focused = d.ActiveControl()->Name();
            selLength = d.cboCategory.SelLength();
        });
        const bool refused = typed == "Util";
        EXPECT_EQ(selected, selectedAfter) << typed;  // a refreshed list has nothing selected
        EXPECT_EQ(focused, refused ? "cboCategory" : "lstAvailableProcedures") << typed;
        EXPECT_EQ(Prompts(),
                  refused ? Strings{"Procvault: You must select an item from the list."} : Strings{});
        EXPECT_EQ(selLength, refused ? 4 : selLength);
        ui.ClearTranscript();
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
        Strings entries;
        std::size_t before = 0, after = 0;
        Open([&](pv::frmProcvault& d) {
            d.optShowSubs.Press();
            before = d.cboCategory.ListCount();
            d.ctlTab.SetTab(tab);
            d.cmdOptions.Press();
            after = d.cboCategory.ListCount();
            entries = Entries(d.lstAvailableProcedures);
        });
        EXPECT_EQ(after, before + (tab == 2 ? 1 : 0)) << tab;
        EXPECT_EQ(entries, (Strings{"Sub OpenLog", "Sub TrimAll"})) << tab;
    }
}

TEST_F(LibraryTab, AMissingOrLockedLibraryIsReportedAndTheTabStaysEmpty) {
    for (const bool locked : {false, true}) {
        Set(pv::key::ProcvaultLocation, locked ? file.Path() : file.Path() + ".gone");
        auto holder = locked ? dao::DBEngine().OpenDatabase(file.Path(), true) : nullptr;
        std::size_t entries = 1, categories = 1;
        Open([&](pv::frmProcvault& d) {
            entries = d.lstAvailableProcedures.ListCount();
            categories = d.cboCategory.ListCount();
        });
        EXPECT_EQ(entries + categories, 0u) << locked;
        ASSERT_EQ(ui.Messages().size(), 1u) << locked;
        EXPECT_EQ(ui.Messages()[0].Icon(), locked ? forms::vbExclamation : forms::vbCritical);
        ui.ClearTranscript();
    }
}

}  // namespace
