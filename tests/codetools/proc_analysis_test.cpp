#include "CodeToolsFixture.h"
#include "codetools/ProcAnalysis.h"

namespace {

using codetoolstest::CodeToolsTest;

struct KindRow {
    const char* name;
    const char* line;
    const char* kind;
};

class ExtractProcTypeRows : public ::testing::TestWithParam<KindRow> {};

TEST_P(ExtractProcTypeRows, GivesTheFirstWordAfterScopeWords) {
    EXPECT_EQ(pv::ExtractProcType(GetParam().line), GetParam().kind);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ExtractProcTypeRows,
    ::testing::Values(
        KindRow{"PrivateStaticFunction", "Private Static Function Total(x As Long) As Long", "Function"},
        KindRow{"PublicPropertyGet", "Public Property Get Name() As String", "Property"},
        KindRow{"BareSub", "Sub Main()", "Sub"}, KindRow{"FriendSub", "Friend Sub X()", "Sub"},
        KindRow{"PublicStaticSub", "Public Static Sub Reset()", "Sub"},
        KindRow{"StaticAlone", "Static Function F()", "Function"}, KindRow{"NoBlankAtAll", "Sub", "Sub"},
        KindRow{"ScopeWordsOnly", "Private Static", "Static"},
        KindRow{"OtherFirstWordEndsTheSearch", "Dim x As Long", "Dim"},
        KindRow{"ScopeComparisonIsExact", "private Sub X()", "private"},
        KindRow{"EventDeclaration", "Public Event Changed(ByVal x As Long)", "Event"},
        KindRow{"DeclareStatement", "Private Declare Function GetTickCount Lib \"kernel32\" () As Long",
                "Declare"},
        KindRow{"LeadingBlanksAreSkipped", "    Public Sub Indented()", "Sub"},
        KindRow{"LeadingTabIsSkipped", "\tFunction Tabbed()", "Function"}, KindRow{"EmptyLine", "", ""}),
    [](const auto& info) { return std::string(info.param.name); });

struct EntryRow {
    const char* name;
    const char* entry;
    const char* bareName;
    host::vbext_ProcKind kind;
};

class SplitEntryRows : public ::testing::TestWithParam<EntryRow> {};

TEST_P(SplitEntryRows, TakesKindAndNameFromThePrefix) {
    const pv::ProcEntry entry = pv::SplitEntry(GetParam().entry);
    EXPECT_EQ(entry.name, GetParam().bareName);
    EXPECT_EQ(entry.kind, GetParam().kind);
}

INSTANTIATE_TEST_SUITE_P(
    Entries, SplitEntryRows,
    ::testing::Values(EntryRow{"PlainName", "DoIt", "DoIt", host::vbext_pk_Proc},
                      EntryRow{"GetPart", "Get Total", "Total", host::vbext_pk_Get},
                      EntryRow{"LetPart", "Let Total", "Total", host::vbext_pk_Let},
                      EntryRow{"SetPart", "Set Total", "Total", host::vbext_pk_Set},
                      EntryRow{"NameStartingWithGet", "GetTotal", "GetTotal", host::vbext_pk_Proc},
                      EntryRow{"PrefixIsCaseExact", "get Total", "get Total", host::vbext_pk_Proc}),
    [](const auto& info) { return std::string(info.param.name); });

struct EndRow {
    const char* name;
    const char* line;
    bool isEnd;
};

class EndStatementRows : public ::testing::TestWithParam<EndRow> {};

TEST_P(EndStatementRows, RecognisesOnlyProcedureEnds) {
    EXPECT_EQ(pv::IsEndStatement(GetParam().line), GetParam().isEnd);
}

INSTANTIATE_TEST_SUITE_P(Lines, EndStatementRows,
                         ::testing::Values(EndRow{"EndSub", "End Sub", true},
                                           EndRow{"EndFunction", "End Function", true},
                                           EndRow{"EndProperty", "End Property", true},
                                           EndRow{"Indented", "  End Sub", true},
                                           EndRow{"TrailingComment", "End Function ' done", true},
                                           EndRow{"EndIf", "End If", false}, EndRow{"EndAlone", "End", false},
                                           EndRow{"CommentedOut", "' End Sub", false},
                                           EndRow{"LongerWord", "End Subroutine", false},
                                           EndRow{"InAString", "x = \"End Sub\"", false}),
                         [](const auto& info) { return std::string(info.param.name); });

struct HandlingRow {
    const char* name;
    std::vector<std::string> body;
    bool contains;
};

class ErrorHandlingRows : public CodeToolsTest, public ::testing::WithParamInterface<HandlingRow> {};

TEST_P(ErrorHandlingRows, ScansTheRangeLineByLine) {
    std::vector<std::string> lines{"Private Sub P()"};
    lines.insert(lines.end(), GetParam().body.begin(), GetParam().body.end());
    lines.push_back("End Sub");
    Load(lines);
    EXPECT_EQ(pv::ProcContainsErrorHandling(env, 1, static_cast<long>(lines.size())), GetParam().contains);
    EXPECT_TRUE(ui.Messages().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Bodies, ErrorHandlingRows,
    ::testing::Values(HandlingRow{"OnErrorGoto", {"On Error GoTo Err_P"}, true},
                      HandlingRow{"OnErrorResumeNext", {"    On Error Resume Next"}, true},
                      HandlingRow{"AnyStatementAfterOnError", {"On Error Goto 0"}, true},
                      HandlingRow{"TrailingCommentDoesNotCount", {"On Error Resume Next ' ignore"}, false},
                      HandlingRow{"CommentedOutDoesNotCount", {"' On Error GoTo Err_P"}, false},
                      HandlingRow{"OtherLetterCaseDoesNotCount", {"on error goto Err_P"}, false},
                      HandlingRow{
                          "ApostropheInAStringStillDisqualifies", {"On Error GoTo E: x = \"'\""}, false},
                      HandlingRow{"NoHandlerAtAll", {"    x = 1"}, false},
                      HandlingRow{"DeclareWithLib", {"Declare Function F Lib \"k\" () As Long"}, true},
                      HandlingRow{"DeclareSubWithLib", {"Declare Sub S Lib \"k\" ()"}, true},
                      HandlingRow{"DeclareWithoutLib", {"' Declare Function F"}, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CodeToolsTest, ErrorHandlingScanStopsAtTheRangeEnd) {
    Load({"Sub A()", "    x = 1", "End Sub", "Sub B()", "On Error GoTo E", "End Sub"});
    EXPECT_FALSE(pv::ProcContainsErrorHandling(env, 1, 3));
    EXPECT_TRUE(pv::ProcContainsErrorHandling(env, 4, 6));
}

TEST_F(CodeToolsTest, ErrorHandlingScanOutsideTheModuleIsReportedAndFalse) {
    Load({"Sub A()", "End Sub"});
    EXPECT_FALSE(pv::ProcContainsErrorHandling(env, 1, 5));
    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_EQ(ui.Messages()[0].title, "ProcContainsErrorHandling()");
    EXPECT_EQ(ui.Messages()[0].Icon(), forms::vbCritical);
}

TEST_F(CodeToolsTest, DeclarationLastLineFollowsContinuations) {
    Load({"Public Function F(ByVal a As Long, _", "                  ByVal b As Long) _", "    As Long",
          "    F = a", "End Function", "Sub G()", "End Sub"});
    EXPECT_EQ(pv::DeclarationLastLine(Module(), 1), 3);
    EXPECT_EQ(pv::DeclarationLastLine(Module(), 6), 6);
}

TEST_F(CodeToolsTest, ProcEndLineIgnoresCommentsAfterTheLastProcedure) {
    Load({"Sub A()", "End Sub", "", "Sub B()", "    x = 1", "End Sub", "' trailing note", "", "' another"});
    EXPECT_EQ(pv::ProcEndLine(Module(), {"B", host::vbext_pk_Proc}), 6);
    EXPECT_EQ(pv::ProcEndLine(Module(), {"A", host::vbext_pk_Proc}), 2);
}

TEST_F(CodeToolsTest, ProcEndLineOfAnUnterminatedProcedureIsItsLastNonEmptyLine) {
    Load({"Sub A()", "    x = 1", "", ""});
    EXPECT_EQ(pv::ProcEndLine(Module(), {"A", host::vbext_pk_Proc}), 2);
}

}  // namespace
