#include "codetools/frmProcvault.h"

#include "CodeToolsFixture.h"

namespace {

using codetoolstest::CodeToolsTest;

// What the scripted user found when the dialog came up.
struct Seen {
    int tab = -1;
    std::string currentTab;
    std::vector<std::string> entries;
    std::vector<long> itemData;
    std::vector<bool> selected;
    bool selectAllEnabled = false;
    bool deselectAllEnabled = false;
    bool stubsVisible = false;
    int stubsValue = -1;
    std::string focused;
};

class DialogTest : public CodeToolsTest {
protected:
    // Opens the dialog on the active module; `play` acts as the user once it is up.
    void Open(std::function<void(pv::frmProcvault&)> play = {}) {
        ui.OnShow("frmProcvault", [this, play](forms::Form& form) {
            auto& dialog = static_cast<pv::frmProcvault&>(form);
            Record(dialog);
            if (play) play(dialog);
            stillShown = dialog.IsShown();
        });
        pv::frmProcvault dialog(env);
        dialog.OpenProcvault();
    }
    void Record(pv::frmProcvault& d) {
        seen.tab = d.ctlTab.Tab();
        seen.currentTab = d.CurrentTab();
        for (int i = 0; i < d.lstProcedures.ListCount(); ++i) {
            seen.entries.push_back(d.lstProcedures.List(i));
            seen.itemData.push_back(d.lstProcedures.ItemData(i));
            seen.selected.push_back(d.lstProcedures.Selected(i));
        }
        seen.selectAllEnabled = d.cmdSelectAll.Enabled();
        seen.deselectAllEnabled = d.cmdDeselectAll.Enabled();
        seen.stubsVisible = d.chkShowCommentStubs.Visible();
        seen.stubsValue = d.chkShowCommentStubs.Value();
        seen.focused = d.ActiveControl() ? d.ActiveControl()->Name() : "";
    }
    static int IndexOf(pv::frmProcvault& d, const std::string& entry) {
        for (int i = 0; i < d.lstProcedures.ListCount(); ++i)
            if (d.lstProcedures.List(i) == entry) return i;
        return -1;
    }

