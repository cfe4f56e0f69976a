#include "CodeToolsFixture.h"
#include "codetools/NewProcedure.h"

namespace {

using codetoolstest::CodeToolsTest;
using codetoolstest::DefaultMessageFor;

const std::string kHyphens = "'------------------------------------------------------------------";

struct NameRow {
    const char* name;
    std::string text;
    bool invalid;
};

class NameCheck : public CodeToolsTest, public ::testing::WithParamInterface<NameRow> {};

TEST_P(NameCheck, RefusesWhatCannotBeAnIdentifier) {
    EXPECT_EQ(pv::InvalidProcedureName(env, GetParam().text), GetParam().invalid);
}

INSTANTIATE_TEST_SUITE_P(
    Names, NameCheck,
    ::testing::Values(NameRow{"Plain", "Foo", false}, NameRow{"LowerWithDigitAndUnderscore", "foo_1", false},
                      NameRow{"OneLetter", "X", false}, NameRow{"ReservedWordPasses", "Sub", false},
                      NameRow{"VeryLong", std::string(300, 'a'), false}, NameRow{"Empty", "", true},
                      NameRow{"LeadingBlank", " Foo", true}, NameRow{"InnerBlank", "Foo Bar", true},
                      NameRow{"LeadingDigit", "1Foo", true}, NameRow{"LeadingUnderscore", "_Foo", true},
                      NameRow{"Hyphen", "Foo-Bar", true}, NameRow{"AccentedLetter", "Caf\xE9", true},
                      NameRow{"TypeSuffix", "Name$", true}, NameRow{"Tab", "Foo\tBar", true}),
    [](const auto& info) { return std::string(info.param.name); });

struct DuplicateRow {
    const char* name;
    const char* candidate;
    bool duplicate;
    bool isVariable;
};

class DuplicateCheck : public CodeToolsTest, public ::testing::WithParamInterface<DuplicateRow> {};

TEST_P(DuplicateCheck, TellsVariablesFromProcedures) {
    Load({"Option Explicit", "Private mlngCount As Long, mstrName As String", "Public Const MAX_ITEMS = 5",
          "Private Declare Function GetTickCount Lib \"kernel32\" () As Long", "Public Event Changed()", "",
          "Public Sub DoIt()", "End Sub", "", "Public Property Get Total() As Long", "End Property"});
    bool isVariable = false;
    EXPECT_EQ(pv::DuplicateProcedureName(env, GetParam().candidate, isVariable), GetParam().duplicate);
    EXPECT_EQ(isVariable, GetParam().isVariable);
}

INSTANTIATE_TEST_SUITE_P(Members, DuplicateCheck,
                         ::testing::Values(DuplicateRow{"SubIgnoringCase", "doit", true, false},
                                           DuplicateRow{"SecondVariableOfALine", "MSTRNAME", true, true},
                                           DuplicateRow{"Variable", "mlngCount", true, true},
                                           DuplicateRow{"PropertyIsAProcedureClash", "Total", true, false},
                                           DuplicateRow{"DeclareIsAProcedureClash", "GetTickCount", true,
                                                        false},
                                           DuplicateRow{"EventIsAProcedureClash", "Changed", true, false},
                                           DuplicateRow{"ConstantPasses", "MAX_ITEMS", false, false},
                                           DuplicateRow{"NewName", "Fresh", false, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(CodeToolsTest, DuplicateCheckLeavesTheVariableFlagAloneWithoutAClash) {
    Load({"Sub A()", "End Sub"});
    bool isVariable = true;
    EXPECT_FALSE(pv::DuplicateProcedureName(env, "B", isVariable));
    EXPECT_TRUE(isVariable);
}

TEST_F(CodeToolsTest, ReplaceSpacesTurnsEveryBlankIntoAnUnderscore) {
    EXPECT_EQ(pv::ReplaceSpaces(env, "Get "), "Get_");
    EXPECT_EQ(pv::ReplaceSpaces(env, "Get Total"), "Get_Total");
    EXPECT_EQ(pv::ReplaceSpaces(env, " a  b "), "_a__b_");
    EXPECT_EQ(pv::ReplaceSpaces(env, "NoBlank"), "NoBlank");
}

struct TemplateRow {
    const char* name;
    const char* stored;  // null: never written
    const char* expected;
};

class ErrorStatement : public CodeToolsTest, public ::testing::WithParamInterface<TemplateRow> {};

TEST_P(ErrorStatement, ReplacesEveryNamePlaceholder) {
    if (GetParam().stored) Set(pv::key::ErrorMessage, GetParam().stored);
    EXPECT_EQ(pv::GetErrorMessage(env, "Get_Total"), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Templates, ErrorStatement,
    ::testing::Values(TemplateRow{"DefaultTemplate", nullptr,
                                  "MsgBox Err.Description & \" \" & Err.Number, vbCritical, \"Get_Total()\""},
                      TemplateRow{"NameTwice", "LogError \"<NAME>\", Err: MsgBox \"<NAME> failed\"",
                                  "LogError \"Get_Total\", Err: MsgBox \"Get_Total failed\""},
                      TemplateRow{"NoPlaceholder", "MsgBox Err.Description", "MsgBox Err.Description"},
                      TemplateRow{"PlaceholderIsCaseExact", "MsgBox \"<name>\"", "MsgBox \"<name>\""},
                      TemplateRow{"AdjacentPlaceholders", "<NAME><NAME>", "Get_TotalGet_Total"}),
    [](const auto& info) { return std::string(info.param.name); });

// The lines a new procedure gets after its leading empty line and header.
std::vector<std::string> Skeleton(const std::string& declaration, const std::string& label,
                                  const std::string& kind) {
    return {declaration,
            "\tOn Error Goto Err_" + label,
            "",
            "",
            "",
            "Exit_" + label + ":",
            "\tExit " + kind,
            "",
            "Err_" + label + ":",
            std::string("\t").append(DefaultMessageFor(label)),
            "\tResume Exit_" + label,
            "",
            "End " + kind};
}

TEST_F(CodeToolsTest, NewFunctionWorkedExample) {
    Load({"Option Explicit"});
    pv::AddToNewProcedure(env, "Private", "Function", "Foo", "", "", "");
    const std::vector<std::string> expected = {
        "Option Explicit",
        "",
        "Private Function Foo()",
        "\tOn Error Goto Err_Foo",
        "",
        "",
        "",
        "Exit_Foo:",
        "\tExit Function",
        "",
        "Err_Foo:",
        "\tMsgBox Err.Description & \" \" & Err.Number, vbCritical, \"Foo()\"",
        "\tResume Exit_Foo",
        "",
        "End Function"};
    EXPECT_EQ(Lines(), expected);
    EXPECT_EQ(CaretLine(), 2);
    EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(CodeToolsTest, NewPropertyPartsGetPrefixedLabels) {
    Load({});
    pv::AddToNewProcedure(env, "Public", "Property", "Foo", "Get ", "", " As Variant");
    pv::AddToNewProcedure(env, "Public", "Property", "Foo", "Let ", "varArgument", "");
    std::vector<std::string> expected{""};
    for (const auto& l : Skeleton("Public Property Get Foo() As Variant", "Get_Foo", "Property"))
        expected.push_back(l);
    expected.emplace_back("");
    for (const auto& l : Skeleton("Public Property Let Foo(varArgument)", "Let_Foo", "Property"))
        expected.push_back(l);
    EXPECT_EQ(Lines(), expected);
    EXPECT_EQ(CaretLine(), 15);  // the Let part's first line
}

TEST_F(CodeToolsTest, EmptyModuleReceivesTheProcedureFromLineOne) {
    Load({});
    pv::AddToNewProcedure(env, "Friend Static", "Sub", "Foo", "", "", "");
    ASSERT_GE(Module().CountOfLines(), 2);
    EXPECT_EQ(Module().Lines(1, 1), "");
    EXPECT_EQ(Module().Lines(2, 1), "Friend Static Sub Foo()");
    EXPECT_EQ(CaretLine(), 1);
}

struct HeaderRow {
    const char* name;
    bool flags[6];
    std::vector<std::string> header;
};

const std::vector<HeaderRow>& HeaderRows() {
    static const std::vector<HeaderRow> rows = {
        {"AllOff", {false, false, false, false, false, false}, {kHyphens}},
        {"AllOn",
         {true, true, true, true, true, true},
         {kHyphens, "' Procedure: Foo", "' Created By: Ann Lee", "' Date Created: 05-Dec-2026",
          "' Purpose: ", "' Parameters: ", "' Output: "}},
        {"ProcedureNameOnly", {true, false, false, false, false, false}, {kHyphens, "' Procedure: Foo"}},
        {"CreatedByOnly", {false, true, false, false, false, false}, {kHyphens, "' Created By: Ann Lee"}},
        {"DateOnly", {false, false, true, false, false, false}, {kHyphens, "' Date Created: 05-Dec-2026"}},
        {"PurposeOnly", {false, false, false, true, false, false}, {kHyphens, "' Purpose: "}},
        {"ParametersOnly", {false, false, false, false, true, false}, {kHyphens, "' Parameters: "}},
        {"OutputOnly", {false, false, false, false, false, true}, {kHyphens, "' Output: "}},
        {"NameAndOutput",
         {true, false, false, false, false, true},
         {kHyphens, "' Procedure: Foo", "' Output: "}},
        {"AllButDate",
         {true, true, false, true, true, true},
         {kHyphens, "' Procedure: Foo", "' Created By: Ann Lee",
          "' Purpose: ", "' Parameters: ", "' Output: "}},
    };
    return rows;
}

class NewProcedureHeader : public CodeToolsTest, public ::testing::WithParamInterface<HeaderRow> {};

TEST_P(NewProcedureHeader, WritesTheEnabledLinesInOrder) {
    Load({});
    const bool* f = GetParam().flags;
    Set(pv::key::ShowCommentStubs, "True");
    HeaderFlags(f[0], f[1], f[2], f[3], f[4], f[5]);
    Set(pv::key::CreatedByName, "Ann Lee");
    pv::AddToNewProcedure(env, "Private", "Sub", "Foo", "", "", "");
    std::vector<std::string> expected{""};
    expected.insert(expected.end(), GetParam().header.begin(), GetParam().header.end());
    for (const auto& l : Skeleton("Private Sub Foo()", "Foo", "Sub")) expected.push_back(l);
    EXPECT_EQ(Lines(), expected);
}

INSTANTIATE_TEST_SUITE_P(Flags, NewProcedureHeader, ::testing::ValuesIn(HeaderRows()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(CodeToolsTest, EveryFlagCombinationGivesOneLinePerFlagInItsPlace) {
    const std::vector<std::string> lineStarts = {
        "' Procedure: ", "' Created By: ", "' Date Created: ", "' Purpose: ", "' Parameters: ", "' Output: "};
    Set(pv::key::ShowCommentStubs, "-1");
    for (int mask = 0; mask < 64; ++mask) {
        Load({});
        auto on = [mask](int bit) { return (mask >> bit & 1) != 0; };
        HeaderFlags(on(0), on(1), on(2), on(3), on(4), on(5));
        pv::AddToNewProcedure(env, "Public", "Function", "F", "", "", "");
        const auto lines = Lines();
        std::size_t at = 2;  // after the empty line and the hyphen line
        EXPECT_EQ(lines[1], kHyphens) << mask;
        for (int bit = 0; bit < 6; ++bit) {
            if (!on(bit)) continue;
            EXPECT_EQ(lines[at].rfind(lineStarts[static_cast<std::size_t>(bit)], 0), 0u)
                << mask << " bit " << bit;
            ++at;
        }
        EXPECT_EQ(lines[at], "Public Function F()") << mask;
    }
}

TEST_F(CodeToolsTest, HeaderOffReadsNoHeaderFlag) {
    Load({});
    Set(pv::key::ShowCommentStubs, "False");
    Set(pv::key::ShowPurpose, "not a flag");  // would fail if it were read
    pv::AddToNewProcedure(env, "Private", "Sub", "Foo", "", "", "");
    EXPECT_EQ(Module().Lines(2, 1), "Private Sub Foo()");
    EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(CodeToolsTest, BadStoredFlagIsReportedAndNothingIsInserted) {
    Load({"Option Explicit"});
    Set(pv::key::ShowCommentStubs, "maybe");
    pv::AddToNewProcedure(env, "Private", "Sub", "Foo", "", "", "");
    EXPECT_EQ(Lines(), std::vector<std::string>{"Option Explicit"});
    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_EQ(ui.Messages()[0].title, "AddToNewProcedure");
    EXPECT_EQ(ui.Messages()[0].prompt, "Type mismatch 13");
    EXPECT_EQ(ui.Messages()[0].Icon(), forms::vbCritical);
}

TEST_F(CodeToolsTest, DateUsesTheLocalesMonthName) {
    Load({});
    ui.SetToday({1999, 3, 7});
    Set(pv::key::ShowCommentStubs, "1");
    HeaderFlags(false, false, true, false, false, false);
    pv::AddToNewProcedure(env, "Private", "Sub", "Foo", "", "", "");
    EXPECT_EQ(Module().Lines(3, 1), "' Date Created: 07-Mar-1999");
}

}  // namespace
