#include "codetools/basComment.h"

#include "CodeToolsFixture.h"

namespace {

using codetoolstest::Split;
using codetoolstest::Strings;

class CommentTest : public codetoolstest::CodeToolsTest {
protected:
    void Select(long sl, long sc, long el, long ec) { Module().CodePane().SetSelection(sl, sc, el, ec); }
    std::string Caret() {
        const host::Selection s = Module().CodePane().Current();
        return std::to_string(s.startLine) + "," + std::to_string(s.startColumn) + "-" +
               std::to_string(s.endLine) + "," + std::to_string(s.endColumn);
    }
};

TEST_F(CommentTest, CommentPrefixesNonBlankLinesAtTheChosenColumnAndUncommentRestoresThem) {
    const char* const rows[][3] = {
        // IndentLevel (null: never written), module, the module commented
        {nullptr, "    If a Then|        b = 1||    End If", "'     If a Then|'         b = 1||'     End If"},
        {"1", "    If a Then|        b = 1||    End If", "    ' If a Then|    '     b = 1||    ' End If"},
        {"1", "\tx = 1|    y = 2", "' \tx = 1|'     y = 2"},  // a tab is text, not indentation
        {"0", "' already a comment", "' ' already a comment"},
        {"1", "|   |", "|   |"}};
    for (const auto& row : rows) {
        Load(Split(row[1]));
        if (row[0]) Set("IndentLevel", row[0]);
        const long last = Module().CountOfLines();
        Select(1, 1, last, 2);
        pv::CommentSelection(env);
        EXPECT_EQ(Lines(), Split(row[2])) << (row[0] ? row[0] : "unset") << ": " << row[1];
        EXPECT_EQ(component->IsDirty(), std::string(row[1]) != row[2]);
        Select(1, 1, last, 2);
        if (std::string(row[1]) != row[2]) pv::UncommentSelection(env);
        EXPECT_EQ(Lines(), Split(row[1]));
    }
    EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(CommentTest, CommentCoversTheLinesTheSelectionEndsInAndPutsTheCaretAfterThem) {
    const struct {
        long sl, sc, el, ec, first, last, caret;  // lines first..last commented
    } rows[] = {{3, 1, 6, 1, 3, 5, 5},            // ending at column one leaves the end line out
                {3, 7, 4, 2, 3, 4, 4},            // ending inside the line takes it; the start column no part
                {8, 4, 8, 4, 8, 8, 8},            // a caret inside a line takes that line
                {8, 1, 8, 1, 1, 0, 7},            // a caret at column one is an empty block
                {1, 1, 1, 1, 1, 0, 1}};           // and at the very start stays on line one
    Strings lines;
    for (int i = 1; i <= 10; ++i) lines.push_back("x" + std::to_string(i) + " = " + std::to_string(i));
    for (const auto& row : rows) {
        Load(lines);
        Select(row.sl, row.sc, row.el, row.ec);
        pv::CommentSelection(env);
        Strings expected = lines;
        for (long i = row.first; i <= row.last; ++i) expected[i - 1] = "' " + expected[i - 1];
        EXPECT_EQ(Lines(), expected) << row.sl << "," << row.sc << "-" << row.el << "," << row.ec;
        EXPECT_EQ(Caret(), std::to_string(row.caret) + ",1-" + std::to_string(row.caret) + ",1");
    }
}

TEST_F(CommentTest, UncommentWithNoPrefixedLineSaysSoAndStillMovesTheCaret) {
    Load({"x = 1 ' note", "s = \"' \" ' both", "'x", "y = 2", ""});  // "' " begins no line's text
    Select(1, 1, 5, 1);
    pv::UncommentSelection(env);
    EXPECT_EQ(ui.Transcript(), (Strings{"beep",
                                        "msgbox:Procvault:Procvault could not find any lines in the "
                                        "selection with the comment prefix as specified on the options "
                                        "screen."}));
    EXPECT_EQ(ui.Messages()[0].buttons, forms::vbExclamation + forms::vbOKOnly);
    EXPECT_EQ(Caret(), "4,1-4,1");
    EXPECT_FALSE(component->IsDirty());
    Load({"'note x", "'NOTE y"});  // the stored prefix compares with letter case
    Set("CommentPrefix", "'NOTE ");
    Select(1, 1, 2, 4);
    pv::UncommentSelection(env);
    EXPECT_EQ(Lines(), Split("'note x|y"));
}

TEST_F(CommentTest, HiddenAttributeLinesSurviveACommentRoundTripByteForByte) {
    const std::string original =
        "VERSION 1.0 CLASS\r\nBEGIN\r\n  MultiUse = -1  'True\r\nEND\r\nAttribute VB_Name = \"Module1\"\r\n"
        "Option Explicit\r\nPrivate WithEvents mForm As Form\r\nAttribute mForm.VB_VarHelpID = -1\r\n"
        "Public Property Get Item() As Long\r\nAttribute Item.VB_UserMemId = 0\r\n    Item = 1\r\n"
        "End Property\r\n";
    LoadFile("Module1.cls", original);
    ASSERT_EQ(Module().Lines(4, 1), "    Item = 1");
    Select(1, 1, 5, 13);
    pv::CommentSelection(env);
    EXPECT_EQ(Module().Lines(3, 1), "' Public Property Get Item() As Long");
    Select(1, 1, 5, 13);
    pv::UncommentSelection(env);
    component->Save();
    EXPECT_EQ(testsupport::ReadBytes(dir / "Module1.cls"), original);
}

TEST_F(CommentTest, NoActiveCodePaneIsReportedUnderTheCommandsName) {
    Load({"x = 1"});
    vbe.SetActiveDesigner(component);
    pv::CommentSelection(env);
    pv::UncommentSelection(env);
    EXPECT_EQ(Prompts(),
              (Strings{"CommentSelection(): Object variable or With block variable not set 91",
                       "UncommentSelection(): Object variable or With block variable not set 91"}));
    EXPECT_EQ(ui.Messages()[0].Icon(), forms::vbCritical);
    EXPECT_EQ(Module().Lines(1, 1), "x = 1");
}

}  // namespace
