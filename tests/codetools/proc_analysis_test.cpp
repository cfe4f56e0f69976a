#include "CodeToolsFixture.h"
#include "codetools/ProcAnalysis.h"

namespace {

using codetoolstest::CodeToolsTest;

TEST(ProcAnalysis, ExtractProcTypeGivesTheFirstWordAfterScopeWords) {
    const std::pair<const char*, const char*> rows[] = {
        {"Private Static Function Total(x As Long) As Long", "Function"},
        {"Public Property Get Name() As String", "Property"},
        {"Sub Main()", "Sub"},
        {"Friend Sub X()", "Sub"},
        {"Public Static Sub Reset()", "Sub"},
        {"Static Function F()", "Function"},
        {"Sub", "Sub"},
        {"Private Static", "Static"},
        {"Dim x As Long", "Dim"},
        {"private Sub X()", "private"},  // scope words compare exactly
        {"Public Event Changed(ByVal x As Long)", "Event"},
        {"Private Declare Function GetTickCount Lib \"kernel32\" () As Long", "Declare"},
        {"    Public Sub Indented()", "Sub"},
        {"\tFunction Tabbed()", "Function"},
        {"", ""}};
    for (const auto& [line, kind] : rows) EXPECT_EQ(pv::ExtractProcType(line), kind) << line;
}

TEST(ProcAnalysis, SplitEntryTakesKindAndNameFromThePrefix) {
    const struct {
        const char* entry;
        const char* name;
        host::vbext_ProcKind kind;
    } rows[] = {
        {"DoIt", "DoIt", host::vbext_pk_Proc},         {"Get Total", "Total", host::vbext_pk_Get},
        {"Let Total", "Total", host::vbext_pk_Let},    {"Set Total", "Total", host::vbext_pk_Set},
        {"GetTotal", "GetTotal", host::vbext_pk_Proc}, {"get Total", "get Total", host::vbext_pk_Proc}};
    for (const auto& row : rows) {
        const pv::ProcEntry entry = pv::SplitEntry(row.entry);
        EXPECT_EQ(entry.name, row.name) << row.entry;
        EXPECT_EQ(entry.kind, row.kind) << row.entry;
    }
}

TEST(ProcAnalysis, IsEndStatementRecognisesOnlyProcedureEnds) {
    for (const char* end : {"End Sub", "End Function", "End Property", "  End Sub", "End Function ' done"})
        EXPECT_TRUE(pv::IsEndStatement(end)) << end;
    for (const char* other : {"End If", "End", "' End Sub", "End Subroutine", "x = \"End Sub\""})
        EXPECT_FALSE(pv::IsEndStatement(other)) << other;
}

TEST_F(CodeToolsTest, ErrorHandlingScanLooksAtEachLineOfTheRange) {
    const std::pair<const char*, bool> rows[] = {
        {"On Error GoTo Err_P", true},
        {"    On Error Resume Next", true},
        {"On Error Goto 0", true},
        {"On Error Resume Next ' ignore", false},  // a trailing comment disqualifies
        {"' On Error GoTo Err_P", false},
        {"on error goto Err_P", false},
        {"On Error GoTo E: x = \"'\"", false},  // so does an apostrophe in a string
        {"    x = 1", false},
        {"Declare Function F Lib \"k\" () As Long", true},
        {"Declare Sub S Lib \"k\" ()", true},
        {"' Declare Function F", false}};
    for (const auto& [body, contains] : rows) {
        Load({"Private Sub P()", body, "End Sub"});
        EXPECT_EQ(pv::ProcContainsErrorHandling(env, 1, 3), contains) << body;
    }
    Load({"Sub A()", "    x = 1", "End Sub", "Sub B()", "On Error GoTo E", "End Sub"});
    EXPECT_FALSE(pv::ProcContainsErrorHandling(env, 1, 3));
    EXPECT_TRUE(pv::ProcContainsErrorHandling(env, 4, 6));
    EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(CodeToolsTest, ErrorHandlingScanOutsideTheModuleIsReportedAndFalse) {
    Load({"Sub A()", "End Sub"});
    EXPECT_FALSE(pv::ProcContainsErrorHandling(env, 1, 5));
    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_EQ(ui.Messages()[0].title, "ProcContainsErrorHandling()");
    EXPECT_EQ(ui.Messages()[0].Icon(), forms::vbCritical);
}

TEST_F(CodeToolsTest, DeclarationAndEndLinesOfProcedures) {
    Load({"Public Function F(ByVal a As Long, _", "                  ByVal b As Long) _", "    As Long",
          "    F = a", "End Function", "Sub G()", "End Sub", "", "Sub B()", "    x = 1", "End Sub",
          "' trailing note", "", "' another"});
    EXPECT_EQ(pv::DeclarationLastLine(Module(), 1), 3);
    EXPECT_EQ(pv::DeclarationLastLine(Module(), 6), 6);
    EXPECT_EQ(pv::ProcEndLine(Module(), {"B", host::vbext_pk_Proc}),
              11);  // comments after it are not its body
    EXPECT_EQ(pv::ProcEndLine(Module(), {"G", host::vbext_pk_Proc}), 7);
    Load({"Sub A()", "    x = 1", "", ""});
    EXPECT_EQ(pv::ProcEndLine(Module(), {"A", host::vbext_pk_Proc}), 2);  // unterminated: last non-empty line
}

}  // namespace
