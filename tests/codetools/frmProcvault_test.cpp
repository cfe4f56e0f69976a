#include "codetools/frmProcvault.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <sstream>

#include "CodeToolsFixture.h"

namespace {

using codetoolstest::Expand;
using codetoolstest::Split;
using codetoolstest::Strings;

class DialogTest : public codetoolstest::CodeToolsTest {
protected:
    static std::string On(bool b) { return b ? "1" : "0"; }
    static std::string Focused(forms::Form& d) { return d.ActiveControl() ? d.ActiveControl()->Name() : ""; }
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
    void Open(const std::function<void(pv::frmProcvault&)>& play = {}) {
        OpenDialog([&](pv::frmProcvault& d) {
            seen = State(d);
            listed.clear();
            for (int i = 0; i < d.lstProcedures.ListCount(); ++i)
                listed += (i ? "|" : "") + d.lstProcedures.List(i);
            if (play) play(d);
        });
    }
    // Opens the dialog on each module of the project; what it listed, by file name.
    std::map<std::string, std::string> OpenEach(host::VBE& host, void (*play)(pv::frmProcvault&)) {
        std::map<std::string, std::string> lists;
        pv::objVBE = &host;
        for (auto& component : host.ActiveVBProject().VBComponents()) {
            if (!component->HasCodeModule()) continue;
            component->Activate();
            Open(play);
            lists[component->FilePath().filename().string()] = listed;
        }
        return lists;
    }
    std::string seen, listed;
};

TEST_F(DialogTest, OpensOnTheTabWithWorkListingProceduresWithoutHandlingSortedAndStubsOnlyWhenInUse) {
    // handling words compare with letter case, and any apostrophe spoils the line
    const std::string mixed =
        "Option Explicit|Private mlngCount As Long|Private Declare Function GetTickCount Lib \"k\" ()|"
        "Private Declare Sub Sleep _|    Lib \"k\" (ByVal ms As Long)|Public Event Changed(ByVal x As Long)||"
        "Public Sub Zeta()|End Sub|' alpha computes|Private Function alpha() As Long|End Function|"
        "Public Property Get Total() As Long|End Property|Public Property Let Total(ByVal v As Long)|"
        "End Property|Sub Handled()|On Error GoTo Err_Handled|End Sub|Sub Trailing()|"
        "    On Error Resume Next ' ignore|End Sub|Property Set Item(o As Object)|End Property|Sub Lower()|"
        "on error goto E|End Sub|Sub Quoted()|    On Error GoTo E: x = \"'\"|End Sub";
    const char* const rows[][3] = {
        // module, stored ShowCommentStubs, what the user finds
        {mixed.c_str(), nullptr,
         "tab 1/1: alpha@11* Get Total@13 Let Total@15 Lower@25 Quoted@28 Set Item@23 Trailing@20 Zeta@8 | "
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
    for (const auto& [name, message] : rows) {
        ui.ClearTranscript();
        Open([&](pv::frmProcvault& d) {
            d.txtProcName.TypeText(name);
            d.cmdOK.Press();
            seen = On(d.IsShown()) + " '" + d.txtProcName.SelText() + "' selected in " + Focused(d);
        });
        EXPECT_EQ(seen + " " + std::to_string(ui.Beeps()) + " " + std::to_string(ui.Messages().at(0).buttons),
                  "1 '" + name + "' selected in txtProcName 1 " + std::to_string(forms::vbInformation));
        EXPECT_EQ(Prompts(), Strings{std::string("Procvault: ") + message});
    }
    EXPECT_EQ(Lines(), before);
}

TEST_F(DialogTest, NewProcedureFromTheExistingTabTakesKindScopeAndStaticAndClosesOnItsFirstLine) {
    const char* const rows[][5] = {
        // kind, scope, static, what follows "Sub A()|End Sub" afterwards, the caret's line
        {"optSub", "optPrivate", "", "||Private Sub Foo()|{E:Foo}||{B:Foo:Sub}|End Sub", "3"},
        {"optFunction", "optFriend", "static",
         "||Friend Static Function Foo()|{E:Foo}||{B:Foo:Function}|End Function", "3"},
        {"optProperty", "optPublic", "",
         "||Public Property Get Foo() As Variant|{E:Get_Foo}||{B:Get_Foo:Property}|End Property||"
         "Public Property Let Foo(varArgument)|{E:Let_Foo}||{B:Let_Foo:Property}|End Property",
         "17"}};  // property parts get prefixed labels
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
        EXPECT_EQ(seen + " " + On(shown), "txtProcName 0");
        EXPECT_EQ(Lines(), Expand(std::string("Sub A()|End Sub") + row[3]));  // A gets no handler
        EXPECT_EQ(CaretLine(), std::stol(row[4])) << row[3];
    }
    EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(DialogTest, OkWithNothingSelectedAsksForOneAndADoubleClickGivesEverySelectedProcedureItsBlock) {
    Load(Split("Sub Zed()|    z = 1|End Sub||Sub Alpha()|    a = 1|End Sub|Sub C()|End Sub"));
    Open([&](pv::frmProcvault& d) {
        d.cmdDeselectAll.Press();
        d.cmdOK.Press();
        seen = On(d.IsShown()) + On(d.lstProcedures.Selected(0)) + On(d.lstProcedures.Selected(1));
        d.lstProcedures.ClickItem(2);  // Alpha (selected for the user) and Zed
        d.lstProcedures.DoubleClickItem(2);
    });
    EXPECT_EQ(seen + On(shown), "1100");
    EXPECT_EQ(Prompts(), Strings{"Procvault: You must select a procedure from the list."});
    EXPECT_EQ(Lines(),
              Expand("Sub Zed()|{E:Zed}|    z = 1|{B:Zed:Sub}|End Sub||Sub Alpha()|{E:Alpha}|    a = 1|"
                     "{B:Alpha:Sub}|End Sub|Sub C()|End Sub"));
}

TEST_F(DialogTest, FailedOpeningIsReportedAndShowsNothing) {
    pv::objVBE = &vbe;  // no project, so no active code pane
    pv::frmProcvault d(env);
    d.OpenProcvault();
    EXPECT_TRUE(ui.ShownForms().empty());
    EXPECT_EQ(Prompts(), Strings{"OpenProcvault: Object variable or With block variable not set 91"});
    EXPECT_EQ(ui.Messages()[0].Icon(), forms::vbCritical);
}

TEST_F(DialogTest, ConditionalCopiesEachGetOneBlockAndASecondScanListsNothing) {
    const std::pair<const char*, const char*> rows[] = {
        // the entries offered, the module after (comment stubs ticked where a header shows)
        // Per-branch declarations over one body: an entry below each, so the compiled one is armed.
        {"Ptr",
         "{H:Ptr}|#If VBA7 Then|Public Function Ptr(ByVal h As LongPtr) As LongPtr|{E:Ptr}|#Else|"
         "Public Function Ptr(ByVal h As Long) As Long|{E:Ptr}|#End If|    Ptr = h|{B:Ptr:Function}|End Function"},
        {"S",
         "  #If VBA7 Then|Sub S(ByVal a As LongPtr, _|    ByVal b As LongPtr)|{E:S}|  #ElseIf Win32 Then|"
         "Sub S(ByVal a As Long, _|    b As Long)|{E:S}|  #Else|Sub S(a, b)|{E:S}|  #End If|{B:S:Sub}|End Sub"},
        {"N",
         "{H:N}|#If A Then|  #If B Then|Sub N(x As Long)|{E:N}|  #Else|Sub N(x As Integer)|{E:N}|  #End If|#Else|"
         "Sub N(x)|{E:N}|#End If|{B:N:Sub}|End Sub"},
        // A procedure above a handled one in the same branch is still its own.
        {"Setup|Teardown",
         "#If UNIT_TEST = 1 Then|{H:Setup}|Private Sub Setup()|{E:Setup}|    n = 0|{B:Setup:Sub}|End Sub|"
         "Private Sub Verify()|    On Error GoTo Failed|End Sub|{H:Teardown}|Private Sub Teardown()|{E:Teardown}|"
         "{B:Teardown:Sub}|End Sub|#End If"},
        // In a nested group, above a procedure whose #Else copy is handled.
        {"Pre|Q",
         "#If A Then|  #If B Then|{H:Pre}|Sub Pre()|{E:Pre}|{B:Pre:Sub}|End Sub|{H:Q}|Sub Q()|{E:Q}|    q = 1|"
         "{B:Q:Sub}|End Sub|  #End If|#Else|Sub Q()|    On Error GoTo 0|End Sub|#End If"},
        // A whole module written twice, in another order, B handled in one half only.
        {"A|B",
         "#If NEW_TRANSPORT Then|{H:A}|Sub A()|{E:A}|{B:A:Sub}|End Sub|Sub B()|    On Error Resume Next|End Sub|"
         "#Else|{H:B}|Sub B()|{E:B}|{B:B:Sub}|End Sub|{H:A}|Sub A()|{E:A}|{B:A:Sub}|End Sub|#End If"},
        {"W|Z",
         "#If Win64 Then|{H:W}|Private Sub W()|{E:W}|    x = 1|{B:W:Sub}|End Sub|#Else|{H:W}|Private Sub W()|"
         "{E:W}|    x = 2|{B:W:Sub}|End Sub|#End If|{H:Z}|Sub Z()|{E:Z}|{B:Z:Sub}|End Sub"},
        {"W",  // one copy handled
         "#If Win64 Then|Function W() As Long|    On Error Resume Next|End Function|#Else|"
         "Function W() As Long|{E:W}|{B:W:Function}|End Function|#End If"},
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

TEST_F(DialogTest, InventoryProjectHandlersForEveryListedProcedureLeaveNothingToListAndNoOtherByteChanged) {
    std::map<std::string, std::string> original;
    for (const auto& entry : std::filesystem::directory_iterator(testsupport::ExamplesDir() / "Inventory")) {
        original[entry.path().filename().string()] = testsupport::ReadBytes(entry.path());
        std::filesystem::copy_file(entry.path(), dir / entry.path().filename());
    }
    vbe.OpenProject(dir / "Inventory.vbp");
    auto listed = OpenEach(vbe, [](pv::frmProcvault& d) { d.cmdSelectAll.Press(), d.cmdOK.Press(); });
    EXPECT_EQ(listed.at("Module1.bas"), "AddItem|ElapsedSeconds|ReadSetting|ShowTotals");
    EXPECT_EQ(listed.at("clsItem.cls"), "Get Code|Get Quantity|Let Code|Let Price|Let Quantity|Value");
    vbe.ActiveVBProject().SaveAll();
    EXPECT_TRUE(ui.Messages().empty());
    host::VBE reopened;
    reopened.OpenProject(dir / "Inventory.vbp");
    for (const auto& [file, entries] : OpenEach(reopened, [](pv::frmProcvault& d) { d.cmdCancel.Press(); }))
        EXPECT_EQ(entries, "") << file;
    // Each original line (with its CR) is still there, in order; the rest is ten generated lines each.
    const char* generated[] = {"\r",   "\tOn Error Goto Err_",     "Exit_",         "\tExit ",
                               "Err_", "\tMsgBox Err.Description", "\tResume Exit_"};
    for (const auto& [file, bytes] : original) {
        std::istringstream before(bytes), after(testsupport::ReadBytes(dir / file));
        std::string want, line;
        long added = 0, missing = std::getline(before, want) ? 1 : 0;
        for (; std::getline(after, line);) {
            if (missing && line == want) {
                missing = std::getline(before, want) ? 1 : 0;
                continue;
            }
            ++added;
            EXPECT_TRUE(!line.empty() && line.back() == '\r' &&
                        std::any_of(std::begin(generated), std::end(generated),
                                    [&](auto g) { return line.rfind(g, 0) == 0; }))
                << file << ": " << line;
        }
        const std::string& names = listed[file];
        EXPECT_EQ(missing, 0) << file;
        EXPECT_EQ(added, names.empty() ? 0 : 10 + 10 * std::count(names.begin(), names.end(), '|')) << file;
    }
}

}  // namespace
