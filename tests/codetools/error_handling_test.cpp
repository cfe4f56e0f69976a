#include "CodeToolsFixture.h"
#include "codetools/ErrorHandling.h"

namespace {

using codetoolstest::CodeToolsTest;
using codetoolstest::DefaultMessageFor;

const std::string kHyphens = "'------------------------------------------------------------------";

// The block written above a procedure's End line.
std::vector<std::string> Block(const std::string& label, const std::string& kind) {
    return {"Exit_" + label + ":",
            "\tExit " + kind,
            "",
            "Err_" + label + ":",
            std::string("\t").append(DefaultMessageFor(label)),
            "\tResume Exit_" + label,
            ""};
}

std::vector<std::string> Concat(std::initializer_list<std::vector<std::string>> parts) {
    std::vector<std::string> out;
    for (const auto& part : parts) out.insert(out.end(), part.begin(), part.end());
    return out;
}

TEST_F(CodeToolsTest, ExistingProcedureWorkedExample) {
    Load({"Private Sub DoIt(x As Long)", "    y = x", "End Sub"});
    HeaderFlags(true, false, true, false, false, false);
    pv::AddToExistingProcedure(env, "DoIt", "Sub", 1, true);
    const std::vector<std::string> expected = {
        kHyphens,
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
    std::vector<std::string> module;
    const char* entry;
    const char* kind;
    long line;
    bool stubs;
    std::vector<std::string> expected;
    long caret;
};

class ExistingProcedure : public CodeToolsTest, public ::testing::WithParamInterface<ExistingRow> {};

TEST_P(ExistingProcedure, GetsItsBlockAtItsOwnLines) {
    const ExistingRow& row = GetParam();
    Load(row.module);
    HeaderFlags(false, false, false, false, false, false);
    pv::AddToExistingProcedure(env, row.entry, row.kind, row.line, row.stubs);
    EXPECT_EQ(Lines(), row.expected);
    EXPECT_EQ(CaretLine(), row.caret);
    EXPECT_TRUE(ui.Messages().empty());
}

const std::vector<ExistingRow>& ExistingRows() {
    static const std::vector<ExistingRow> rows = {
        {"FunctionExitsAsFunction",
         {"Function F() As Long", "    F = 1", "End Function"},
         "F",
         "Function",
         1,
         false,
         Concat({{"Function F() As Long", "\tOn Error Goto Err_F", "", "", "    F = 1"},
                 Block("F", "Function"),
                 {"End Function"}}),
         1},
        {"PropertyGetPartLabelsCarryThePrefix",
         {"Public Property Get Total() As Long", "    Total = 1", "End Property", "",
          "Public Property Let Total(ByVal v As Long)", "End Property"},
         "Get Total",
         "Property",
         1,
         false,
         Concat({{"Public Property Get Total() As Long", "\tOn Error Goto Err_Get_Total", "", "",
                  "    Total = 1"},
                 Block("Get_Total", "Property"),
                 {"End Property", "", "Public Property Let Total(ByVal v As Long)", "End Property"}}),
         1},
        {"PropertyLetPartBelowAnother",
         {"Public Property Get Total() As Long", "End Property", "",
          "Public Property Let Total(ByVal v As Long)", "    m = v", "End Property"},
         "Let Total",
         "Property",
         4,
         false,
         Concat({{"Public Property Get Total() As Long", "End Property", "",
                  "Public Property Let Total(ByVal v As Long)", "\tOn Error Goto Err_Let_Total", "", "",
                  "    m = v"},
                 Block("Let_Total", "Property"),
                 {"End Property"}}),
         4},
        {"PropertySetPart",
         {"Public Property Set Item(ByVal o As Object)", "    Set m = o", "End Property"},
         "Set Item",
         "Property",
         1,
         false,
         Concat({{"Public Property Set Item(ByVal o As Object)", "\tOn Error Goto Err_Set_Item", "", "",
                  "    Set m = o"},
                 Block("Set_Item", "Property"),
                 {"End Property"}}),
         1},
        {"HeaderWithAllFlagsOffIsTheHyphenLine",
         {"Sub S()", "End Sub"},
         "S",
         "Sub",
         1,
         true,
         Concat({{kHyphens, "Sub S()", "\tOn Error Goto Err_S", "", ""}, Block("S", "Sub"), {"End Sub"}}),
         2},
        {"ContinuedDeclarationGetsTheStatementAfterItsLastLine",
         {"Private Function ReadSetting(ByVal strKey As String, _",
          "        Optional ByVal d As String = \"\") _", "        As String", "    ReadSetting = d",
          "End Function"},
         "ReadSetting",
         "Function",
         1,
         false,
         Concat({{"Private Function ReadSetting(ByVal strKey As String, _",
                  "        Optional ByVal d As String = \"\") _", "        As String",
                  "\tOn Error Goto Err_ReadSetting", "", "", "    ReadSetting = d"},
                 Block("ReadSetting", "Function"),
                 {"End Function"}}),
         1},
        {"LastProcedureFollowedByCommentsGetsItsBlockAboveItsEnd",
         {"Sub A()", "End Sub", "", "Public Sub ShowTotals()", "    MsgBox 1", "End Sub",
          "' ShowTotals is called from frmMain.", "' Keep it last."},
         "ShowTotals",
         "Sub",
         4,
         false,
         Concat({{"Sub A()", "End Sub", "", "Public Sub ShowTotals()", "\tOn Error Goto Err_ShowTotals", "",
                  "", "    MsgBox 1"},
                 Block("ShowTotals", "Sub"),
                 {"End Sub", "' ShowTotals is called from frmMain.", "' Keep it last."}}),
         4},
        {"LastProcedureFollowedByEmptyLines",
         {"Sub A()", "    x = 1", "End Sub", "", ""},
         "A",
         "Sub",
         1,
         false,
         Concat({{"Sub A()", "\tOn Error Goto Err_A", "", "", "    x = 1"},
                 Block("A", "Sub"),
                 {"End Sub", "", ""}}),
         1},
        {"IndentedDeclaration",
         {"  Public Sub Indented()", "  End Sub"},
         "Indented",
         "Sub",
         1,
         false,
         Concat({{"  Public Sub Indented()", "\tOn Error Goto Err_Indented", "", ""},
                 Block("Indented", "Sub"),
                 {"  End Sub"}}),
         1},
    };
    return rows;
}

INSTANTIATE_TEST_SUITE_P(Procedures, ExistingProcedure, ::testing::ValuesIn(ExistingRows()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(CodeToolsTest, CustomTemplateWithTheNameTwiceNamesTheLabelBaseTwice) {
    Load({"Property Get Total()", "End Property"});
    Set(pv::key::ErrorMessage, "Log \"<NAME>\": MsgBox \"<NAME>\"");
    pv::AddToExistingProcedure(env, "Get Total", "Property", 1, false);
    EXPECT_EQ(Module().Lines(9, 1), "\tLog \"Get_Total\": MsgBox \"Get_Total\"");
}

TEST_F(CodeToolsTest, TemplateWithoutThePlaceholderIsUsedUnchanged) {
    Load({"Sub S()", "End Sub"});
    Set(pv::key::ErrorMessage, "Resume Next");
    pv::AddToExistingProcedure(env, "S", "Sub", 1, false);
    EXPECT_EQ(Module().Lines(9, 1), "\tResume Next");
}

TEST_F(CodeToolsTest, HeaderNamesTheEntryWithItsPrefix) {
    Load({"Property Let Total(v)", "End Property"});
    HeaderFlags(true, true, false, false, false, false);
    Set(pv::key::CreatedByName, "Ann");
    pv::AddToExistingProcedure(env, "Let Total", "Property", 1, true);
    EXPECT_EQ(Module().Lines(2, 1), "' Procedure: Let Total");
    EXPECT_EQ(Module().Lines(3, 1), "' Created By: Ann");
    EXPECT_EQ(Module().Lines(4, 1), "Property Let Total(v)");
    EXPECT_EQ(CaretLine(), 4);
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
