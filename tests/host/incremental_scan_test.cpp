// Edits that keep the cached scan must leave it equal to a fresh scan; edits
// that may change the module's structure must drop it instead.
#include <gtest/gtest.h>

#include <map>
#include <random>
#include <sstream>

#include "host/ModuleText.h"
#include "host/Scanner.h"
#include "host/TestModules.h"

namespace {

using hosttest::MemoryModule;
using hosttest::Text;

// Everything a scan found, one line per procedure and member, for comparing two scans.
std::string Dump(const host::ScanResult& scan) {
    std::ostringstream out;
    out << "declarations " << scan.declarationLines << (scan.openAtEnd ? " open\n" : "\n");
    for (const auto& p : scan.procs)
        out << p.name << ' ' << p.kind << ' ' << p.isDeclare << p.isEvent << ' ' << p.startLine << '/'
            << p.bodyLine << '/' << p.declEndLine << '/' << p.endLine << '/' << p.rangeEndLine << '/'
            << p.groupEndLine << '\n';
    for (const auto& m : scan.members) out << m.Name() << ' ' << m.Type() << ' ' << m.CodeLocation() << '\n';
    std::map<std::string, int> index(scan.index.begin(), scan.index.end());
    for (const auto& [key, at] : index) out << key << '=' << at << ' ';
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

enum class Op { Insert, Delete, Replace };

struct EditRow {
    std::string name;
    std::string code;
    Op op;
    long line;
    std::string text;  // inserted or replacing text; for Delete the line count as digits
    bool keepsScan;
};

void ApplyEdit(host::CodeModule& code, Op op, long line, const std::string& text) {
    if (op == Op::Insert) code.InsertLines(line, text);
    if (op == Op::Delete) code.DeleteLines(line, std::stol(text));
    if (op == Op::Replace) code.ReplaceLine(line, text);
}

class NeutralEditTest : public testing::TestWithParam<EditRow> {};

TEST_P(NeutralEditTest, PatchesOrDropsTheScan) {
    const EditRow& row = GetParam();
    MemoryModule module(row.code);
    host::CodeModule& code = module.Code();
    code.Members();  // both caches filled
    ApplyEdit(code, row.op, row.line, row.text);
    EXPECT_EQ(code.ScanIsCurrent(), row.keepsScan);
    EXPECT_EQ(CheckAgainstFreshScan(code), "");
}

const std::string kTwoProcs =
    Text({"Option Explicit", "Private mTotal As Long", "", "' Adds", "Public Sub Add(ByVal n As Long)",
          "    mTotal = mTotal + _", "        n", "End Sub", "Private Function Total() As Long",
          "    Total = mTotal", "End Function", "' history"});
const std::string kDeclares = Text({"Public Event Changed()", "Private Declare Sub Sleep Lib \"kernel32\" _",
                                    "    (ByVal ms As Long)", "Public Enum Shade", "    Light = 1", "",
                                    "    Dark", "End Enum", "Sub Wait()", "    Sleep 10", "End Sub"});

const EditRow kEditRows[] = {
    {"CommentRightAfterPreviousEnd", kTwoProcs, Op::Insert, 9, "' totals\r\n", true},
    {"StatementBeforeEndLine", kTwoProcs, Op::Insert, 11, "    Debug.Print Total", true},
    {"HandlerAfterDeclaration", kTwoProcs, Op::Insert, 10, "    On Error GoTo Fail\r\n\r\n", true},
    {"CommentAtLineOne", kTwoProcs, Op::Insert, 1, "' module header", true},
    {"StatementAtLineOne", kTwoProcs, Op::Insert, 1, "Option Compare Text", false},
    {"AppendBlankAfterLastLine", kTwoProcs, Op::Insert, 13, "\r\n", true},
    {"AppendSubAfterLastLine", kTwoProcs, Op::Insert, 13, "Sub More()\r\nEnd Sub", false},
    {"DeleteLastLineOfBody", kTwoProcs, Op::Delete, 10, "1", true},
    {"DeleteEndLine", kTwoProcs, Op::Delete, 11, "1", false},
    {"DeleteDeclarationLine", kTwoProcs, Op::Delete, 9, "1", false},
    {"DeleteTrailingComment", kTwoProcs, Op::Delete, 12, "1", true},
    {"DeleteCommentAboveProcedure", kTwoProcs, Op::Delete, 3, "2", true},
    {"AfterContinuedLine", kTwoProcs, Op::Insert, 7, "    n = n", false},
    {"DeleteContinuationTail", kTwoProcs, Op::Delete, 7, "1", false},
    {"ContinuedCommentInBody", kTwoProcs, Op::Insert, 8, "    ' swallows End Sub _", false},
    {"EndSubInBody", kTwoProcs, Op::Insert, 10, "    End Sub", false},
    {"LabelledEndSubInBody", kTwoProcs, Op::Insert, 10, "100 End Sub", false},
    {"LabelsInBody", kTwoProcs, Op::Insert, 11, "Fail:\r\n10  Resume Next", true},
    {"DirectiveInBody", kTwoProcs, Op::Insert, 10, "#If DEBUG_BUILD Then", false},
    {"AttributeInBody", kTwoProcs, Op::Insert, 10, "Attribute Total.VB_Description = \"x\"", false},
    {"StatementBetweenProcedures", kTwoProcs, Op::Insert, 9, "Dim mLater As Long", false},
    {"ReplaceBodyLineWithComment", kTwoProcs, Op::Replace, 10, "'    Total = mTotal", true},
    {"ReplaceCommentWithTwoComments", kTwoProcs, Op::Replace, 4, "' Adds\r\n' n to the total", true},
    {"ReplaceCommentWithCode", kTwoProcs, Op::Replace, 12, "Sub Late()", false},
    {"ReplaceEndLine", kTwoProcs, Op::Replace, 11, "' End Function", false},
    {"CommentBeforeDeclare", kDeclares, Op::Insert, 2, "' waits", true},
    {"InsideContinuedDeclare", kDeclares, Op::Insert, 3, "' waits", false},
    {"BlankInsideEnum", kDeclares, Op::Insert, 6, "", true},
    {"DeleteBlankInsideEnum", kDeclares, Op::Delete, 6, "1", true},
    {"EnumMemberLine", kDeclares, Op::Insert, 6, "    Medium", false},
    {"BlankAfterDoubleContinuation", Text({"Sub A()", "    x = _ _", "", "End Sub"}), Op::Insert, 4, "",
     false},
    {"UnterminatedProcedure", Text({"Sub A()", "    x = 1"}), Op::Insert, 3, "' more", false},
    {"UnterminatedEnum", Text({"Enum E", "    A"}), Op::Insert, 3, "", false},
    {"EmptyModule", "", Op::Insert, 1, "' first", true},
};

INSTANTIATE_TEST_SUITE_P(Edits, NeutralEditTest, testing::ValuesIn(kEditRows),
                         [](const auto& info) { return info.param.name; });

TEST(NeutralEdit, ListenersSeeThePatchedScan) {
    MemoryModule module(kTwoProcs);
    host::CodeModule& code = module.Code();
    code.Scan();
    long seen = 0;
    code.OnLinesChanged([&](long, long, long) { seen = code.ProcBodyLine("Total", host::vbext_pk_Proc); });
    code.InsertLines(6, "    ' note");
    EXPECT_TRUE(code.ScanIsCurrent());
    EXPECT_EQ(seen, 10);
}

// Lines edits draw from, split at '|': the first pool never changes the
// structure inside a body, the second may.
std::vector<std::string> Pool(const std::string& joined) {
    std::vector<std::string> lines;
    for (std::size_t at = 0, bar = 0; bar != std::string::npos; at = bar + 1)
        lines.push_back(joined.substr(at, (bar = joined.find('|', at)) - at));
    return lines;
}
const std::vector<std::string> kBodyLines = Pool(
    "    x = x + 1||    ' note|Rem remark|10  y = 2|Exit_A:|    Dim z As Long|    If x Then Exit Sub|"
    "    s = \"End Sub\"|    End If|    Const K = 1");
const std::vector<std::string> kOtherLines = Pool(
    "End Sub|Sub Q()|Function F() As Long|Property Get P()|Property Let P(v)|End Property|#If X Then|"
    "#End If|    a = _|' comment _|Enum E|End Enum|Type T|End Type|Attribute Q.VB_Description = \"d\"|"
    "Public v As Long|Private Declare Sub S Lib \"k\" ()|Public Event Ev()|Option Explicit|100 End Sub|"
    "x _ _|End Function");

template <typename T>
const T& Pick(const std::vector<T>& from, std::mt19937& rng) {
    return from[std::uniform_int_distribution<std::size_t>(0, from.size() - 1)(rng)];
}

std::string RandomModule(std::mt19937& rng) {
    static const std::vector<std::string> blocks = {
        "Option Explicit\r\nPrivate mA As Long, mB As String\r\n",
        "Private Declare Function Tick Lib \"k\" () As Long\r\n' sleeps\r\n"
        "Private Declare Sub Nap Lib \"k\" _\r\n    (ByVal ms As Long)\r\n",
        "Public Event Done(ByVal n As Long)\r\n#Const DBG = 1\r\n",
        "Public Enum Tone\r\n    High = 1\r\n\r\n    Low\r\nEnd Enum\r\nType Pt\r\n    X As Long\r\nEnd "
        "Type\r\n",
        "\r\n' does work\r\nPublic Sub Work{n}(ByVal a As Long, _\r\n    ByVal b As Long)\r\n    x = a + "
        "_\r\n"
        "        b\r\n    For i = 1 To a\r\n        ' even ones only\r\n        If i Mod 2 = 0 Then x = x + "
        "i\r\n"
        "    Next i\r\n\r\n    mA = x\r\n10  If x Then GoTo 20\r\n20  Exit Sub\r\n100 End Sub\r\n",
        "Private Function Calc{n}() As Long\r\n    On Error GoTo Fail\r\n#If DBG Then\r\n    Debug.Print "
        "1\r\n"
        "#End If\r\n    Calc{n} = 1\r\n    Exit Function\r\n\r\nFail:\r\n    MsgBox Err.Description\r\nEnd "
        "Function\r\n",
        "\r\nPublic Property Get Val{n}() As Long\r\n    Val{n} = mA\r\nEnd Property\r\n"
        "Public Property Let Val{n}(ByVal v As Long)\r\n    mA = v\r\nEnd Property\r\n' trailing "
        "notes\r\n\r\n",
        "#If VBA7 Then\r\nSub Alt{n}(ByVal h As LongPtr)\r\n#Else\r\nSub Alt{n}(ByVal h As Long, _\r\n"
        "    ByVal g As Long)\r\n#End If\r\n    h = 1\r\nEnd Sub\r\n",
        "\r\n#If Win64 Then\r\nPrivate Sub Copy{n}()\r\n    x = 1\r\nEnd Sub\r\n#Else\r\n  #If A Then\r\n"
        "Private Sub Copy{n}()\r\n  #End If\r\n    x = 2\r\nEnd Sub\r\n#End If\r\n"};
    std::string out;
    for (int n = std::uniform_int_distribution<int>(2, 12)(rng); n > 0; --n) {
        std::string block = Pick(blocks, rng);
        for (auto at = block.find("{n}"); at != std::string::npos; at = block.find("{n}"))
            block.replace(at, 3, std::to_string(n));
        out += block;
    }
    return out;
}

std::string RandomLines(std::mt19937& rng) {
    std::string out;
    for (int i = std::uniform_int_distribution<int>(1, 3)(rng); i > 0; --i)
        out += Pick(std::uniform_int_distribution<int>(0, 9)(rng) == 0 ? kOtherLines : kBodyLines, rng) +
               (i > 1 ? "\r\n" : "");
    return out;
}

// One random edit; returns whether the cache was kept.
bool RandomEdit(host::CodeModule& code, std::mt19937& rng) {
    long lines = code.CountOfLines(), kind = std::uniform_int_distribution<long>(0, 3)(rng);
    auto line = [&](long last) { return std::uniform_int_distribution<long>(1, last)(rng); };
    if (lines == 0 || kind <= 1) {
        code.InsertLines(line(lines + 1), RandomLines(rng));
    } else if (kind == 2) {
        long first = line(lines);
        code.DeleteLines(first, line(std::min(3L, lines - first + 1)));
    } else {
        code.ReplaceLine(line(lines), RandomLines(rng));
    }
    return code.ScanIsCurrent();
}

TEST(NeutralEdit, RandomEditsMatchAFreshScan) {
    long kept = 0, edits = 0;
    for (unsigned seed = 1; seed <= 60; ++seed) {
        std::mt19937 rng(seed);
        MemoryModule module(RandomModule(rng));
        host::CodeModule& code = module.Code();
        for (int step = 0; step < 300; ++step, ++edits) {
            code.Members();
            kept += RandomEdit(code, rng);
            if (std::string diff = CheckAgainstFreshScan(code); !diff.empty()) {
                ADD_FAILURE() << "seed " << seed << " step " << step << ": " << diff << "\n"
                              << code.AllText();
                break;
            }
            // An open module is never patched: close a stray Sub, Enum or #If line again.
            if (code.Scan().openAtEnd)
                code.InsertLines(code.CountOfLines() + 1, "End Sub\r\nEnd Type\r\n#End If");
        }
    }
    // Random positions often fall outside bodies; unless a quarter are patched, not
    // rescanned, the comparison above proves little.
    EXPECT_GT(kept * 4, edits);
}

}  // namespace
