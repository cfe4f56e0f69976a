// Members and procedure ranges found on modules written the way VB programmers
// write them, including the constructs that fool a naive line matcher.
#include "host/Scanner.h"

#include <gtest/gtest.h>

#include "host/TestModules.h"
#include "vbrt/VbError.h"

namespace {

using hosttest::MemoryModule;
using hosttest::Text;

struct ProcRange {
    std::string name;
    host::vbext_ProcKind kind;
    long start, body, count;
};

struct MemberRow {
    std::string name;
    host::vbext_MemberType type;
};

struct ScanRow {
    std::string name;
    std::string code;
    std::vector<ProcRange> procs;
    std::vector<MemberRow> members;
    long declarationLines;
};

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
    std::vector<std::pair<std::string, int>> actual, expected;
    for (const auto& member : code.Members()) actual.emplace_back(member.Name(), member.Type());
    for (const auto& member : row.members) expected.emplace_back(member.name, member.type);
    EXPECT_EQ(actual, expected);
    EXPECT_EQ(code.CountOfDeclarationLines(), row.declarationLines);
}

using host::vbext_mt_Const;
using host::vbext_mt_Event;
using host::vbext_mt_Method;
using host::vbext_mt_Property;
using host::vbext_mt_Variable;
using host::vbext_pk_Get;
using host::vbext_pk_Let;
using host::vbext_pk_Proc;
using host::vbext_pk_Set;

