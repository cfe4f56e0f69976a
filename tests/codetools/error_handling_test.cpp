#include "CodeToolsFixture.h"
#include "codetools/ErrorHandling.h"

namespace {

using codetoolstest::CodeToolsTest;
using codetoolstest::Split;

TEST_F(CodeToolsTest, ExistingProcedureWorkedExample) {
    Load({"Private Sub DoIt(x As Long)", "    y = x", "End Sub"});
    HeaderFlags(true, false, true, false, false, false);
    pv::AddToExistingProcedure(env, "DoIt", "Sub", 1, true);
    const std::vector<std::string> expected = {
        codetoolstest::kHyphens,
        "' Procedure: DoIt",
        "' Date Created: 05-Dec-2026",
        "Private Sub DoIt(x As Long)",
        "\tOn Error Goto Err_DoIt",
        "",
        "",
        "    y = x",
        "Exit_DoIt:",
        "\tExit Sub",
        "",
        "Err_DoIt:",
        "\tMsgBox Err.Description & \" \" & Err.Number, vbCritical, \"DoIt()\"",
        "\tResume Exit_DoIt",
        "",
        "End Sub"};
    EXPECT_EQ(Lines(), expected);
    EXPECT_EQ(CaretLine(), 4);
    EXPECT_TRUE(ui.Messages().empty());
}

struct ExistingRow {
    const char* name;
    const char* module;
    const char* entry;
    const char* kind;
    long line;
    long afterDeclaration;  // the statement goes below this line
    long endLine;           // the block goes above this line
    const char* label;
};

class ExistingProcedure : public CodeToolsTest, public ::testing::WithParamInterface<ExistingRow> {};

TEST_P(ExistingProcedure, GetsItsBlockAtItsOwnLines) {
    const ExistingRow& row = GetParam();
    auto expected = Split(row.module);
    const std::string label = row.label;
    const std::vector<std::string> block = {"Exit_" + label + ":",
                                            std::string("\tExit ") + row.kind,
                                            "",
                                            "Err_" + label + ":",
                                            "\t" + codetoolstest::DefaultMessageFor(label),
                                            "\tResume Exit_" + label,
                                            ""};
    expected.insert(expected.begin() + row.endLine - 1, block.begin(), block.end());
    expected.insert(expected.begin() + row.afterDeclaration, {"\tOn Error Goto Err_" + label, "", ""});
    Load(Split(row.module));
    HeaderFlags(false, false, false, false, false, false);
    pv::AddToExistingProcedure(env, row.entry, row.kind, row.line, false);
    EXPECT_EQ(Lines(), expected);
    EXPECT_EQ(CaretLine(), row.line);
    EXPECT_TRUE(ui.Messages().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Procedures, ExistingProcedure,
    ::testing::Values(
        ExistingRow{"FunctionExitsAsFunction", "Function F() As Long|    F = 1|End Function", "F", "Function",
                    1, 1, 3, "F"},
        ExistingRow{"PropertyGetPartLabelsCarryThePrefix",
                    "Public Property Get Total() As Long|    Total = 1|End Property||"
                    "Public Property Let Total(ByVal v As Long)|End Property",
                    "Get Total", "Property", 1, 1, 3, "Get_Total"},
        ExistingRow{"PropertyLetPartBelowAnother",
                    "Public Property Get Total() As Long|End Property||"
                    "Public Property Let Total(ByVal v As Long)|    m = v|End Property",
                    "Let Total", "Property", 4, 4, 6, "Let_Total"},
        ExistingRow{"PropertySetPart",
                    "Public Property Set Item(ByVal o As Object)|    Set m = o|End Property", "Set Item",
                    "Property", 1, 1, 3, "Set_Item"},
        ExistingRow{
            "ContinuedDeclarationGetsTheStatementAfterItsLastLine",
            "Private Function ReadSetting(ByVal strKey As String, _|"
            "        Optional ByVal d As String = \"\") _|        As String|    ReadSetting = d|End Function",
            "ReadSetting", "Function", 1, 3, 5, "ReadSetting"},
        ExistingRow{"LastProcedureFollowedByCommentsGetsItsBlockAboveItsEnd",
                    "Sub A()|End Sub||Public Sub ShowTotals()|    MsgBox 1|End Sub|"
                    "' ShowTotals is called from frmMain.|' Keep it last.",
                    "ShowTotals", "Sub", 4, 4, 6, "ShowTotals"},
        ExistingRow{"LastProcedureFollowedByEmptyLines", "Sub A()|    x = 1|End Sub||", "A", "Sub", 1, 1, 3,
                    "A"},
        ExistingRow{"IndentedDeclaration", "  Public Sub Indented()|  End Sub", "Indented", "Sub", 1, 1, 2,
                    "Indented"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CodeToolsTest, HeaderNamesTheEntryWithItsPrefixAndAllFlagsOffLeaveTheHyphenLine) {
    Load({"Property Let Total(v)", "End Property", "Sub S()", "End Sub"});
    HeaderFlags(true, true, false, false, false, false);
    Set(pv::key::CreatedByName, "Ann");
    pv::AddToExistingProcedure(env, "Let Total", "Property", 1, true);
    EXPECT_EQ(Module().Lines(2, 1), "' Procedure: Let Total");
    EXPECT_EQ(Module().Lines(3, 1), "' Created By: Ann");
    EXPECT_EQ(Module().Lines(4, 1), "Property Let Total(v)");
    EXPECT_EQ(CaretLine(), 4);
    HeaderFlags(false, false, false, false, false, false);
    pv::AddToExistingProcedure(env, "S", "Sub", 16, true);
    EXPECT_EQ(Module().Lines(16, 1), codetoolstest::kHyphens);
    EXPECT_EQ(Module().Lines(17, 1), "Sub S()");
    EXPECT_EQ(CaretLine(), 17);
}

TEST_F(CodeToolsTest, CustomTemplateWithTheNameTwiceNamesTheLabelBaseTwice) {
    Load({"Property Get Total()", "End Property"});
    Set(pv::key::ErrorMessage, "Log \"<NAME>\": MsgBox \"<NAME>\"");
    pv::AddToExistingProcedure(env, "Get Total", "Property", 1, false);
    EXPECT_EQ(Module().Lines(9, 1), "\tLog \"Get_Total\": MsgBox \"Get_Total\"");
}

TEST_F(CodeToolsTest, MissingProcedureIsReportedAndNothingIsWritten) {
    Load({"Sub S()", "End Sub"});
    pv::AddToExistingProcedure(env, "Gone", "Sub", 1, false);
    EXPECT_EQ(Lines(), (std::vector<std::string>{"Sub S()", "End Sub"}));
    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_EQ(ui.Messages()[0].title, "AddToExistingProcedure");
    EXPECT_EQ(ui.Messages()[0].Icon(), forms::vbCritical);
}

}  // namespace
