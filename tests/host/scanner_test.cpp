// Members and procedure ranges on modules written the way VB programmers write them, including what fools
// a naive line matcher; and the cached scan, which edits either patch (equal to a fresh scan) or drop.
#include "host/Scanner.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <sstream>
#include <tuple>

#include "host/ModuleText.h"
#include "host/TestModules.h"

namespace {

using host::vbext_pk_Get;
using host::vbext_pk_Let;
using host::vbext_pk_Proc;
using hosttest::MemoryModule;

struct ScanRow {
    std::string name, code;
    std::string summary;  // as Summary gives it
};

// Declaration lines; each member as type:name, m/p/v/e/c = method/property/variable/event/const; then each
// procedure's start line, body line and line count, looked up by its name in capitals.
std::string Summary(host::CodeModule& code) {
    static const char* const kKinds[] = {"", "Let ", "Set ", "Get "};
    std::string out = std::to_string(code.CountOfDeclarationLines()) + " |";
    for (const auto& member : code.Members())
        out += std::string(" ") + "?mpvec"[member.Type()] + ":" + member.Name();
    out += " |";
    for (const auto& proc : code.Scan().procs) {
        std::string name = proc.name;
        for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        out += std::string(" ") + kKinds[proc.kind] + proc.name + "=" +
               std::to_string(code.ProcStartLine(name, proc.kind)) + "," +
               std::to_string(code.ProcBodyLine(name, proc.kind)) + "," +
               std::to_string(code.ProcCountLines(name, proc.kind));
    }
    return out;
}

const ScanRow kRows[] = {
    {"RangesOwnBlankAndCommentLinesAbove",
     "Option Explicit\n\nPrivate mCount As Long\n\n' Adds one to the counter\nPublic Sub Increment()\n"
     "    mCount = mCount + 1\nEnd Sub\n\nPrivate Function Total() As Long\n    Total = mCount\n"
     "End Function",
     "3 | v:mCount m:Increment m:Total | Increment=4,6,5 Total=9,10,4"},
    {"LastProcedureRunsToModuleEnd",
     "Sub Main()\n    frmMain.Show\nEnd Sub\n\n' Revision history:\n'   1998-03-02 first cut\n",
     "0 | m:Main | Main=1,1,7"},
    {"PropertyPartsShareOneMember",
     "Private mName As String\nPrivate mOwner As Object\n\nPublic Property Get Name() As String\n"
     "    Name = mName\nEnd Property\n\nPublic Property Let Name(ByVal value As String)\n"
     "    mName = value\nEnd Property\n\nPublic Property Set Owner(ByVal value As Object)\n"
     "    Set mOwner = value\nEnd Property",
     "2 | v:mName v:mOwner p:Name p:Owner | Get Name=3,4,4 Let Name=7,8,4 Set Owner=11,12,4"},
    {"ContinuedDeclarationIsOneStatement",
     "Public Function FormatAmount( _\n    ByVal value As Double, _\n"
     "    Optional ByVal pattern As String = \"#,##0.00\") As String\n"
     "    FormatAmount = Format$(value, pattern)\nEnd Function\nPrivate Sub Other()\nEnd Sub",
     "0 | m:FormatAmount m:Other | FormatAmount=1,1,5 Other=6,6,2"},
    {"StringsHoldingQuotesAndEndSub",
     "Public Sub Warn()\n    MsgBox \"Don't forget: End Sub\"\n"
     "    s = \"' not a comment\" & \"End Function\"\nEnd Sub\nPublic Sub Next1()\nEnd Sub",
     "0 | m:Warn m:Next1 | Warn=1,1,4 Next1=5,5,2"},
    {"NumericLabelBeforeEndSubEndsIt",
     "Public Sub Legacy()\n10  On Error GoTo 100\n20  Kill strFile\n    Exit Sub\n100 End Sub\n"
     "Private Sub After()\nEnd Sub",
     "0 | m:Legacy m:After | Legacy=1,1,5 After=6,6,2"},
    {"ContinuedCommentSwallowsNextLine",
     "Sub Cleanup()\n    ' the old version stopped here _\n    End Sub\n    Close #1\nEnd Sub\n"
     "Sub Later()\nEnd Sub",
     "0 | m:Cleanup m:Later | Cleanup=1,1,5 Later=6,6,2"},
    {"KeywordsInAnyLetterCaseAndIndented",
     "option explicit\n  PRIVATE SUB Shout()\n\tdebug.print \"HI\"\n  end sub\nfriend FUNCTION quiet()\n"
     "END FUNCTION",
     "1 | m:Shout m:quiet | Shout=2,2,3 quiet=5,5,2"},
    {"IdentifiersThatStartWithKeywords",
     "Dim SubTotal As Currency\nPublic EndDate As Date\n\nSub Sub_Main()\n    If SubTotal > 0 Then\n"
     "        With frmMain\n            .Caption = EndDate\n        End With\n    End If\n"
     "    Select Case SubTotal\n    Case 0: Exit Sub\n    End Select\n    EndSub = 1\nEnd Sub",
     "2 | v:SubTotal v:EndDate m:Sub_Main | Sub_Main=3,4,12"},
    {"EnumAndTypeBlocksAreDeclarationsOnly",
     "Option Explicit\nPublic Enum Colour\n    Red = 1\n    Green\nEnd Enum\nPrivate Type Point\n"
     "    X As Long\n    Y As Long\nEnd Type\n\n' Draws a point\nSub Plot(p As Point)\nEnd Sub",
     "9 | m:Plot | Plot=10,12,4"},
    {"DeclaresAreMethodsWithTheirOwnLines",
     "Private Declare Function GetTickCount Lib \"kernel32\" () As Long\n' Suspends the thread\n"
     "Private Declare Sub Sleep Lib \"kernel32\" _\n    (ByVal dwMilliseconds As Long)\n\n"
     "' Waits a while\nPublic Sub Pause()\n    Sleep 100\nEnd Sub",
     "4 | m:GetTickCount m:Sleep m:Pause | GetTickCount=1,1,1 Sleep=3,3,2 Pause=5,7,5"},
    {"EventsWithEventsAndCommaLists",
     "Public Event Changed(ByVal newValue As Long)\nPrivate WithEvents mForm As Form\n"
     "Private a As Long, b(1 To 3, 2) As String, c\nConst PI = 3.14159, E = 2.71828, SEP = \"a, b\"\n"
     "Dim x%, y$ ' counters\nPublic Sub Touch()\n    RaiseEvent Changed(1)\nEnd Sub",
     "5 | e:Changed v:mForm v:a v:b v:c c:PI c:E c:SEP v:x v:y m:Touch | Changed=1,1,1 Touch=6,6,3"},
    {"DirectivesCountAsDeclarationsLocalsAreNotMembers",
     "#Const DEBUG_BUILD = 1\n#If DEBUG_BUILD Then\nPrivate Const LOG_LEVEL = 2\n#End If\n\n"
     "Friend Static Function NextId() As Long\n    Static id As Long\n    Dim unused As Long\n"
     "    Const STEP = 1\n#If DEBUG_BUILD Then\n    Debug.Print id\n#End If\n    id = id + STEP\n"
     "    NextId = id\nEnd Function",
     "4 | c:LOG_LEVEL m:NextId | NextId=5,6,11"},
    {"RemCommentsAndTrailingCommentOnEnd",
     "Rem Utility routines\nSub One()\n    Rem End Sub is only text here\nEnd Sub ' One\nRem next one\n"
     "Sub Two()\nEnd Sub",
     "0 | m:One m:Two | One=1,2,4 Two=5,6,3"},
    // Alternative declarations: one procedure, body line on the first one, range from the #If.
    {"DeclarationPerBranch",
     "Option Explicit\n#If VBA7 Then\nPublic Function Ptr(ByVal h As LongPtr) As LongPtr\n"
     "#ElseIf Win32 Then\nPublic Function Ptr(ByVal h As Long) _\n    As Long\n#Else\n"
     "Public Function Ptr(h)\n#End If\n    Ptr = h\nEnd Function\nSub After()\nEnd Sub",
     "1 | m:Ptr m:After | Ptr=2,3,10 After=12,12,2"},
    // Copies per branch: listed once, body line on the first copy, range to the #End If.
    {"ProcedurePerBranchAndDeclarePerBranch",
     "  #If Win64 Then\nPrivate Declare PtrSafe Function Tick Lib \"k\" () As LongLong\n  #Else\n"
     "Private Declare Function Tick Lib \"k\" () As Long\n  #End If\nOption Explicit\n#If Win64 Then\n"
     "Private Sub W()\nEnd Sub\n#Else\n  #If A Then\nPrivate Sub W()\n  #Else\nPrivate Sub W(x)\n"
     "  #End If\nEnd Sub\n#End If\nSub Z()\nEnd Sub",
     "6 | m:Tick m:W m:Z | Tick=2,2,1 W=7,8,11 Z=18,18,2"},
    // Neighbours in one branch are procedures of their own: none reaches the #End If.
    {"IndependentProceduresInOneGroup",
     "#If UNIT_TEST = 1 Then\nPrivate Sub Setup()\n    n = 0\nEnd Sub\nPrivate Sub Verify()\n"
     "    On Error GoTo Failed\nEnd Sub\n  #If DEEP Then\nSub Deep()\nEnd Sub\n  #End If\n"
     "Private Sub Teardown()\nEnd Sub\n#End If\nSub Main()\nEnd Sub",
     "0 | m:Setup m:Verify m:Deep m:Teardown m:Main | Setup=1,2,4 Verify=5,5,3 Deep=8,9,3 Teardown=11,12,3 "
     "Main=14,15,3"},
    // A module written twice, its procedures in another order in each half.
    {"WholeModuleOncePerBranchInAnotherOrder",
     "#If NEW_TRANSPORT Then\nSub A()\nEnd Sub\nSub B()\nEnd Sub\n#Else\nSub B()\nEnd Sub\nSub A()\n"
     "End Sub\n#End If\nSub Z()\nEnd Sub",
     "0 | m:A m:B m:Z | A=1,2,11 B=4,4,8 Z=12,12,2"},
    {"OneLineProcedureEndsOnItsLine",
     "Sub A(): x = 1: End Sub\nSub B(Optional s = \":End Sub\")\n    y = 2 ' : End Sub\nEnd Sub",
     "0 | m:A m:B | A=1,1,1 B=2,2,3"},
    {"TypeFieldsNamedLikeKeywords",
     "Private Type T\n    sUB As Long\n    property As Long\nEnd Type\nSub Real()\nEnd Sub",
     "4 | m:Real | Real=5,5,2"},
    {"ModuleWithoutProcedures",
     "Option Explicit\nPublic gUser As String\nPublic Const APP_TITLE = \"Ledger\"\n' nothing else",
     "3 | v:gUser c:APP_TITLE |"},
};

TEST(Scanner, FindsMembersAndRanges) {
    for (const auto& row : kRows) {
        MemoryModule module(row.code);
        EXPECT_EQ(Summary(module.Code()), row.summary) << row.name;
    }
}

// A missing name, a name of the wrong kind, a local's name.
TEST(ScannerLookups, MissingProcedureRaisesSubOrFunctionNotDefined) {
    MemoryModule module(
        "Public Property Get Caption() As String\nEnd Property\nSub Refresh()\n    Dim Local\nEnd Sub");
    for (const auto& [name, kind] : {std::pair("Repaint", vbext_pk_Proc),
                                     {"Caption", vbext_pk_Let},
                                     {"Refresh", vbext_pk_Get},
                                     {"Local", vbext_pk_Proc}})
        for (auto ask : {&host::CodeModule::ProcStartLine, &host::CodeModule::ProcBodyLine,
                         &host::CodeModule::ProcCountLines}) {
            auto error = hosttest::ErrorOf([&] { (module.Code().*ask)(name, kind); });
            EXPECT_EQ(std::to_string(error.Number()) + " " + error.Description(),
                      "35 Sub or Function not defined")
                << name << kind;
        }
}

// Everything a scan found, one line per procedure and member, for comparing two scans.
std::string Dump(const host::ScanResult& scan) {
    std::ostringstream out;
    out << "declarations " << scan.declarationLines << " last " << scan.lastBodyProc
        << (scan.openAtEnd ? " open\n" : "\n");
    for (const auto& p : scan.procs) {
        out << p.name << ' ' << p.kind << ' ' << p.isDeclare << p.isEvent << ' ' << p.startLine << '/'
            << p.bodyLine << '/' << p.declEndLine << '/' << p.endLine << '/' << p.rangeEndLine << '/'
            << p.groupEndLine << ' ' << p.closed << p.oneLine;
        for (const auto& c : host::CopiesOf(scan, p)) {
            out << " [" << c.headerLine << '/' << c.declLine << '/' << c.endLine << '/' << c.closed << c.oneLine;
            for (long entry : c.declEndLines) out << ' ' << entry;
            out << ']';
        }
        out << '\n';
    }
    for (const auto& m : scan.members) out << m.Name() << ' ' << m.Type() << ' ' << m.CodeLocation() << '\n';
    for (const auto& [key, at] : std::map<std::string, int>(scan.index.begin(), scan.index.end()))
        out << key << '=' << at << ' ';
    return out.str();
}

// The cached scan and the cached Members against a fresh scan: "" when they agree.
std::string CheckAgainstFreshScan(host::CodeModule& code) {
    host::ScanResult fresh = host::ScanModule(code.Text());
    std::string got = Dump(code.Scan()), want = Dump(fresh);
    if (got != want) return "patched:\n" + got + "\nfresh:\n" + want;
    long index = 1;
    for (const auto& member : fresh.members)
        if (code.Members().Item(index++).CodeLocation() != member.CodeLocation())
            return "Members item " + member.Name() + " not moved";
    return "";
}

TEST(ScanPatch, NeutralEditsPatchTheScanOthersDropIt) {
    const std::string twoProcs =
        "Option Explicit\nPrivate mTotal As Long\n\n' Adds\nPublic Sub Add(ByVal n As Long)\n    mTotal = "
        "mTotal + _\n"
        "        n\nEnd Sub\nPrivate Function Total() As Long\n    Total = mTotal\nEnd Function\n' history";
    const std::string declares =
        "Public Event Changed()\nPrivate Declare Sub Sleep Lib \"kernel32\" _\n    (ByVal ms As Long)\n"
        "Public Enum Shade\n    Light = 1\n\n    Dark\nEnd Enum\nSub Wait()\n    Sleep 10\nEnd Sub";
    // Each edit: Insert, Delete (text is the line count) or Replace at a line, and whether the scan is kept.
    const std::tuple<std::string, char, long, std::string, bool> rows[] = {
        {twoProcs, 'I', 9, "' totals\r\n", true},
        {twoProcs, 'I', 10, "    On Error GoTo Fail\r\n\r\n", true},
        {twoProcs, 'I', 1, "Option Compare Text", false},
        {twoProcs, 'I', 7, "    n = n", false},  // after a continued line
        {twoProcs, 'I', 10, "100 End Sub", false},
        {declares, 'I', 3, "' waits", false},                              // inside the continued Declare
        {"Dim a _\n    As Long\nSub A()\nEnd Sub", 'I', 2, "' x", false},  // the first line continued
        {declares, 'I', 6, "", true},
        {"Sub A()\n    x = _ _\n\nEnd Sub", 'I', 4, "", false},
        {"Sub A()\n    x = 1", 'I', 3, "' more", false},
        {"", 'I', 1, "' first", true},
        // A statement above a declaration inside an unfinished procedure moves where its range starts.
        {"#If X Then\n#If A Then\nFunction F() As Long\n#Else\nPrivate Sub W(x)\n#End If\nEnd Sub\nFunction "
         "F() As "
         "Long\nEnd Sub\n#End If",
         'I', 5, "    x = x + 1", false}};
    for (const auto& [before, op, line, text, keepsScan] : rows) {
        MemoryModule module(before);
        host::CodeModule& code = module.Code();
        code.Members();  // both caches filled
        bool current = false;
        std::string seen;  // what a listener finds: the scan of the edited module already
        code.OnLinesChanged(
            [&](long, long, long) { current = code.ScanIsCurrent(), seen = Dump(code.Scan()); });
        if (op == 'I') code.InsertLines(line, text);
        if (op == 'D') code.DeleteLines(line, std::stol(text));
        if (op == 'R') code.ReplaceLine(line, text);
        SCOPED_TRACE(before + " " + op + std::to_string(line) + " " + text);
        EXPECT_EQ(current, keepsScan);
        EXPECT_EQ(seen, Dump(host::ScanModule(code.Text())));
        EXPECT_EQ(CheckAgainstFreshScan(code), "");
    }
}

// Lines edits draw from, split at '|': the first pool never changes the
// structure inside a body, the second may.
const std::vector<std::string> kBodyLines = hosttest::Split(
    "    x = x + 1||    ' note|Rem remark|10  y = 2|Exit_A:|    Dim z As Long|    If x Then Exit Sub|"
    "    s = \"End Sub\"|    End If|    Const K = 1",
    '|');
const std::vector<std::string> kOtherLines = hosttest::Split(
    "End Sub|Sub Q()|Function F() As Long|Property Get P()|Property Let P(v)|End Property|#If X Then|"
    "#End If|    a = _|' comment _|Enum E|End Enum|Type T|End Type|Attribute Q.VB_Description = \"d\"|"
    "Public v As Long|Private Declare Sub S Lib \"k\" ()|Public Event Ev()|Option Explicit|100 End Sub|"
    "x _ _|End Function",
    '|');

// Modules made of the scanner cases above, edited at random lines: the cache must always match a fresh
// scan, and the text a plain vector edited alike.
TEST(ScanPatch, RandomEditsMatchAFreshScanAndAPlainVector) {
    long kept = 0, edits = 0;
    for (unsigned seed = 1; seed <= 60; ++seed) {
        std::mt19937 rng(seed);
        auto pick = [&rng](long first, long last) {
            return std::uniform_int_distribution<long>(first, last)(rng);
        };
        std::string text = "' start";
        for (long n = pick(2, 12); n > 0; --n) text += "\n" + kRows[pick(0, std::size(kRows) - 1)].code;
        MemoryModule module(text);
        host::CodeModule& code = module.Code();
        std::vector<std::string> model = hosttest::Split(code.AllText(), '\n');
        for (int step = 0; step < 300; ++step, ++edits) {
            code.Members();
            std::vector<std::string> lines(static_cast<std::size_t>(pick(1, 3)));
            std::string joined;
            for (auto& line : lines) {
                const auto& pool = pick(0, 9) == 0 ? kOtherLines : kBodyLines;
                joined += (joined.empty() && &line == &lines[0] ? "" : "\r\n") +
                          (line = pool[pick(0, pool.size() - 1)]);
            }
            // Insert (twice as often), delete up to three lines or replace one, at the 0-based line at.
            long count = static_cast<long>(model.size()), op = count == 0 ? 0 : pick(0, 3);
            long at = pick(0, op <= 1 ? count : count - 1),
                 removed = op == 2 ? pick(1, std::min(3L, count - at)) : op == 3;
            if (op <= 1) code.InsertLines(at + 1, joined);
            if (op == 2) code.DeleteLines(at + 1, removed);
            if (op == 3) code.ReplaceLine(at + 1, joined);
            model.erase(model.begin() + at, model.begin() + at + removed);
            if (op != 2) model.insert(model.begin() + at, lines.begin(), lines.end());
            kept += code.ScanIsCurrent();
            if (std::string diff = CheckAgainstFreshScan(code); !diff.empty()) {
                ADD_FAILURE() << "seed " << seed << " step " << step << ": " << diff << "\n"
                              << code.AllText();
                break;
            }
            // An open module is never patched: close a stray Sub, Enum or #If line again.
            if (code.Scan().openAtEnd) {
                code.InsertLines(code.CountOfLines() + 1, "End Sub\r\nEnd Type\r\n#End If");
                model.insert(model.end(), {"End Sub", "End Type", "#End If"});
            }
        }
        EXPECT_EQ(hosttest::Split(code.AllText(), '\n'), model) << "seed " << seed;
    }
    // Random positions often fall outside bodies: unless a quarter are patched, the checks prove little.
    EXPECT_GT(kept * 4, edits);
}

}  // namespace
