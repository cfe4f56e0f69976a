#include "codetools/frmProcvault.h"

#include "CodeToolsFixture.h"

namespace {

using codetoolstest::Expand;
using codetoolstest::Split;
using codetoolstest::Strings;

class DialogTest : public codetoolstest::CodeToolsTest {
protected:
    static std::string On(bool b) { return b ? "1" : "0"; }
    static std::string Focused(pv::frmProcvault& d) {
        return d.ActiveControl() ? d.ActiveControl()->Name() : "";
    }
    // The dialog as the user finds it: tab, entries (@ line, * selected), Select and
    // Deselect All enabled, the stubs box visible and ticked, the focused control.
    static std::string State(pv::frmProcvault& d) {
        std::string s = "tab " + std::to_string(d.ctlTab.Tab()) + "/" + d.CurrentTab() + ":";
        for (int i = 0; i < d.lstProcedures.ListCount(); ++i)
            s += " " + d.lstProcedures.List(i) + "@" + std::to_string(d.lstProcedures.ItemData(i)) +
                 (d.lstProcedures.Selected(i) ? "*" : "");
        return s + " | all " + On(d.cmdSelectAll.Enabled()) + On(d.cmdDeselectAll.Enabled()) + " | stubs " +
               On(d.chkShowCommentStubs.Visible()) + std::to_string(d.chkShowCommentStubs.Value()) +
               " | focus " + Focused(d);
    }
    // Opens the dialog, noting what the user found, then plays `play`.
    void Open(const std::function<void(pv::frmProcvault&)>& play = {}) {
        OpenDialog([&](pv::frmProcvault& d) {
            seen = State(d);
            listed.clear();
            for (int i = 0; i < d.lstProcedures.ListCount(); ++i)
                listed += (i ? " " : "") + d.lstProcedures.List(i);
            if (play) play(d);
        });
    }
    std::string seen, listed;
};

TEST_F(DialogTest, OpensOnTheTabWithWorkListingProceduresWithoutHandlingSortedAndStubsOnlyWhenInUse) {
    const std::string mixed =
        "Option Explicit|Private mlngCount As Long|Private Declare Function GetTickCount Lib \"kernel32\" () "
        "As Long|Private Declare Sub Sleep _|    Lib \"kernel32\" (ByVal ms As Long)|Public Event "
        "Changed(ByVal x "
        "As Long)||Public Sub Zeta()|End Sub|' alpha computes|Private Function alpha() As Long|End Function|"
        "Public Property Get Total() As Long|End Property|Public Property Let Total(ByVal v As Long)|End "
        "Property|Sub Handled()|On Error GoTo Err_Handled|End Sub|Sub Trailing()|    On Error Resume Next ' "
        "ignore|End Sub|Property Set Item(o As Object)|End Property";
    const char* const rows[][3] = {
        // module, stored ShowCommentStubs, what the user finds
        {mixed.c_str(), nullptr,
         "tab 1/1: alpha@11* Get Total@13 Let Total@15 Set Item@23 Trailing@20 Zeta@8 | "
         "all 11 | stubs 00 | focus lstProcedures"},
        {"Sub H()|On Error GoTo E|End Sub", nullptr, "tab 0/0: | all 00 | stubs 00 | focus txtProcName"},
        {"Sub A()|End Sub", "False", "tab 1/1: A@1* | all 11 | stubs 00 | focus lstProcedures"},
        {"Sub A()|End Sub", "-1", "tab 1/1: A@1* | all 11 | stubs 10 | focus lstProcedures"}};
    for (const auto& row : rows) {
        Load(Split(row[0]));
        if (row[1]) Set(pv::key::ShowCommentStubs, row[1]);
        Open();
        EXPECT_EQ(seen, row[2]) << row[0] << " " << (row[1] ? row[1] : "never written");
    }
    EXPECT_TRUE(ui.Messages().empty());  // the focus refused before showing is not reported
}

TEST_F(DialogTest, NewProcedureRefusalExplainsAndPointsAtTheName) {
    const char *invalid = "Invalid procedure name.", *variable = "A variable of this name already exists.",
               *taken = "A procedure of this name already exists.";
    const std::pair<std::string, const char*> rows[] = {
        {"", invalid},       {"Foo Bar", invalid}, {"MLNGCOUNT", variable}, {"mstrName", variable},
        {"existing", taken}, {"Total", taken},     {"GetTickCount", taken}, {"Changed", taken}};
    Load(Split(
        "Private mlngCount As Long, mstrName As String|Public Const MAX_ITEMS = 5|Public Event Changed()|"
        "Private Declare Function GetTickCount Lib \"k\" () As Long|Sub Existing()|On Error GoTo E|End Sub|"
        "Property Get Total()|On Error GoTo E|End Property"));
    const auto before = Lines();
    for (const auto& row : rows) {
        ui.ClearTranscript();
        std::string after;
        Open([&](pv::frmProcvault& d) {
            d.txtProcName.TypeText(row.first);
            d.cmdOK.Press();
            after = On(d.IsShown()) + " '" + d.txtProcName.SelText() + "' selected in " + Focused(d);
        });
        EXPECT_EQ(after, "1 '" + row.first + "' selected in txtProcName");
        EXPECT_EQ(Prompts(), Strings{std::string("Procvault: ") + row.second});
        EXPECT_EQ(ui.Beeps(), 1);
        EXPECT_EQ(ui.Messages().at(0).buttons, forms::vbInformation + forms::vbOKOnly);
    }
    EXPECT_EQ(Lines(), before);
}

TEST_F(DialogTest, NewProcedureFromTheExistingTabTakesKindScopeAndStaticAndCloses) {
    const char* const rows[][4] = {
        // kind, scope, static, declarations written
        {"optSub", "optPrivate", "", "Private Sub Foo()"},
        {"optFunction", "optPublic", "", "Public Function Foo()"},
        {"optSub", "optFriend", "static", "Friend Static Sub Foo()"},
        {"optProperty", "optPublic", "",
         "Public Property Get Foo() As Variant|Public Property Let Foo(varArgument)"}};
    for (const auto& row : rows) {
        Load({"Sub A()", "End Sub"});
        Open([&](pv::frmProcvault& d) {
            d.ctlTab.SetTab(0);
            seen = Focused(d);
            d.txtProcName.TypeText("Foo");
            static_cast<forms::OptionButton*>(d.FindControl(row[0]))->Press();
            static_cast<forms::OptionButton*>(d.FindControl(row[1]))->Press();
            if (*row[2]) d.chkStatic.Press();
            d.cmdOK.Press();
        });
        for (const auto& line : Lines())
            if (line.find(" Foo(") != std::string::npos && line.front() != '\t') seen += "|" + line;
        EXPECT_EQ(seen, "txtProcName|" + std::string(row[3]));
        EXPECT_FALSE(shown) << row[3];
        EXPECT_EQ(Module().Lines(1, 3), "Sub A()\r\nEnd Sub\r\n");  // A gets no handler
    }
    EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(DialogTest, OkWithNothingSelectedAsksForASelectionAndCancelWritesNothing) {
    Load(Split("Sub A()|End Sub|Sub B()|End Sub"));
    std::string afterOk;
    Open([&](pv::frmProcvault& d) {
        d.cmdDeselectAll.Press();
        d.cmdOK.Press();
        afterOk = On(d.IsShown()) + On(d.lstProcedures.Selected(0)) + On(d.lstProcedures.Selected(1));
        d.cmdCancel.Press();
    });
    EXPECT_EQ(afterOk, "110");  // still up, the first entry selected for the user
    EXPECT_FALSE(shown);
    EXPECT_EQ(Prompts(), Strings{"Procvault: You must select a procedure from the list."});
    EXPECT_EQ(Lines(), Split("Sub A()|End Sub|Sub B()|End Sub"));
}

TEST_F(DialogTest, EverySelectedProcedureGetsItsBlockByOkOrByDoubleClick) {
    for (const bool doubleClick : {false, true}) {
        Load(Split("Sub Zed()|    z = 1|End Sub||Sub Alpha()|    a = 1|End Sub|Sub C()|End Sub"));
        Open([&](pv::frmProcvault& d) {
            if (!doubleClick) d.cmdSelectAll.Press();
            if (!doubleClick) return d.cmdOK.Press();
            d.lstProcedures.ClickItem(2);  // Alpha (selected at opening) and Zed
            d.lstProcedures.DoubleClickItem(2);
        });
        EXPECT_FALSE(shown) << doubleClick;
        EXPECT_EQ(Lines(), Expand("Sub Zed()|{E:Zed}|    z = 1|{B:Zed:Sub}|End Sub||Sub Alpha()|{E:Alpha}|"
                                  "    a = 1|{B:Alpha:Sub}|End Sub|Sub C()|" +
                                  std::string(doubleClick ? "" : "{E:C}|{B:C:Sub}|") + "End Sub"))
            << doubleClick;
    }
    EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(DialogTest, LibraryTabWithoutALibraryRefusesOk) {
    Load({"Sub A()", "End Sub"});
    Open([&](pv::frmProcvault& d) {
        d.ctlTab.SetTab(2);
        seen = d.CurrentTab() + On(d.cmdSelectAll.Enabled()) + On(d.cmdCMSelectAll.Enabled()) +
               On(d.cmdPreview.Enabled());
        d.cmdOK.Press();
        d.ctlTab.SetTab(1);
        seen += " " + d.CurrentTab() + On(d.cmdSelectAll.Enabled()) + On(d.cmdDeselectAll.Enabled());
    });
    EXPECT_EQ(seen, "2000 111");
    EXPECT_EQ(Prompts(),
              (Strings{"Procvault: There is no location entered for the Procvault database file. "
                       "Please enter the correct location from the Procvault tab on the Options screen",
                       "Procvault: There are no available procedures to add."}));
}

TEST_F(DialogTest, FailedOpeningIsReportedAndShowsNothing) {
    pv::objVBE = &vbe;  // no project, so no active code pane
    pv::frmProcvault(env).OpenProcvault();
    EXPECT_TRUE(ui.ShownForms().empty());
    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_EQ(ui.Messages()[0].title, "OpenProcvault");
    EXPECT_EQ(ui.Messages()[0].Icon(), forms::vbCritical);
}

TEST_F(DialogTest, ControlsFitTheDialogAndCaptionsFitTheirControls) {
    Load({"Sub A()", "End Sub"});
    pv::frmProcvault d(env);
    for (const auto& control : d.Controls()) {
        const forms::Control* box = control->Container();
        EXPECT_LE(control->Left() + control->Width(), box == &d ? d.ScaleWidth() : box->Width())
            << control->Name();
        EXPECT_LE(control->Top() + control->Height(), box == &d ? d.ScaleHeight() : box->Height())
            << control->Name();
    }
    const auto fits = [](const auto& c) {
        EXPECT_GE(c.Width(), 100 * long(c.Caption().size()) - 100) << c.Name();
    };
    fits(d.Label3), fits(d.Label4), fits(d.chkStatic), fits(d.chkShowCommentStubs), fits(d.cmdPreview);
}

// Code written for several targets with #If, in the fixture's shorthand of the
// module after adding handlers (comment stubs ticked where a header shows).
TEST_F(DialogTest, ConditionalCopiesEachGetOneBlockAndASecondScanListsNothing) {
    const std::pair<const char*, const char*> rows[] = {
        // the entries offered, the module after
        {"Ptr",
         "{H:Ptr}|#If VBA7 Then|Public Function Ptr(ByVal h As LongPtr) As LongPtr|#Else|"
         "Public Function Ptr(ByVal h As Long) As Long|#End If|{E:Ptr}|    Ptr = h|{B:Ptr:Function}|End "
         "Function"},
        {"S",
         "  #If VBA7 Then|Sub S(ByVal a As LongPtr, _|    ByVal b As LongPtr)|  #ElseIf Win32 Then|"
         "Sub S(ByVal a As Long, _|    ByVal b As Long)|  #Else|Sub S(a, b)|  #End If|{E:S}|    a = "
         "b|{B:S:Sub}|"
         "End Sub"},
        {"N",
         "{H:N}|#If A Then|  #If B Then|Sub N(x As Long)|  #Else|Sub N(x As Integer)|  #End If|#Else|"
         "Sub N(x)|#End If|{E:N}|    x = 1|{B:N:Sub}|End Sub"},
        {"W Z",
         "#If Win64 Then|{H:W}|Private Sub W()|{E:W}|    x = 1|{B:W:Sub}|End Sub|#Else|{H:W}|"
         "Private Sub W()|{E:W}|    x = 2|{B:W:Sub}|End Sub|#End If|{H:Z}|Sub Z()|{E:Z}|{B:Z:Sub}|End Sub"},
        {"W",
         "#If Win64 Then|Function W() As Long|    On Error Resume Next|End Function|#Else|"
         "Function W() As Long|{E:W}|{B:W:Function}|End Function|#End If"},  // one copy handled
        {"",
         "#If Win64 Then|Sub W()|    On Error Resume Next|End Sub|#Else|Sub W()|    On Error GoTo 0|End Sub|"
         "#End If"},
        {"Real", "Private Type T|    sUB As Long|End Type|Sub Real()|{E:Real}|{B:Real:Sub}|End Sub"}};
    Set(pv::key::ShowCommentStubs, "True");
    HeaderFlags("100000");
    for (const auto& [entries, after] : rows) {
        Load(Expand(after, true));
        Open([&](pv::frmProcvault& d) {
            if (d.lstProcedures.ListCount() == 0) return d.cmdCancel.Press();
            d.cmdSelectAll.Press();
            if (std::string(after).find("{H:") != std::string::npos) d.chkShowCommentStubs.Press();
            d.cmdOK.Press();
        });
        EXPECT_EQ(listed, entries);
        EXPECT_EQ(Lines(), Expand(after)) << after;
        Open([](pv::frmProcvault& d) { d.cmdCancel.Press(); });
        EXPECT_EQ(listed, "") << after;
    }
    EXPECT_TRUE(ui.Messages().empty());
}

}  // namespace
