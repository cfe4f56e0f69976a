#include "CodeToolsFixture.h"
#include "codetools/ErrorHandling.h"
#include "codetools/ProcAnalysis.h"

namespace {

using codetoolstest::CodeToolsTest;
using codetoolstest::Expand;

TEST_F(CodeToolsTest, ExistingProcedureGetsItsBlockAtItsOwnLinesAndTheCaretOnItsDeclaration) {
    const char* const rows[][5] = {
        // entry, kind, first line, header flags (null: no header), the module after in shorthand
        {"DoIt", "Sub", "1", "101000",
         "{H:DoIt|' Date Created: 05-Dec-2026}|Private Sub DoIt(x As Long)|{E:DoIt}|    y = "
         "x|{B:DoIt:Sub}|End Sub"},
        {"F", "Function", "1", nullptr, "Function F() As Long|{E:F}|    F = 1|{B:F:Function}|End Function"},
        {"Get Total", "Property", "1", nullptr,
         "Public Property Get Total() As Long|{E:Get_Total}|    Total = 1|{B:Get_Total:Property}|End "
         "Property||"
         "Public Property Let Total(ByVal v As Long)|End Property"},
        {"Let Total", "Property", "4", "110000",
         "Public Property Get Total() As Long|End Property||{H:Let Total|' Created By: Ann}|"
         "Public Property Let Total(ByVal v As Long)|{E:Let_Total}|    m = v|{B:Let_Total:Property}|End "
         "Property"},
        {"Set Item", "Property", "1", "000000",
         "{H:}|Public Property Set Item(ByVal o As Object)|{E:Set_Item}|    Set m = o|{B:Set_Item:Property}|"
         "End Property"},
        {"ReadSetting", "Function", "1", nullptr,
         "Private Function ReadSetting(ByVal strKey As String, _|        Optional ByVal d As String = \"\") "
         "_|"
         "        As String|{E:ReadSetting}|    ReadSetting = d|{B:ReadSetting:Function}|End Function"},
        {"ShowTotals", "Sub", "4", nullptr,
         "Sub A()|End Sub||Public Sub ShowTotals()|{E:ShowTotals}|    MsgBox 1|{B:ShowTotals:Sub}|End Sub|"
         "' ShowTotals is called from frmMain.|' Keep it last."},
        {"A", "Sub", "1", nullptr, "Sub A()|{E:A}|    If x Then|    End If|{B:A:Sub}|End Sub||"},
        {"Indented", "Sub", "1", nullptr, "  Public Sub Indented()|{E:Indented}|{B:Indented:Sub}|  End Sub"},
        {"e", "Function", "2", nullptr,
         "Sub|Function e|{E:e}|{B:e:Function}|End Function"}};  // a bare "Sub" names none
    Set(pv::key::CreatedByName, "Ann");
    for (const auto& row : rows) {
        SCOPED_TRACE(row[0]);
        const auto before = Expand(row[4], true), after = Expand(row[4]);
        const long line = std::stol(row[2]);
        Load(before);
        HeaderFlags(row[3] ? row[3] : "000000");
        pv::AddToExistingProcedure(env, row[0], row[1], line, row[3] != nullptr);
        EXPECT_EQ(Lines(), after);
        EXPECT_EQ(CaretLine(),
                  std::find(after.begin() + line - 1, after.end(), before[line - 1]) - after.begin() + 1);
    }
    EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(CodeToolsTest, CustomTemplateWithTheNameTwiceNamesTheLabelBaseTwice) {
    Load({"Property Get Total()", "End Property"});
    Set(pv::key::ErrorMessage, "Log \"<NAME>\": MsgBox \"<NAME>\"");
    pv::AddToExistingProcedure(env, "Get Total", "Property", 1, false);
    EXPECT_EQ(Module().Lines(9, 1), "\tLog \"Get_Total\": MsgBox \"Get_Total\"");
}

TEST_F(CodeToolsTest, MissingProcedureOrLinesOutsideTheModuleAreReportedAndNothingIsWritten) {
    Load({"Sub S()", "End Sub"});
    pv::AddToExistingProcedure(env, "Gone", "Sub", 1, false);
    EXPECT_FALSE(pv::ProcContainsErrorHandling(env, 1, 5));
    EXPECT_EQ(Lines(), codetoolstest::Split("Sub S()|End Sub"));
    ASSERT_EQ(ui.Messages().size(), 2u);
    EXPECT_EQ(ui.Messages()[0].title, "AddToExistingProcedure");
    EXPECT_EQ(ui.Messages()[1].title, "ProcContainsErrorHandling()");
    EXPECT_EQ(ui.Messages()[0].Icon() + ui.Messages()[1].Icon(), 2 * forms::vbCritical);
}

TEST_F(CodeToolsTest, ErrorHandlingScanLooksAtEachLineOfTheRange) {
    const std::pair<const char*, bool> rows[] = {
        {"On Error GoTo Err_P", true},
        {"    On Error Resume Next", true},
        {"On Error Goto 0", true},
        {"On Error Resume Next ' ignore", false},  // a comment disqualifies
        {"' On Error GoTo Err_P", false},
        {"on error goto Err_P", false},
        {"On Error GoTo E: x = \"'\"", false},  // so does an apostrophe in a string
        {"    x = 1", false},
        {"Declare Function F Lib \"k\" () As Long", true},
        {"Declare Sub S Lib \"k\" ()", true},
        {"' Declare Function F", false}};
    for (const auto& [body, contains] : rows) {
        Load({"Private Sub P()", body, "End Sub", "Sub B()", "On Error GoTo E", "End Sub"});
        EXPECT_EQ(pv::ProcContainsErrorHandling(env, 1, 3), contains) << body;
    }
    EXPECT_TRUE(pv::ProcContainsErrorHandling(env, 4, 6));
    EXPECT_TRUE(ui.Messages().empty());
}

TEST(ProcAnalysis, KindIsTheFirstWordAfterScopeWordsAndOnlyProcedureEndsEndOne) {
    const std::pair<const char*, const char*> kinds[] = {
        {"Private Static Function Total(x As Long) As Long", "Function"},
        {"Friend Sub X()", "Sub"},
        {"Public Static Sub Reset()", "Sub"},
        {"Static Function F()", "Function"},
        {"Private Static", "Static"},
        {"private Sub X()", "private"},  // scope words compare exactly
        {"\tFunction Tabbed()", "Function"},
        {"", ""}};
    for (const auto& [line, kind] : kinds) EXPECT_EQ(pv::ExtractProcType(line), kind) << line;
    for (const char* end : {"End Sub", "End Function", "End Property", "  End Sub", "End Function ' done"})
        EXPECT_TRUE(pv::IsEndStatement(end)) << end;
    for (const char* other : {"End If", "End", "' End Sub", "End Subroutine", "x = \"End Sub\""})
        EXPECT_FALSE(pv::IsEndStatement(other)) << other;
}

TEST_F(CodeToolsTest, AnUnterminatedProcedureEndsAtItsLastNonEmptyLine) {
    Load({"Sub A()", "    x = 1", "", ""});
    EXPECT_EQ(pv::ProcEndLine(Module(), {"A", host::vbext_pk_Proc}), 2);
}

}  // namespace
