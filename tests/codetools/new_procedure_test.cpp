#include "CodeToolsFixture.h"
#include "codetools/NewProcedure.h"

namespace {

using codetoolstest::CodeToolsTest;
using codetoolstest::Expand;

TEST_F(CodeToolsTest, NameCheckRefusesWhatCannotBeAnIdentifier) {
    for (const std::string& valid :
         std::vector<std::string>{"Foo", "foo_1", "X", "Sub", std::string(300, 'a')})
        EXPECT_FALSE(pv::InvalidProcedureName(env, valid)) << valid;
    for (const char* invalid :
         {"", " Foo", "Foo Bar", "1Foo", "_Foo", "Foo-Bar", "Caf\xE9", "Name$", "Foo\tBar"})
        EXPECT_TRUE(pv::InvalidProcedureName(env, invalid)) << invalid;
}

TEST_F(CodeToolsTest, ErrorStatementReplacesEveryNamePlaceholderCaseExactly) {
    const std::pair<const char*, const char*> rows[] = {
        {"LogError \"<NAME>\", Err: MsgBox \"<NAME> failed\"",
         "LogError \"Get_Total\", Err: MsgBox \"Get_Total failed\""},
        {"MsgBox \"<name>\"", "MsgBox \"<name>\""},
        {"<NAME><NAME>", "Get_TotalGet_Total"}};
    for (const auto& [stored, expected] : rows) {
        Set(pv::key::ErrorMessage, stored);
        EXPECT_EQ(pv::GetErrorMessage(env, "Get_Total"), expected) << stored;
    }
}

TEST_F(CodeToolsTest, NewProcedureFollowsTheLastLineWithTheCaretOnItsFirstLine) {
    Load({"Option Explicit"});
    pv::AddToNewProcedure(env, "Private", "Function", "Foo", "", "", "");
    EXPECT_EQ(Lines(),
              codetoolstest::Split("Option Explicit||Private Function Foo()|\tOn Error Goto Err_Foo||||"
                                   "Exit_Foo:|\tExit Function||Err_Foo:|\tMsgBox Err.Description & \" \" "
                                   "& Err.Number, vbCritical, \"Foo()\"|\tResume Exit_Foo||End Function"));
    EXPECT_EQ(CaretLine(), 2);
    Load({});  // property parts get prefixed labels
    pv::AddToNewProcedure(env, "Public", "Property", "Foo", "Get ", "", " As Variant");
    EXPECT_EQ(CaretLine(), 1);
    pv::AddToNewProcedure(env, "Public", "Property", "Foo", "Let ", "varArgument", "");
    EXPECT_EQ(Lines(),
              Expand("|Public Property Get Foo() As Variant|{E:Get_Foo}||{B:Get_Foo:Property}|End Property||"
                     "Public Property Let Foo(varArgument)|{E:Let_Foo}||{B:Let_Foo:Property}|End Property"));
    EXPECT_EQ(CaretLine(), 15);
    EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(CodeToolsTest, HeaderHasOneLinePerFlagInItsPlaceAndTheDateInTheLocalesMonth) {
    const std::string header[] = {"' Procedure: Foo", "' Created By: Ann Lee", "' Date Created: 05-Dec-2026",
                                  "' Purpose: ",      "' Parameters: ",        "' Output: "};
    Set(pv::key::ShowCommentStubs, "-1");
    Set(pv::key::CreatedByName, "Ann Lee");
    for (int mask = 0; mask < 64; ++mask) {
        std::string flags, expected = "{H:}";
        for (int bit = 0; bit < 6; ++bit) {
            flags += (mask >> bit & 1) ? "1" : "0";
            if (mask >> bit & 1) expected += "|" + header[bit];
        }
        Load({});
        HeaderFlags(flags);
        pv::AddToNewProcedure(env, "Friend Static", "Sub", "Foo", "", "", "");
        EXPECT_EQ(Lines(), Expand("|" + expected + "|Friend Static Sub Foo()|{E:Foo}||{B:Foo:Sub}|End Sub"))
            << flags;
    }
    ui.SetToday({1999, 3, 7});
    Load({});
    HeaderFlags("001000");
    pv::AddToNewProcedure(env, "Private", "Sub", "Foo", "", "", "");
    EXPECT_EQ(Module().Lines(3, 1), "' Date Created: 07-Mar-1999");
}

TEST_F(CodeToolsTest, HeaderOffReadsNoHeaderFlagAndABadStubsFlagIsReported) {
    Load({});
    Set(pv::key::ShowCommentStubs, "False");
    Set(pv::key::ShowPurpose, "not a flag");  // would fail if it were read
    pv::AddToNewProcedure(env, "Private", "Sub", "Foo", "", "", "");
    EXPECT_EQ(Module().Lines(2, 1), "Private Sub Foo()");
    EXPECT_TRUE(ui.Messages().empty());
    Load({"Option Explicit"});
    Set(pv::key::ShowCommentStubs, "maybe");
    pv::AddToNewProcedure(env, "Private", "Sub", "Foo", "", "", "");
    EXPECT_EQ(Lines(), std::vector<std::string>{"Option Explicit"});
    EXPECT_EQ(Prompts(), std::vector<std::string>{"AddToNewProcedure: Type mismatch 13"});
    EXPECT_EQ(ui.Messages()[0].Icon(), forms::vbCritical);
}

}  // namespace