    Seen seen;
    bool stillShown = false;
};

const std::vector<std::string> kMixedModule = {
    "Option Explicit",                                                    // 1
    "Private mlngCount As Long",                                          // 2
    "Private Declare Function GetTickCount Lib \"kernel32\" () As Long",  // 3
    "Private Declare Sub Sleep _",                                        // 4
    "    Lib \"kernel32\" (ByVal ms As Long)",                            // 5
    "Public Event Changed(ByVal x As Long)",                              // 6
    "",                                                                   // 7
    "Public Sub Zeta()",                                                  // 8
    "End Sub",                                                            // 9
    "' alpha computes",                                                   // 10
    "Private Function alpha() As Long",                                   // 11
    "End Function",                                                       // 12
    "Public Property Get Total() As Long",                                // 13
    "End Property",                                                       // 14
    "Public Property Let Total(ByVal v As Long)",                         // 15
    "End Property",                                                       // 16
    "Sub Handled()",                                                      // 17
    "On Error GoTo Err_Handled",                                          // 18
    "End Sub",                                                            // 19
    "Sub Trailing()",                                                     // 20
    "    On Error Resume Next ' ignore",                                  // 21
    "End Sub",                                                            // 22
    "Property Set Item(o As Object)",  // 23: a property with only some parts
    "End Property",                    // 24
};

TEST_F(DialogTest, OpensOnExistingProceduresListingThoseWithoutHandlingSortedAndFirstSelected) {
    Load(kMixedModule);
    Open();
    EXPECT_EQ(seen.entries,
              (std::vector<std::string>{"alpha", "Get Total", "Let Total", "Set Item", "Trailing", "Zeta"}));
    EXPECT_EQ(seen.itemData, (std::vector<long>{11, 13, 15, 23, 20, 8}));
    EXPECT_TRUE(ui.Messages().empty());
    EXPECT_EQ(seen.tab, 1);
    EXPECT_EQ(seen.currentTab, "1");
    EXPECT_EQ(seen.selected, (std::vector<bool>{true, false, false, false, false, false}));
    EXPECT_TRUE(seen.selectAllEnabled);
    EXPECT_TRUE(seen.deselectAllEnabled);
    EXPECT_EQ(seen.focused, "lstProcedures");
}

TEST_F(DialogTest, OpensOnNewProcedureWhenEveryProcedureHasHandling) {
    Load({"Sub Handled()", "On Error GoTo E", "End Sub"});
    Open();
    EXPECT_EQ(seen.tab, 0);
    EXPECT_EQ(seen.currentTab, "0");
    EXPECT_TRUE(seen.entries.empty());
    EXPECT_FALSE(seen.selectAllEnabled);
    EXPECT_FALSE(seen.deselectAllEnabled);
    EXPECT_EQ(seen.focused, "txtProcName");
    EXPECT_TRUE(ui.Messages().empty());  // the focus refused before showing is not reported
}

TEST_F(DialogTest, StubsCheckBoxIsVisibleOnlyWhenCommentStubsAreInUse) {
    const std::pair<const char*, bool> rows[] = {{nullptr, false}, {"0", false},   {"False", false},
                                                 {"True", true},   {"true", true}, {"1", true},
                                                 {"-1", true}};
    for (const auto& [stored, visible] : rows) {
        Load({"Sub A()", "End Sub"});
        if (stored) Set(pv::key::ShowCommentStubs, stored);
        seen = {};
        Open();
        EXPECT_EQ(seen.stubsVisible, visible) << (stored ? stored : "never written");
        EXPECT_EQ(seen.stubsValue, 0);
    }
}

struct RefusalRow {
    const char* name;
    std::string typed;
    const char* message;
};

class NewProcedureRefusal : public DialogTest, public ::testing::WithParamInterface<RefusalRow> {};

TEST_P(NewProcedureRefusal, ExplainsAndPointsAtTheName) {
    Load({"Private mlngCount As Long", "Private Declare Function GetTickCount Lib \"k\" () As Long",
          "Sub Existing()", "On Error GoTo E", "End Sub", "Property Get Total()", "On Error GoTo E",
          "End Property"});
    const auto before = Lines();
    std::string selectedText;
    Open([&](pv::frmProcvault& d) {
        d.txtProcName.TypeText(GetParam().typed);
        d.cmdOK.Press();
        selectedText = d.txtProcName.SelText();
        seen.focused = d.ActiveControl() ? d.ActiveControl()->Name() : "";
    });
    EXPECT_TRUE(stillShown);
    EXPECT_EQ(Prompts(), std::vector<std::string>{std::string("Procvault: ") + GetParam().message});
    EXPECT_EQ(ui.Messages()[0].buttons, forms::vbInformation + forms::vbOKOnly);
    EXPECT_EQ(ui.Beeps(), 1);
    EXPECT_EQ(seen.focused, "txtProcName");
    EXPECT_EQ(selectedText, GetParam().typed);
    EXPECT_EQ(Lines(), before);
}

INSTANTIATE_TEST_SUITE_P(
    Names, NewProcedureRefusal,
    ::testing::Values(RefusalRow{"EmptyName", "", "Invalid procedure name."},
                      RefusalRow{"BlankInside", "Foo Bar", "Invalid procedure name."},
                      RefusalRow{"VariableClash", "MLNGCOUNT", "A variable of this name already exists."},
                      RefusalRow{"ProcedureClash", "existing", "A procedure of this name already exists."},
                      RefusalRow{"PropertyClash", "Total", "A procedure of this name already exists."},
                      RefusalRow{"DeclareClash", "GetTickCount", "A procedure of this name already exists."}),
    [](const auto& info) { return std::string(info.param.name); });

struct NewRow {
    const char* name;
    const char* kind;   // option button to press
    const char* scope;  // option button to press
    bool isStatic;
    std::vector<std::string> declarations;
};

class NewProcedureOk : public DialogTest, public ::testing::WithParamInterface<NewRow> {};

TEST_P(NewProcedureOk, AppendsTheProcedureAndCloses) {
    Load({"Option Explicit"});
    Open([&](pv::frmProcvault& d) {
        d.txtProcName.TypeText("Foo");
        static_cast<forms::OptionButton*>(d.FindControl(GetParam().kind))->Press();
        static_cast<forms::OptionButton*>(d.FindControl(GetParam().scope))->Press();
        if (GetParam().isStatic) d.chkStatic.Press();
        d.cmdOK.Press();
    });
    EXPECT_FALSE(stillShown);
    std::vector<std::string> declarations;
    for (const auto& line : Lines())
        if (line.find(" Foo(") != std::string::npos && line.front() != '\t') declarations.push_back(line);
    EXPECT_EQ(declarations, GetParam().declarations);
    EXPECT_TRUE(ui.Messages().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Choices, NewProcedureOk,
    ::testing::Values(NewRow{"PrivateSub", "optSub", "optPrivate", false, {"Private Sub Foo()"}},
                      NewRow{"PublicFunction", "optFunction", "optPublic", false, {"Public Function Foo()"}},
                      NewRow{"FriendStaticSub", "optSub", "optFriend", true, {"Friend Static Sub Foo()"}},
                      NewRow{
                          "PropertyIsAGetLetPair",
                          "optProperty",
                          "optPublic",
                          false,
                          {"Public Property Get Foo() As Variant", "Public Property Let Foo(varArgument)"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DialogTest, NewProcedureFromTheExistingTabAfterSwitching) {
    Load({"Sub A()", "End Sub"});
    Open([&](pv::frmProcvault& d) {
        d.ctlTab.SetTab(0);
        seen.focused = d.ActiveControl() ? d.ActiveControl()->Name() : "";
        d.txtProcName.TypeText("B");
        d.cmdOK.Press();
    });
    EXPECT_EQ(seen.focused, "txtProcName");
    EXPECT_EQ(Module().Lines(4, 1), "Private Sub B()");
    EXPECT_EQ(Module().Lines(1, 1), "Sub A()");  // A keeps no handler
    EXPECT_EQ(Module().Lines(2, 1), "End Sub");
}

TEST_F(DialogTest, OkWithNothingSelectedAsksForASelectionAndSelectsTheFirst) {
    Load({"Sub A()", "End Sub", "Sub B()", "End Sub"});
    std::vector<bool> after;
    Open([&](pv::frmProcvault& d) {
        d.cmdDeselectAll.Press();
        d.cmdOK.Press();
        after = {d.lstProcedures.Selected(0), d.lstProcedures.Selected(1)};
    });
    EXPECT_TRUE(stillShown);
    EXPECT_EQ(Prompts(), std::vector<std::string>{"Procvault: You must select a procedure from the list."});
    EXPECT_EQ(after, (std::vector<bool>{true, false}));
    EXPECT_EQ(Lines(), (std::vector<std::string>{"Sub A()", "End Sub", "Sub B()", "End Sub"}));
}

TEST_F(DialogTest, SelectAndDeselectAllCoverEveryEntryAndCancelWritesNothing) {
    Load({"Sub A()", "End Sub", "Sub B()", "End Sub", "Sub C()", "End Sub"});
    int afterSelect = 0, afterDeselect = 0;
    Open([&](pv::frmProcvault& d) {
        d.cmdSelectAll.Press();
        afterSelect = d.lstProcedures.SelCount();
        d.cmdDeselectAll.Press();
        afterDeselect = d.lstProcedures.SelCount();
        d.cmdCancel.Press();
    });
    EXPECT_EQ(afterSelect, 3);
    EXPECT_EQ(afterDeselect, 0);
    EXPECT_FALSE(stillShown);  // Cancel closes and writes nothing
    EXPECT_EQ(Lines(),
              (std::vector<std::string>{"Sub A()", "End Sub", "Sub B()", "End Sub", "Sub C()", "End Sub"}));
}

TEST_F(DialogTest, SeveralProceduresOneAboveAnotherEachGetTheirBlock) {
    Load({"Sub Zed()", "    z = 1", "End Sub", "", "Sub Alpha()", "    a = 1", "End Sub"});
    Open([&](pv::frmProcvault& d) {
        d.cmdSelectAll.Press();
        d.cmdOK.Press();
    });
    EXPECT_FALSE(stillShown);
    const auto expected = codetoolstest::Split(
        "Sub Zed()|\tOn Error Goto Err_Zed|||    z = 1|Exit_Zed:|\tExit Sub||Err_Zed:|\t" +
        codetoolstest::DefaultMessageFor("Zed") +
        "|\tResume Exit_Zed||End Sub||Sub Alpha()|\tOn Error Goto Err_Alpha|||" +
        "    a = 1|Exit_Alpha:|\tExit Sub||Err_Alpha:|\t" + codetoolstest::DefaultMessageFor("Alpha") +
        "|\tResume Exit_Alpha||End Sub");
    EXPECT_EQ(Lines(), expected);
    EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(DialogTest, DoubleClickActsOnEverySelectedEntry) {
    Load({"Sub A()", "End Sub", "Sub B()", "End Sub", "Sub C()", "End Sub"});
    Open([&](pv::frmProcvault& d) {
        d.lstProcedures.ClickItem(2);  // A (selected at opening) and C
        d.lstProcedures.DoubleClickItem(2);
    });
    EXPECT_FALSE(stillShown);
    const auto lines = Lines();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "\tOn Error Goto Err_A"), 1);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "\tOn Error Goto Err_B"), 0);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "\tOn Error Goto Err_C"), 1);
}

