#include "CodeToolsFixture.h"
#include "codetools/NewProcedure.h"

namespace {

using codetoolstest::CodeToolsTest;
using codetoolstest::kHyphens;

TEST_F(CodeToolsTest, NameCheckRefusesWhatCannotBeAnIdentifier) {
    const struct {
        std::string text;
        bool invalid;
    } rows[] = {{"Foo", false},
                {"foo_1", false},
                {"X", false},
                {"Sub", false},
                {std::string(300, 'a'), false},
                {"", true},
                {" Foo", true},
                {"Foo Bar", true},
                {"1Foo", true},
                {"_Foo", true},
                {"Foo-Bar", true},
                {"Caf\xE9", true},
                {"Name$", true},
                {"Foo\tBar", true}};
    for (const auto& row : rows) EXPECT_EQ(pv::InvalidProcedureName(env, row.text), row.invalid) << row.text;
}

TEST_F(CodeToolsTest, DuplicateCheckTellsVariablesFromProcedures) {
    Load({"Option Explicit", "Private mlngCount As Long, mstrName As String", "Public Const MAX_ITEMS = 5",
          "Private Declare Function GetTickCount Lib \"kernel32\" () As Long", "Public Event Changed()", "",
          "Public Sub DoIt()", "End Sub", "", "Public Property Get Total() As Long", "End Property"});
    const struct {
        const char* candidate;
        bool duplicate, isVariable;
    } rows[] = {{"doit", true, false},      {"MSTRNAME", true, true},      {"mlngCount", true, true},
                {"Total", true, false},     {"GetTickCount", true, false}, {"Changed", true, false},
                {"MAX_ITEMS", false, true}, {"Fresh", false, true}};
    for (const auto& row : rows) {
        bool isVariable = !(row.duplicate && row.isVariable);  // a non-clash leaves the flag alone
        EXPECT_EQ(pv::DuplicateProcedureName(env, row.candidate, isVariable), row.duplicate) << row.candidate;
        EXPECT_EQ(isVariable, row.isVariable) << row.candidate;
    }
}

TEST_F(CodeToolsTest, ReplaceSpacesTurnsEveryBlankIntoAnUnderscore) {
    EXPECT_EQ(pv::ReplaceSpaces(env, "Get Total"), "Get_Total");
    EXPECT_EQ(pv::ReplaceSpaces(env, " a  b "), "_a__b_");
}

TEST_F(CodeToolsTest, ErrorStatementReplacesEveryNamePlaceholder) {
    EXPECT_EQ(pv::GetErrorMessage(env, "Get_Total"), codetoolstest::DefaultMessageFor("Get_Total"));
    const std::pair<const char*, const char*> rows[] = {
        {"LogError \"<NAME>\", Err: MsgBox \"<NAME> failed\"",
         "LogError \"Get_Total\", Err: MsgBox \"Get_Total failed\""},
        {"MsgBox Err.Description", "MsgBox Err.Description"},
        {"MsgBox \"<name>\"", "MsgBox \"<name>\""},  // the placeholder is case-exact
        {"<NAME><NAME>", "Get_TotalGet_Total"}};
    for (const auto& [stored, expected] : rows) {
        Set(pv::key::ErrorMessage, stored);
        EXPECT_EQ(pv::GetErrorMessage(env, "Get_Total"), expected) << stored;
    }
}

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
            "\t" + codetoolstest::DefaultMessageFor(label),
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

TEST_F(CodeToolsTest, NewPropertyPartsInAnEmptyModuleGetPrefixedLabels) {
    Load({});
    pv::AddToNewProcedure(env, "Public", "Property", "Foo", "Get ", "", " As Variant");
    EXPECT_EQ(CaretLine(), 1);
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

TEST_F(CodeToolsTest, HeaderWithEveryFlagOnWritesEachLineInOrder) {
    Load({});
    Set(pv::key::ShowCommentStubs, "True");
    HeaderFlags(true, true, true, true, true, true);
    Set(pv::key::CreatedByName, "Ann Lee");
    pv::AddToNewProcedure(env, "Friend Static", "Sub", "Foo", "", "", "");
    std::vector<std::string> expected{"",
                                      kHyphens,
                                      "' Procedure: Foo",
                                      "' Created By: Ann Lee",
                                      "' Date Created: 05-Dec-2026",
                                      "' Purpose: ",
                                      "' Parameters: ",
                                      "' Output: "};
    for (const auto& l : Skeleton("Friend Static Sub Foo()", "Foo", "Sub")) expected.push_back(l);
    EXPECT_EQ(Lines(), expected);
}

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
    EXPECT_EQ(Prompts(), std::vector<std::string>{"AddToNewProcedure: Type mismatch 13"});
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
