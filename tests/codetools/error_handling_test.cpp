#include "CodeToolsFixture.h"
#include "codetools/ErrorHandling.h"
#include "codetools/NewProcedure.h"
#include "codetools/ProcAnalysis.h"

namespace {

using codetoolstest::CodeToolsTest;
using codetoolstest::Expand;
using codetoolstest::Split;
using codetoolstest::Strings;

TEST_F(CodeToolsTest, ExistingProcedureGetsItsBlockAtItsOwnLinesAndTheCaretOnItsDeclaration) {
    const char* const rows[][5] = {
        // entry, kind, first line, header flags (null: no header), the module after in shorthand
        {"DoIt", "Sub", "1", "101000",
         "{H:DoIt|' Date Created: 05-Dec-2026}|Private Sub DoIt(x)|{E:DoIt}|    y = x|{B:DoIt:Sub}|End Sub"},
        {"F", "Function", "1", nullptr,
         "Function F() As Long|{E:F}|  If x Then|  End If|{B:F:Function}|End Function||"},
        {"Get Total", "Property", "1", nullptr,
         "Property Get Total()|{E:Get_Total}|{B:Get_Total:Property}|End Property||Property Let Total(v)|"
         "End Property"},
        {"Let Total", "Property", "4", "110000",
         "Property Get Total()|End Property||{H:Let Total|' Created By: Ann}|Property Let Total(v)|"
         "{E:Let_Total}|{B:Let_Total:Property}|End Property"},
        {"Set Item", "Property", "1", "000000",
         "{H:}|Property Set Item(o)|{E:Set_Item}|{B:Set_Item:Property}|End Property"},
        {"ReadSetting", "Function", "1", nullptr,
         "Private Function ReadSetting(ByVal k As String, _|    Optional d = \"\") _|    As String|"
         "{E:ReadSetting}|{B:ReadSetting:Function}|End Function"},
        {"ShowTotals", "Sub", "4", nullptr,
         "Sub A()|End Sub||Sub ShowTotals()|{E:ShowTotals}|{B:ShowTotals:Sub}|End Sub|' Called by frmMain."},
        {"Indented", "Sub", "1", nullptr, "\tPublic Sub Indented()|{E:Indented}|{B:Indented:Sub}|  End Sub"},
        {"Fr", "Function", "1", nullptr,
         "Friend Static Function Fr()|{E:Fr}|  x = \"End Sub\"|{B:Fr:Function}|End Function ' Fr"},
        // a comment continued onto a blank line ends there
        {"Sc", "Sub", "3", nullptr, "' Was: _||Sub Sc()|{E:Sc}|{B:Sc:Sub}|End Sub"},
        // a bare "Sub" line names no procedure
        {"e", "Function", "2", nullptr, "Sub|Function e|{E:e}|{B:e:Function}|End Function"}};
    Set(pv::key::CreatedByName, "Ann");
    for (const auto& row : rows) {
        const auto before = Expand(row[4], true), after = Expand(row[4]);
        const long line = std::stol(row[2]);
        Load(before);
        HeaderFlags(row[3] ? row[3] : "000000");
        pv::AddToExistingProcedure(env, row[0], row[1], line, row[3] != nullptr);
        EXPECT_EQ(Lines(), after) << row[0];
        EXPECT_EQ(CaretLine(),
                  std::find(after.begin() + line - 1, after.end(), before[line - 1]) - after.begin() + 1);
    }
    EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(CodeToolsTest, CustomTemplateNamesTheLabelBaseAtEachUpperCasePlaceholder) {
    Load({"Property Get Total()", "End Property"});
    Set(pv::key::ErrorMessage, "Log \"<NAME>\": MsgBox \"<name><NAME><NAME>\"");
    pv::AddToExistingProcedure(env, "Get Total", "Property", 1, false);
    EXPECT_EQ(Module().Lines(9, 1), "\tLog \"Get_Total\": MsgBox \"<name>Get_TotalGet_Total\"");
}

TEST_F(CodeToolsTest, MissingProcedureOrLinesOutsideTheModuleAreReportedAndNothingIsWritten) {
    Load({"Sub S()", "End Sub"});
    pv::AddToExistingProcedure(env, "Gone", "Sub", 1, false);
    EXPECT_FALSE(pv::ProcContainsErrorHandling(env, 1, 5));
    EXPECT_EQ(Lines(), Split("Sub S()|End Sub"));
    EXPECT_EQ(Prompts(), (Strings{"AddToExistingProcedure: Sub or Function not defined 35",
                                  "ProcContainsErrorHandling(): Invalid procedure call or argument 5"}));
    EXPECT_EQ(ui.Messages()[0].Icon() + ui.Messages()[1].Icon(), 2 * forms::vbCritical);
    ui.ClearTranscript();
    // Left open at the end of the module, also inside a continued declaration: no place is safe.
    for (const char* open : {"Sub S()|  x = 1|  y = 2", "Sub S(a, _|  b)|  x = 1", "Sub S(a, _"}) {
        Load(Split(open));
        pv::AddToExistingProcedure(env, "S", "Sub", 1, false);
        EXPECT_EQ(Lines(), Split(open));
        EXPECT_EQ(Prompts(), Strings{"AddToExistingProcedure: No End statement closes S; nothing was added 5"});
        ui.ClearTranscript();
    }
}

TEST_F(CodeToolsTest, NameCheckRefusesWhatCannotBeAnIdentifier) {
    std::string verdicts = pv::InvalidProcedureName(env, std::string(300, 'a')) ? "1" : "0";
    for (const char* name :
         {"Foo", "foo_1", "Sub", "", " Foo", "1Foo", "_Foo", "Foo-Bar", "Caf\xE9", "Name$", "F\tB"})
        verdicts += pv::InvalidProcedureName(env, name) ? "1" : "0";
    EXPECT_EQ(verdicts, "000011111111");
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
    Load({"Option Explicit"});
    Set(pv::key::ShowCommentStubs, "maybe");
    pv::AddToNewProcedure(env, "Private", "Sub", "Foo", "", "", "");
    EXPECT_EQ(Lines(), Strings{"Option Explicit"});
    EXPECT_EQ(Prompts(), Strings{"AddToNewProcedure: Type mismatch 13"});
    EXPECT_EQ(ui.Messages()[0].Icon(), forms::vbCritical);
}

}  // namespace