TEST_F(DialogTest, TickedStubsWriteTheHeaderAboveEachProcedure) {
    Load({"Sub A()", "End Sub"});
    Set(pv::key::ShowCommentStubs, "True");
    HeaderFlags(true, false, false, false, false, false);
    Open([&](pv::frmProcvault& d) {
        d.chkShowCommentStubs.Press();
        d.cmdOK.Press();
    });
    EXPECT_EQ(Module().Lines(2, 1), "' Procedure: A");
    EXPECT_EQ(Module().Lines(3, 1), "Sub A()");
    EXPECT_EQ(CaretLine(), 3);
}

TEST_F(DialogTest, LibraryTabWithoutALibraryRefusesOk) {
    Load({"Sub A()", "End Sub"});
    bool selectAll = true, cmSelectAll = true, preview = true, backOnTab1 = false;
    Open([&](pv::frmProcvault& d) {
        d.ctlTab.SetTab(2);
        seen.currentTab = d.CurrentTab();
        selectAll = d.cmdSelectAll.Enabled();
        cmSelectAll = d.cmdCMSelectAll.Enabled();
        preview = d.cmdPreview.Enabled();
        d.cmdOK.Press();
        d.ctlTab.SetTab(1);
        backOnTab1 = d.cmdSelectAll.Enabled() && d.cmdDeselectAll.Enabled() && d.CurrentTab() == "1";
    });
    EXPECT_EQ(seen.currentTab, "2");
    EXPECT_FALSE(selectAll);
    EXPECT_FALSE(cmSelectAll);
    EXPECT_FALSE(preview);
    EXPECT_TRUE(backOnTab1);
    EXPECT_EQ(Prompts(),
              (std::vector<std::string>{
                  "Procvault: There is no location entered for the Procvault database file. Please enter "
                  "the correct location from the Procvault tab on the Options screen",
                  "Procvault: There are no available procedures to add."}));
}