const ScanRow kRows[] = {
    {"RangesOwnBlankAndCommentLinesAbove",
     Text({"Option Explicit", "", "Private mCount As Long", "", "' Adds one to the counter",
           "Public Sub Increment()", "    mCount = mCount + 1", "End Sub", "",
           "Private Function Total() As Long", "    Total = mCount", "End Function"}),
     {{"Increment", vbext_pk_Proc, 4, 6, 5}, {"Total", vbext_pk_Proc, 9, 10, 4}},
     {{"mCount", vbext_mt_Variable}, {"Increment", vbext_mt_Method}, {"Total", vbext_mt_Method}},
     3},
    {"LastProcedureRunsToModuleEnd",
     Text({"Sub Main()", "    frmMain.Show", "End Sub", "", "' Revision history:", "'   1998-03-02 first cut",
           ""}),
     {{"Main", vbext_pk_Proc, 1, 1, 7}},
     {{"Main", vbext_mt_Method}},
     0},
    {"PropertyPartsShareOneMember",
     Text({"Private mName As String", "Private mOwner As Object", "", "Public Property Get Name() As String",
           "    Name = mName", "End Property", "", "Public Property Let Name(ByVal value As String)",
           "    mName = value", "End Property", "", "Public Property Set Owner(ByVal value As Object)",
           "    Set mOwner = value", "End Property"}),
     {{"Name", vbext_pk_Get, 3, 4, 4}, {"Name", vbext_pk_Let, 7, 8, 4}, {"Owner", vbext_pk_Set, 11, 12, 4}},
     {{"mName", vbext_mt_Variable},
      {"mOwner", vbext_mt_Variable},
      {"Name", vbext_mt_Property},
      {"Owner", vbext_mt_Property}},
     2},
    {"ContinuedDeclarationIsOneStatement",
     Text({"Public Function FormatAmount( _", "    ByVal value As Double, _",
           "    Optional ByVal pattern As String = \"#,##0.00\") As String",
           "    FormatAmount = Format$(value, pattern)", "End Function", "Private Sub Other()", "End Sub"}),
     {{"FormatAmount", vbext_pk_Proc, 1, 1, 5}, {"Other", vbext_pk_Proc, 6, 6, 2}},
     {{"FormatAmount", vbext_mt_Method}, {"Other", vbext_mt_Method}},
     0},
    {"StringsHoldingQuotesAndEndSub",
     Text({"Public Sub Warn()", "    MsgBox \"Don't forget: End Sub\"",
           "    s = \"' not a comment\" & \"End Function\"", "End Sub", "Public Sub Next1()", "End Sub"}),
     {{"Warn", vbext_pk_Proc, 1, 1, 4}, {"Next1", vbext_pk_Proc, 5, 5, 2}},
     {{"Warn", vbext_mt_Method}, {"Next1", vbext_mt_Method}},
     0},
    {"NumericLabelBeforeEndSubEndsIt",
     Text({"Public Sub Legacy()", "10  On Error GoTo 100", "20  Kill strFile", "    Exit Sub", "100 End Sub",
           "Private Sub After()", "End Sub"}),
     {{"Legacy", vbext_pk_Proc, 1, 1, 5}, {"After", vbext_pk_Proc, 6, 6, 2}},
     {{"Legacy", vbext_mt_Method}, {"After", vbext_mt_Method}},
     0},
    {"ContinuedCommentSwallowsNextLine",
     Text({"Sub Cleanup()", "    ' the old version stopped here _", "    End Sub", "    Close #1", "End Sub",
           "Sub Later()", "End Sub"}),
     {{"Cleanup", vbext_pk_Proc, 1, 1, 5}, {"Later", vbext_pk_Proc, 6, 6, 2}},
     {{"Cleanup", vbext_mt_Method}, {"Later", vbext_mt_Method}},
     0},
    {"KeywordsInAnyLetterCaseAndIndented",
     Text({"option explicit", "  PRIVATE SUB Shout()", "\tdebug.print \"HI\"", "  end sub",
           "friend FUNCTION quiet()", "END FUNCTION"}),
     {{"Shout", vbext_pk_Proc, 2, 2, 3}, {"quiet", vbext_pk_Proc, 5, 5, 2}},
     {{"Shout", vbext_mt_Method}, {"quiet", vbext_mt_Method}},
     1},
    {"IdentifiersThatStartWithKeywords",
     Text({"Dim SubTotal As Currency", "Public EndDate As Date", "", "Sub Sub_Main()",
           "    If SubTotal > 0 Then", "        With frmMain", "            .Caption = EndDate",
           "        End With", "    End If", "    Select Case SubTotal", "    Case 0: Exit Sub",
           "    End Select", "    EndSub = 1", "End Sub"}),
     {{"Sub_Main", vbext_pk_Proc, 3, 4, 12}},
     {{"SubTotal", vbext_mt_Variable}, {"EndDate", vbext_mt_Variable}, {"Sub_Main", vbext_mt_Method}},
     2},
    {"EnumAndTypeBlocksAreDeclarationsOnly",
     Text({"Option Explicit", "Public Enum Colour", "    Red = 1", "    Green", "End Enum",
           "Private Type Point", "    X As Long", "    Y As Long", "End Type", "", "' Draws a point",
           "Sub Plot(p As Point)", "End Sub"}),
     {{"Plot", vbext_pk_Proc, 10, 12, 4}},
     {{"Plot", vbext_mt_Method}},
     9},
    {"DeclaresAreMethodsWithTheirOwnLines",
     Text({"Private Declare Function GetTickCount Lib \"kernel32\" () As Long", "' Suspends the thread",
           "Private Declare Sub Sleep Lib \"kernel32\" _", "    (ByVal dwMilliseconds As Long)", "",
           "' Waits a while", "Public Sub Pause()", "    Sleep 100", "End Sub"}),
     {{"GetTickCount", vbext_pk_Proc, 1, 1, 1},
      {"Sleep", vbext_pk_Proc, 3, 3, 2},
      {"Pause", vbext_pk_Proc, 5, 7, 5}},
     {{"GetTickCount", vbext_mt_Method}, {"Sleep", vbext_mt_Method}, {"Pause", vbext_mt_Method}},
     4},
    {"EventsWithEventsAndCommaLists",
     Text({"Public Event Changed(ByVal newValue As Long)", "Private WithEvents mForm As Form",
           "Private a As Long, b(1 To 3, 2) As String, c", "Const PI = 3.14159, E = 2.71828, SEP = \"a, b\"",
           "Dim x%, y$ ' counters", "Public Sub Touch()", "    RaiseEvent Changed(1)", "End Sub"}),
     {{"Changed", vbext_pk_Proc, 1, 1, 1}, {"Touch", vbext_pk_Proc, 6, 6, 3}},
     {{"Changed", vbext_mt_Event},
      {"mForm", vbext_mt_Variable},
      {"a", vbext_mt_Variable},
      {"b", vbext_mt_Variable},
      {"c", vbext_mt_Variable},
      {"PI", vbext_mt_Const},
      {"E", vbext_mt_Const},
      {"SEP", vbext_mt_Const},
      {"x", vbext_mt_Variable},
      {"y", vbext_mt_Variable},
      {"Touch", vbext_mt_Method}},
     5},
    {"DirectivesCountAsDeclarationsLocalsAreNotMembers",
     Text({"#Const DEBUG_BUILD = 1", "#If DEBUG_BUILD Then", "Private Const LOG_LEVEL = 2", "#End If", "",
           "Friend Static Function NextId() As Long", "    Static id As Long", "    Dim unused As Long",
           "    Const STEP = 1", "#If DEBUG_BUILD Then", "    Debug.Print id", "#End If",
           "    id = id + STEP", "    NextId = id", "End Function"}),
     {{"NextId", vbext_pk_Proc, 5, 6, 11}},
     {{"LOG_LEVEL", vbext_mt_Const}, {"NextId", vbext_mt_Method}},
     4},
    {"RemCommentsAndTrailingCommentOnEnd",
     Text({"Rem Utility routines", "Sub One()", "    Rem End Sub is only text here", "End Sub ' One",
           "Rem next one", "Sub Two()", "End Sub"}),
     {{"One", vbext_pk_Proc, 1, 2, 4}, {"Two", vbext_pk_Proc, 5, 6, 3}},
     {{"One", vbext_mt_Method}, {"Two", vbext_mt_Method}},
     0},
    {"ModuleWithoutProcedures",
     Text({"Option Explicit", "Public gUser As String", "Public Const APP_TITLE = \"Ledger\"",
           "' nothing else"}),
     {},
     {{"gUser", vbext_mt_Variable}, {"APP_TITLE", vbext_mt_Const}},
     3},
};

