// Members and procedure ranges found on modules written the way VB programmers
// write them, including the constructs that fool a naive line matcher.
#include "host/Scanner.h"

#include <gtest/gtest.h>

#include "host/TestModules.h"

namespace {

using host::vbext_pk_Get;
using host::vbext_pk_Let;
using host::vbext_pk_Proc;
using host::vbext_pk_Set;
using hosttest::MemoryModule;
using hosttest::Text;

struct ProcRange {
    std::string name;
    host::vbext_ProcKind kind;
    long start, body, count;
};

struct ScanRow {
    std::string name;
    std::string code;
    std::vector<ProcRange> procs;  // looked up by name, in any letter case
    // Declaration lines, then each member as type:name, m/p/v/c/e = method/property/variable/const/event.
    std::string summary;
};

std::string Summary(host::CodeModule& code) {
    std::string out = std::to_string(code.CountOfDeclarationLines()) + " |";
    for (const auto& member : code.Members()) {
        out += " ";
        switch (member.Type()) {
            case host::vbext_mt_Method:
                out += "m:";
                break;
            case host::vbext_mt_Property:
                out += "p:";
                break;
            case host::vbext_mt_Variable:
                out += "v:";
                break;
            case host::vbext_mt_Const:
                out += "c:";
                break;
            case host::vbext_mt_Event:
                out += "e:";
                break;
            default:
                out += "?:";
        }
        out += member.Name();
    }
    return out;
}

class ScannerTest : public testing::TestWithParam<ScanRow> {};

TEST_P(ScannerTest, FindsMembersAndRanges) {
    const ScanRow& row = GetParam();
    MemoryModule module(row.code);
    host::CodeModule& code = module.Code();
    for (const auto& proc : row.procs) {
        SCOPED_TRACE(proc.name);
        EXPECT_EQ(code.ProcStartLine(proc.name, proc.kind), proc.start);
        EXPECT_EQ(code.ProcBodyLine(proc.name, proc.kind), proc.body);
        EXPECT_EQ(code.ProcCountLines(proc.name, proc.kind), proc.count);
    }
    EXPECT_EQ(Summary(code), row.summary);
}

const ScanRow kRows[] = {
    {"RangesOwnBlankAndCommentLinesAbove",
     Text({"Option Explicit", "", "Private mCount As Long", "", "' Adds one to the counter",
           "Public Sub Increment()", "    mCount = mCount + 1", "End Sub", "",
           "Private Function Total() As Long", "    Total = mCount", "End Function"}),
     {{"Increment", vbext_pk_Proc, 4, 6, 5}, {"TOTAL", vbext_pk_Proc, 9, 10, 4}},
     "3 | v:mCount m:Increment m:Total"},
    {"LastProcedureRunsToModuleEnd",
     Text({"Sub Main()", "    frmMain.Show", "End Sub", "", "' Revision history:", "'   1998-03-02 first cut",
           ""}),
     {{"Main", vbext_pk_Proc, 1, 1, 7}},
     "0 | m:Main"},
    {"PropertyPartsShareOneMember",
     Text({"Private mName As String", "Private mOwner As Object", "", "Public Property Get Name() As String",
           "    Name = mName", "End Property", "", "Public Property Let Name(ByVal value As String)",
           "    mName = value", "End Property", "", "Public Property Set Owner(ByVal value As Object)",
           "    Set mOwner = value", "End Property"}),
     {{"Name", vbext_pk_Get, 3, 4, 4}, {"name", vbext_pk_Let, 7, 8, 4}, {"Owner", vbext_pk_Set, 11, 12, 4}},
     "2 | v:mName v:mOwner p:Name p:Owner"},
    {"ContinuedDeclarationIsOneStatement",
     Text({"Public Function FormatAmount( _", "    ByVal value As Double, _",
           "    Optional ByVal pattern As String = \"#,##0.00\") As String",
           "    FormatAmount = Format$(value, pattern)", "End Function", "Private Sub Other()", "End Sub"}),
     {{"FormatAmount", vbext_pk_Proc, 1, 1, 5}, {"Other", vbext_pk_Proc, 6, 6, 2}},
     "0 | m:FormatAmount m:Other"},
    {"StringsHoldingQuotesAndEndSub",
     Text({"Public Sub Warn()", "    MsgBox \"Don't forget: End Sub\"",
           "    s = \"' not a comment\" & \"End Function\"", "End Sub", "Public Sub Next1()", "End Sub"}),
     {{"Warn", vbext_pk_Proc, 1, 1, 4}, {"Next1", vbext_pk_Proc, 5, 5, 2}},
     "0 | m:Warn m:Next1"},
    {"NumericLabelBeforeEndSubEndsIt",
     Text({"Public Sub Legacy()", "10  On Error GoTo 100", "20  Kill strFile", "    Exit Sub", "100 End Sub",
           "Private Sub After()", "End Sub"}),
     {{"Legacy", vbext_pk_Proc, 1, 1, 5}, {"After", vbext_pk_Proc, 6, 6, 2}},
     "0 | m:Legacy m:After"},
    {"ContinuedCommentSwallowsNextLine",
     Text({"Sub Cleanup()", "    ' the old version stopped here _", "    End Sub", "    Close #1", "End Sub",
           "Sub Later()", "End Sub"}),
     {{"Cleanup", vbext_pk_Proc, 1, 1, 5}, {"Later", vbext_pk_Proc, 6, 6, 2}},
     "0 | m:Cleanup m:Later"},
    {"KeywordsInAnyLetterCaseAndIndented",
     Text({"option explicit", "  PRIVATE SUB Shout()", "\tdebug.print \"HI\"", "  end sub",
           "friend FUNCTION quiet()", "END FUNCTION"}),
     {{"Shout", vbext_pk_Proc, 2, 2, 3}, {"quiet", vbext_pk_Proc, 5, 5, 2}},
     "1 | m:Shout m:quiet"},
    {"IdentifiersThatStartWithKeywords",
     Text({"Dim SubTotal As Currency", "Public EndDate As Date", "", "Sub Sub_Main()",
           "    If SubTotal > 0 Then", "        With frmMain", "            .Caption = EndDate",
           "        End With", "    End If", "    Select Case SubTotal", "    Case 0: Exit Sub",
           "    End Select", "    EndSub = 1", "End Sub"}),
     {{"Sub_Main", vbext_pk_Proc, 3, 4, 12}},
     "2 | v:SubTotal v:EndDate m:Sub_Main"},
    {"EnumAndTypeBlocksAreDeclarationsOnly",
     Text({"Option Explicit", "Public Enum Colour", "    Red = 1", "    Green", "End Enum",
           "Private Type Point", "    X As Long", "    Y As Long", "End Type", "", "' Draws a point",
           "Sub Plot(p As Point)", "End Sub"}),
     {{"Plot", vbext_pk_Proc, 10, 12, 4}},
     "9 | m:Plot"},
    {"DeclaresAreMethodsWithTheirOwnLines",
     Text({"Private Declare Function GetTickCount Lib \"kernel32\" () As Long", "' Suspends the thread",
           "Private Declare Sub Sleep Lib \"kernel32\" _", "    (ByVal dwMilliseconds As Long)", "",
           "' Waits a while", "Public Sub Pause()", "    Sleep 100", "End Sub"}),
     {{"GetTickCount", vbext_pk_Proc, 1, 1, 1},
      {"Sleep", vbext_pk_Proc, 3, 3, 2},
      {"Pause", vbext_pk_Proc, 5, 7, 5}},
     "4 | m:GetTickCount m:Sleep m:Pause"},
    {"EventsWithEventsAndCommaLists",
     Text({"Public Event Changed(ByVal newValue As Long)", "Private WithEvents mForm As Form",
           "Private a As Long, b(1 To 3, 2) As String, c", "Const PI = 3.14159, E = 2.71828, SEP = \"a, b\"",
           "Dim x%, y$ ' counters", "Public Sub Touch()", "    RaiseEvent Changed(1)", "End Sub"}),
     {{"Changed", vbext_pk_Proc, 1, 1, 1}, {"Touch", vbext_pk_Proc, 6, 6, 3}},
     "5 | e:Changed v:mForm v:a v:b v:c c:PI c:E c:SEP v:x v:y m:Touch"},
    {"DirectivesCountAsDeclarationsLocalsAreNotMembers",
     Text({"#Const DEBUG_BUILD = 1", "#If DEBUG_BUILD Then", "Private Const LOG_LEVEL = 2", "#End If", "",
           "Friend Static Function NextId() As Long", "    Static id As Long", "    Dim unused As Long",
           "    Const STEP = 1", "#If DEBUG_BUILD Then", "    Debug.Print id", "#End If",
           "    id = id + STEP", "    NextId = id", "End Function"}),
     {{"NextId", vbext_pk_Proc, 5, 6, 11}},
     "4 | c:LOG_LEVEL m:NextId"},
    {"RemCommentsAndTrailingCommentOnEnd",
     Text({"Rem Utility routines", "Sub One()", "    Rem End Sub is only text here", "End Sub ' One",
           "Rem next one", "Sub Two()", "End Sub"}),
     {{"One", vbext_pk_Proc, 1, 2, 4}, {"Two", vbext_pk_Proc, 5, 6, 3}},
     "0 | m:One m:Two"},
    // Alternative declarations: one procedure, body line on the first one, range from the #If.
    {"DeclarationPerBranch",
     Text({"Option Explicit", "#If VBA7 Then", "Public Function Ptr(ByVal h As LongPtr) As LongPtr",
           "#ElseIf Win32 Then", "Public Function Ptr(ByVal h As Long) _", "    As Long", "#Else",
           "Public Function Ptr(h)", "#End If", "    Ptr = h", "End Function", "Sub After()", "End Sub"}),
     {{"Ptr", vbext_pk_Proc, 2, 3, 10}, {"After", vbext_pk_Proc, 12, 12, 2}},
     "1 | m:Ptr m:After"},
    // Copies per branch: listed once, body line on the first copy, range to the #End If.
    {"ProcedurePerBranchAndDeclarePerBranch",
     Text({"  #If Win64 Then", "Private Declare PtrSafe Function Tick Lib \"k\" () As LongLong", "  #Else",
           "Private Declare Function Tick Lib \"k\" () As Long", "  #End If", "Option Explicit",
           "#If Win64 Then", "Private Sub W()", "End Sub", "#Else", "  #If A Then", "Private Sub W()",
           "  #Else", "Private Sub W(x)", "  #End If", "End Sub", "#End If", "Sub Z()", "End Sub"}),
     {{"W", vbext_pk_Proc, 7, 8, 11}, {"Z", vbext_pk_Proc, 18, 18, 2}},
     "6 | m:Tick m:W m:Z"},
    {"TypeFieldsNamedLikeKeywords",
     Text({"Private Type T", "    sUB As Long", "    property As Long", "End Type", "Sub Real()", "End Sub"}),
     {{"Real", vbext_pk_Proc, 5, 5, 2}},
     "4 | m:Real"},
    {"ModuleWithoutProcedures",
     Text({"Option Explicit", "Public gUser As String", "Public Const APP_TITLE = \"Ledger\"",
           "' nothing else"}),
     {},
     "3 | v:gUser c:APP_TITLE"},
};

INSTANTIATE_TEST_SUITE_P(Modules, ScannerTest, testing::ValuesIn(kRows), hosttest::RowName);

struct MissingRow {
    std::string name;
    std::string procName;
    host::vbext_ProcKind kind;
};

class MissingProcedureTest : public testing::TestWithParam<MissingRow> {};

TEST_P(MissingProcedureTest, RaisesSubOrFunctionNotDefined) {
    MemoryModule module(Text({"Private Declare Sub Sleep Lib \"kernel32\" (ByVal ms As Long)",
                              "Public Property Get Caption() As String", "End Property", "Sub Refresh()",
                              "    Dim Local As Long", "End Sub"}));
    for (auto ask : {&host::CodeModule::ProcStartLine, &host::CodeModule::ProcBodyLine,
                     &host::CodeModule::ProcCountLines}) {
        auto error = hosttest::ErrorOf([&] { (module.Code().*ask)(GetParam().procName, GetParam().kind); });
        EXPECT_EQ(error.Number(), 35);
        EXPECT_EQ(error.Description(), "Sub or Function not defined");
    }
}

INSTANTIATE_TEST_SUITE_P(Names, MissingProcedureTest,
                         testing::Values(MissingRow{"UnknownName", "Repaint", vbext_pk_Proc},
                                         MissingRow{"PropertyAskedAsSub", "Caption", vbext_pk_Proc},
                                         MissingRow{"GetOnlyPropertyAskedAsLet", "Caption", vbext_pk_Let},
                                         MissingRow{"SubAskedAsGet", "Refresh", vbext_pk_Get},
                                         MissingRow{"LocalVariable", "Local", vbext_pk_Proc}),
                         hosttest::RowName);

TEST(ScannerCache, OneScanPerVersionAndEditsInvalidateIt) {
    MemoryModule module(Text({"Dim a, b", "Sub A()", "End Sub"}));
    host::CodeModule& code = module.Code();
    const host::ScanResult* first = &code.Scan();
    EXPECT_EQ(&code.Scan(), first);
    code.InsertLines(4, Text({"", "Sub B()", "End Sub"}));
    EXPECT_EQ(code.ProcStartLine("B", vbext_pk_Proc), 4);
    EXPECT_EQ(code.ProcCountLines("A", vbext_pk_Proc), 2);  // no longer the last procedure
    const host::Members& members = code.Members();
    EXPECT_EQ(Summary(code), "1 | v:a v:b m:A m:B");
    EXPECT_EQ(members.Item(3).CodeLocation(), 2);
    EXPECT_THROW(members.Item(0), vbrt::VbError);
    EXPECT_THROW(members.Item(5), vbrt::VbError);
}

}  // namespace