TEST_F(DialogTest, FailedOpeningIsReportedAndShowsNothing) {
    pv::objVBE = &vbe;  // no project, so no active code pane
    pv::frmProcvault dialog(env);
    dialog.OpenProcvault();
    EXPECT_TRUE(ui.ShownForms().empty());
    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_EQ(ui.Messages()[0].title, "OpenProcvault");
    EXPECT_EQ(ui.Messages()[0].Icon(), forms::vbCritical);
}

TEST_F(DialogTest, ControlsFitTheDialogAndCaptionsFitTheirControls) {
    Load({"Sub A()", "End Sub"});
    pv::frmProcvault d(env);
    for (const auto& control : d.Controls()) {
        const forms::Control* container = control->Container();
        const long width = container == &d ? d.ScaleWidth() : container->Width();
        const long height = container == &d ? d.ScaleHeight() : container->Height();
        EXPECT_LE(control->Left() + control->Width(), width) << control->Name();
        EXPECT_LE(control->Top() + control->Height(), height) << control->Name();
    }
    for (forms::Control* c : std::initializer_list<forms::Control*>{&d.Label3, &d.Label4, &d.chkStatic,
                                                                    &d.chkShowCommentStubs, &d.cmdPreview}) {
        std::string caption;
        if (auto* label = dynamic_cast<forms::Label*>(c)) caption = label->Caption();
        if (auto* check = dynamic_cast<forms::CheckBox*>(c)) caption = check->Caption();
        if (auto* button = dynamic_cast<forms::CommandButton*>(c)) caption = button->Caption();
        EXPECT_GE(c->Width(), 100 * static_cast<long>(caption.size()) - 100) << c->Name();
    }
}

}  // namespace