INSTANTIATE_TEST_SUITE_P(Modules, ScannerTest, testing::ValuesIn(kRows),
                         [](const auto& info) { return info.param.name; });

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
    const MissingRow& row = GetParam();
    for (auto ask : {&host::CodeModule::ProcStartLine, &host::CodeModule::ProcBodyLine,
                     &host::CodeModule::ProcCountLines}) {
        try {
            (module.Code().*ask)(row.procName, row.kind);
            ADD_FAILURE() << "no error for " << row.procName;
        } catch (const vbrt::VbError& e) {
            EXPECT_EQ(e.Number(), 35);
            EXPECT_EQ(e.Description(), "Sub or Function not defined");
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Names, MissingProcedureTest,
                         testing::Values(MissingRow{"UnknownName", "Repaint", vbext_pk_Proc},
                                         MissingRow{"PropertyAskedAsSub", "Caption", vbext_pk_Proc},
                                         MissingRow{"GetOnlyPropertyAskedAsLet", "Caption", vbext_pk_Let},
                                         MissingRow{"SubAskedAsGet", "Refresh", vbext_pk_Get},
                                         MissingRow{"LocalVariable", "Local", vbext_pk_Proc}),
                         [](const auto& info) { return info.param.name; });

TEST(ScannerLookup, IgnoresLetterCaseOfTheName) {
    MemoryModule module(
        Text({"Sub Sleep()", "End Sub", "Public Property Get Caption() As String", "End Property"}));
    EXPECT_EQ(module.Code().ProcBodyLine("SLEEP", vbext_pk_Proc), 1);
    EXPECT_EQ(module.Code().ProcStartLine("caption", vbext_pk_Get), 3);
}

TEST(ScannerCache, OneScanPerVersionAndEditsInvalidateIt) {
    MemoryModule module(Text({"Sub A()", "End Sub"}));
    host::CodeModule& code = module.Code();
    const host::ScanResult* first = &code.Scan();
    EXPECT_EQ(&code.Scan(), first);
    EXPECT_EQ(code.Scan().procs.size(), 1u);
    auto version = code.Version();
    code.InsertLines(3, Text({"", "Sub B()", "End Sub"}));
    EXPECT_GT(code.Version(), version);
    EXPECT_EQ(code.Scan().procs.size(), 2u);
    EXPECT_EQ(code.Members().Count(), 2);
    EXPECT_EQ(code.ProcStartLine("B", vbext_pk_Proc), 3);
    EXPECT_EQ(code.ProcCountLines("A", vbext_pk_Proc), 2);  // no longer the last procedure
}

TEST(ScannerMembers, ItemIsOneBasedAndChecked) {
    MemoryModule module(Text({"Dim a, b", "Sub A()", "End Sub"}));
    const host::Members& members = module.Code().Members();
    EXPECT_EQ(members.Item(1).Name(), "a");
    EXPECT_EQ(members.Item(3).Name(), "A");
    EXPECT_EQ(members.Item(3).CodeLocation(), 2);
    EXPECT_THROW(members.Item(0), vbrt::VbError);
    EXPECT_THROW(members.Item(4), vbrt::VbError);
}

}  // namespace
