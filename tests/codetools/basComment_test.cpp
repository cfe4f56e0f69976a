#include "codetools/basComment.h"

#include <gtest/gtest.h>

#include "CodeToolsFixture.h"

namespace {

const char* const kNoPrefixMessage =
    "Procvault could not find any lines in the selection with the comment prefix as specified on the options "
    "screen.";

class CommentTest : public codetoolstest::CodeToolsTest {
protected:
    void Select(long sl, long sc, long el, long ec) { Module().CodePane().SetSelection(sl, sc, el, ec); }
    host::Selection Caret() { return Module().CodePane().Current(); }
};

const std::vector<std::string> kIfBlock = {"    If a Then", "        b = 1", "", "    End If"};

struct AlignmentRow {
    const char* name;
    const char* indentLevel;
    std::vector<std::string> expected;
};

class CommentAlignment : public CommentTest, public ::testing::WithParamInterface<AlignmentRow> {};

TEST_P(CommentAlignment, PrefixesNonBlankLinesAtTheChosenColumn) {
    Load(kIfBlock);
    Set("CommentPrefix", "' ");
    Set("IndentLevel", GetParam().indentLevel);
    Select(1, 1, 4, 11);
    pv::CommentSelection(env);
    EXPECT_EQ(Lines(), GetParam().expected);
    EXPECT_TRUE(ui.Messages().empty());
}

TEST_P(CommentAlignment, UncommentRestoresTheBlockExactly) {
    Load(kIfBlock);
    Set("IndentLevel", GetParam().indentLevel);
    Select(1, 1, 4, 11);
    pv::CommentSelection(env);
    Select(1, 1, 4, 11);
    pv::UncommentSelection(env);
    EXPECT_EQ(Lines(), kIfBlock);
    EXPECT_TRUE(ui.Messages().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Alignments, CommentAlignment,
    ::testing::Values(
        AlignmentRow{"LeftSide", "0", {"'     If a Then", "'         b = 1", "", "'     End If"}},
        AlignmentRow{"LowestIndent", "1", {"    ' If a Then", "    '     b = 1", "", "    ' End If"}},
        AlignmentRow{"AnyOtherValueMeansLowestIndent",
                     "2",
                     {"    ' If a Then", "    '     b = 1", "", "    ' End If"}}),
    [](const auto& info) { return std::string(info.param.name); });

struct BlockRow {
    const char* name;
    long sl, sc, el, ec;
    long firstChanged, lastChanged;  // lastChanged < firstChanged: nothing changes
    long caretLine;
};

class CommentBlock : public CommentTest, public ::testing::WithParamInterface<BlockRow> {};

TEST_P(CommentBlock, CoversTheLinesTheSelectionEndsIn) {
    std::vector<std::string> lines;
    for (int i = 1; i <= 10; ++i) lines.push_back("x" + std::to_string(i) + " = " + std::to_string(i));
    Load(lines);
    const BlockRow& row = GetParam();
    Select(row.sl, row.sc, row.el, row.ec);
    pv::CommentSelection(env);
    const auto after = Lines();
    for (long i = 1; i <= 10; ++i) {
        const bool inBlock = i >= row.firstChanged && i <= row.lastChanged;
        EXPECT_EQ(after[i - 1], (inBlock ? "' " : "") + lines[i - 1]) << "line " << i;
    }
    EXPECT_EQ(Caret().startLine, row.caretLine);
    EXPECT_EQ(Caret().startColumn, 1);
    EXPECT_EQ(Caret().endLine, row.caretLine);
    EXPECT_EQ(Caret().endColumn, 1);
}

INSTANTIATE_TEST_SUITE_P(Selections, CommentBlock,
                         ::testing::Values(BlockRow{"EndAtColumnOneLeavesTheEndLineOut", 3, 1, 6, 1, 3, 5, 5},
                                           BlockRow{"EndInsideTheLineIncludesIt", 3, 1, 6, 5, 3, 6, 6},
                                           BlockRow{"StartColumnPlaysNoPart", 3, 7, 4, 2, 3, 4, 4},
                                           BlockRow{"CaretInsideALineTakesThatLine", 8, 4, 8, 4, 8, 8, 8},
                                           BlockRow{"CaretAtColumnOneIsAnEmptyBlock", 8, 1, 8, 1, 1, 0, 7},
                                           BlockRow{"CaretAtTheVeryStartGoesToLineOne", 1, 1, 1, 1, 1, 0, 1}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(CommentTest, EmptyStoreGetsItsDefaultsAndCommentsAtColumnOne) {
    Load({"    a = 1"});
    Select(1, 1, 1, 5);
    pv::CommentSelection(env);
    EXPECT_EQ(Lines(), std::vector<std::string>{"'     a = 1"});
    EXPECT_EQ(pv::ReadOption(store, "CommentPrefix", "unset"), "' ");
    EXPECT_EQ(pv::ReadOption(store, "IndentLevel", "unset"), "0");
}

TEST_F(CommentTest, BlankLinesOnlyAreLeftUnchangedUnderBothAlignments) {
    for (const char* level : {"0", "1"}) {
        Load({"", "   ", ""});
        Set("IndentLevel", level);
        Select(1, 1, 3, 1);
        pv::CommentSelection(env);
        EXPECT_EQ(Lines(), (std::vector<std::string>{"", "   ", ""})) << level;
        EXPECT_FALSE(component->IsDirty()) << level;
    }
}

TEST_F(CommentTest, ATabIsTextNotIndentation) {
    Load({"\tx = 1", "    y = 2"});
    Set("IndentLevel", "1");
    Select(1, 1, 2, 3);
    pv::CommentSelection(env);
    EXPECT_EQ(Lines(), (std::vector<std::string>{"' \tx = 1", "'     y = 2"}));
}

TEST_F(CommentTest, ACommentedLineGetsOneMorePrefixAndLosesOnePerUncomment) {
    Load({"' already a comment"});
    Select(1, 1, 1, 3);
    pv::CommentSelection(env);
    EXPECT_EQ(Module().Lines(1, 1), "' ' already a comment");
    Select(1, 1, 1, 3);
    pv::UncommentSelection(env);
    EXPECT_EQ(Module().Lines(1, 1), "' already a comment");
    Select(1, 1, 1, 3);
    pv::UncommentSelection(env);
    EXPECT_EQ(Module().Lines(1, 1), "already a comment");
}

TEST_F(CommentTest, UncommentWithNoPrefixedLineSaysSoAndStillMovesTheCaret) {
    Load({"x = 1 ' note", "y = 2", ""});
    Select(1, 1, 3, 1);
    pv::UncommentSelection(env);
    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_EQ(ui.Messages()[0].prompt, kNoPrefixMessage);
    EXPECT_EQ(ui.Messages()[0].title, "Procvault");
    EXPECT_EQ(ui.Messages()[0].buttons, forms::vbExclamation + forms::vbOKOnly);
    EXPECT_EQ(ui.Transcript().front(), "beep");
    EXPECT_EQ(Caret().startLine, 2);
    EXPECT_FALSE(component->IsDirty());
    Load({"' a", "' b"});  // an empty block has no prefixed line either
    Select(2, 1, 2, 1);
    pv::UncommentSelection(env);
    EXPECT_EQ(ui.Messages().size(), 2u);
    EXPECT_EQ(Lines(), (std::vector<std::string>{"' a", "' b"}));
    EXPECT_EQ(Caret().startLine, 1);
}

TEST_F(CommentTest, UncommentComparesThePrefixWithLetterCase) {
    Load({"'note x", "'NOTE y"});
    Set("CommentPrefix", "'NOTE ");
    Select(1, 1, 2, 4);
    pv::UncommentSelection(env);
    EXPECT_EQ(Lines(), (std::vector<std::string>{"'note x", "y"}));
}

TEST_F(CommentTest, HiddenAttributeLinesSurviveACommentRoundTrip) {
    const std::string original =
        "VERSION 1.0 CLASS\r\nBEGIN\r\n  MultiUse = -1  'True\r\nEND\r\nAttribute VB_Name = \"Module1\"\r\n"
        "Option Explicit\r\n"
        "Public Property Get Item() As Long\r\n"
        "Attribute Item.VB_UserMemId = 0\r\n"
        "    Item = 1\r\n"
        "End Property\r\n";
    testsupport::WriteBytes(dir / "Module1.cls", original);
    vbe.OpenProject(dir.Path());
    component = &vbe.ActiveVBProject().VBComponents().Item("Module1");
    component->Activate();
    pv::objVBE = &vbe;
    ASSERT_EQ(Module().Lines(3, 1), "    Item = 1");
    Select(2, 1, 4, 13);
    pv::CommentSelection(env);
    EXPECT_EQ(Module().Lines(2, 1), "' Public Property Get Item() As Long");
    Select(2, 1, 4, 13);
    pv::UncommentSelection(env);
    component->Save();
    EXPECT_EQ(testsupport::ReadBytes(dir / "Module1.cls"), original);
}

TEST_F(CommentTest, NoActiveCodePaneIsReportedUnderTheCommandsName) {
    Load({"x = 1"});
    vbe.SetActiveDesigner(component);
    pv::CommentSelection(env);
    pv::UncommentSelection(env);
    ASSERT_EQ(ui.Messages().size(), 2u);
    EXPECT_EQ(ui.Messages()[0].title, "CommentSelection()");
    EXPECT_EQ(ui.Messages()[0].prompt, "Object variable or With block variable not set 91");
    EXPECT_EQ(ui.Messages()[0].Icon(), forms::vbCritical);
    EXPECT_EQ(ui.Messages()[1].title, "UncommentSelection()");
    EXPECT_EQ(Module().Lines(1, 1), "x = 1");
}

TEST(RemoveLeadingPrefix, OnlyWhereThePrefixBeginsTheText) {
    struct Row {
        const char* line;
        const char* prefix;
        bool removed;
        const char* result;
    };
    const Row rows[] = {{"' x", "' ", true, "x"},
                        {"    ' x", "' ", true, "    x"},
                        {"x = 1 ' note", "' ", false, ""},
                        {"s = \"' \" ' both", "' ", false, ""},
                        {"'x", "' ", false, ""},
                        {"  rem x", "rem ", true, "  x"},
                        {"", "' ", false, ""}};
    for (const Row& row : rows) {
        std::string result;
        EXPECT_EQ(pv::RemoveLeadingPrefix(row.line, row.prefix, result), row.removed) << row.line;
        if (row.removed) {
            EXPECT_EQ(result, row.result) << row.line;
        }
    }
}

}  // namespace