namespace {

// Code written for several targets with #If, as it reads after adding handlers:
// {E:x} stands for the entry statement and its two empty lines, {B:x:Kind} for
// the exit and handler block, {H:x} for the header (comment stubs on); the module
// before has none of them. `listed`: the entries offered, joined by blanks.
struct ConditionalRow {
    const char* name;
    std::string listed;
    std::string after;
};

std::string Expand(std::string text, bool strip) {
    for (auto at = text.find('{'); at != std::string::npos; at = text.find('{')) {
        const auto close = text.find('}', at);
        const std::string tag = text.substr(at + 1, close - at - 1),
                          name = tag.substr(2, tag.find(':', 2) - 2);
        std::string by = "\tOn Error Goto Err_" + name + "||";
        if (tag[0] == 'H') by = codetoolstest::kHyphens + "|' Procedure: " + name;
        if (tag[0] == 'B')
            by = "Exit_" + name + ":|\tExit " + tag.substr(tag.rfind(':') + 1) + "||Err_" + name + ":|\t" +
                 codetoolstest::DefaultMessageFor(name) + "|\tResume Exit_" + name + "|";
        text.replace(at, close - at + (strip ? 2 : 1), strip ? "" : by);
    }
    return text;
}

class ConditionalCode : public DialogTest, public ::testing::WithParamInterface<ConditionalRow> {};

TEST_P(ConditionalCode, EveryCopyGetsOneBlockAndASecondScanListsNothing) {
    const ConditionalRow& row = GetParam();
    Load(codetoolstest::Split(Expand(row.after, true)));
    Set(pv::key::ShowCommentStubs, "True");
    HeaderFlags(true, false, false, false, false, false);
    Open([&](pv::frmProcvault& d) {
        if (d.lstProcedures.ListCount() == 0) return d.cmdCancel.Press();
        d.cmdSelectAll.Press();
        if (row.after.find("{H:") != std::string::npos) d.chkShowCommentStubs.Press();
        d.cmdOK.Press();
    });
    std::string listed;
    for (const auto& entry : seen.entries) listed += (listed.empty() ? "" : " ") + entry;
    EXPECT_EQ(listed, row.listed);
    EXPECT_EQ(Lines(), codetoolstest::Split(Expand(row.after, false)));
    seen = {};
    Open([](pv::frmProcvault& d) { d.cmdCancel.Press(); });
    EXPECT_TRUE(seen.entries.empty());
    EXPECT_TRUE(ui.Messages().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Modules, ConditionalCode,
    ::testing::Values(
        ConditionalRow{"TwoDeclarations", "Ptr",
                       "{H:Ptr}|#If VBA7 Then|Public Function Ptr(ByVal h As LongPtr) As LongPtr|#Else|"
                       "Public Function Ptr(ByVal h As Long) As Long|#End If|{E:Ptr}|    Ptr = h|"
                       "{B:Ptr:Function}|End Function"},
        ConditionalRow{
            "ThreeIndentedWithContinuations", "S",
            "  #If VBA7 Then|Sub S(ByVal a As LongPtr, _|    ByVal b As LongPtr)|  #ElseIf Win32 Then|"
            "Sub S(ByVal a As Long, _|    ByVal b As Long)|  #Else|Sub S(a, b)|  #End If|{E:S}|"
            "    a = b|{B:S:Sub}|End Sub"},
        ConditionalRow{"NestedDeclarations", "N",
                       "{H:N}|#If A Then|  #If B Then|Sub N(x As Long)|  #Else|Sub N(x As Integer)|  #End If|"
                       "#Else|Sub N(x)|#End If|{E:N}|    x = 1|{B:N:Sub}|End Sub"},
        ConditionalRow{"CopiesWithoutHandling", "W Z",
                       "#If Win64 Then|{H:W}|Private Sub W()|{E:W}|    x = 1|{B:W:Sub}|End Sub|#Else|{H:W}|"
                       "Private Sub W()|{E:W}|    x = 2|{B:W:Sub}|End Sub|#End If|{H:Z}|Sub Z()|{E:Z}|"
                       "{B:Z:Sub}|End Sub"},
        ConditionalRow{"OneCopyHandled", "W",
                       "#If Win64 Then|Function W() As Long|    On Error Resume Next|End Function|#Else|"
                       "Function W() As Long|{E:W}|{B:W:Function}|End Function|#End If"},
        ConditionalRow{"AllCopiesHandled", "",
                       "#If Win64 Then|Sub W()|    On Error Resume Next|End Sub|#Else|Sub W()|"
                       "    On Error GoTo 0|End Sub|#End If"},
        ConditionalRow{"TypeFieldNamedLikeAKeyword", "Real",
                       "Private Type T|    sUB As Long|End Type|Sub Real()|{E:Real}|{B:Real:Sub}|End Sub"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
