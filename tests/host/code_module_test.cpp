// CodeModule's line operations and the code pane's selection, as add-in code calls them.
#include <gtest/gtest.h>

#include <array>
#include <functional>

#include "host/TestModules.h"
#include "vbrt/VbError.h"

namespace {

using hosttest::MemoryModule;
using hosttest::Text;

const std::string kCode = Text({"Option Explicit", "", "Sub Main()", "    frmMain.Show", "End Sub"});

long ErrorOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const vbrt::VbError& e) {
        return e.Number();
    }
    return 0;
}

struct LinesRow {
    std::string name;
    long start, count;
    std::string text;  // expected, when error is 0
    long error;
};

class LinesTest : public testing::TestWithParam<LinesRow> {};

TEST_P(LinesTest, ReadsRangeOrRaises) {
    MemoryModule module(kCode);
    const LinesRow& row = GetParam();
    std::string got;
    EXPECT_EQ(ErrorOf([&] { got = module.Code().Lines(row.start, row.count); }), row.error);
    if (row.error == 0) {
        EXPECT_EQ(got, row.text);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Ranges, LinesTest,
    testing::Values(LinesRow{"OneLine", 3, 1, "Sub Main()", 0},
                    LinesRow{"SeveralJoinedByCrLf", 3, 3, "Sub Main()\r\n    frmMain.Show\r\nEnd Sub", 0},
                    LinesRow{"CountZeroIsEmpty", 2, 0, "", 0},
                    LinesRow{"CountZeroJustPastTheEnd", 6, 0, "", 0}, LinesRow{"RunsPastTheEnd", 4, 3, "", 5},
                    LinesRow{"StartsAtZero", 0, 1, "", 5}, LinesRow{"StartsPastTheEnd", 7, 0, "", 5},
                    LinesRow{"NegativeCount", 2, -1, "", 5}),
    [](const auto& info) { return info.param.name; });

struct InsertRow {
    std::string name;
    long line;
    std::string text;
    std::string after;  // whole module, lines joined by "\n"
};

class InsertTest : public testing::TestWithParam<InsertRow> {};

TEST_P(InsertTest, SplitsTextIntoLines) {
    MemoryModule module(Text({"A", "B"}));
    module.Code().InsertLines(GetParam().line, GetParam().text);
    EXPECT_EQ(module.Code().AllText(), GetParam().after);
}

INSTANTIATE_TEST_SUITE_P(Texts, InsertTest,
                         testing::Values(InsertRow{"BeforeFirstLine", 1, "X", "X\nA\nB"},
                                         InsertRow{"AtCountPlusOneAppends", 3, "X\r\nY", "A\nB\nX\nY"},
                                         InsertRow{"BeyondTheEndClampsToAppend", 40, "X", "A\nB\nX"},
                                         InsertRow{"TrailingCrLfAddsEmptyLastLine", 2, "X\r\n", "A\nX\n\nB"},
                                         InsertRow{"LoneLfAndLoneCrSplitToo", 2, "X\nY\rZ", "A\nX\nY\nZ\nB"},
                                         InsertRow{"EmptyTextIsOneEmptyLine", 2, "", "A\n\nB"}),
                         [](const auto& info) { return info.param.name; });

TEST(CodeModuleEdits, OutOfRangeCallsRaiseInvalidCall) {
    MemoryModule module(Text({"A", "B"}));
    host::CodeModule& code = module.Code();
    EXPECT_EQ(ErrorOf([&] { code.InsertLines(0, "X"); }), 5);
    EXPECT_EQ(ErrorOf([&] { code.DeleteLines(2, 2); }), 5);
    EXPECT_EQ(ErrorOf([&] { code.DeleteLines(0, 1); }), 5);
    EXPECT_EQ(ErrorOf([&] { code.ReplaceLine(3, "X"); }), 5);
    EXPECT_EQ(code.AllText(), "A\nB");
}

TEST(CodeModuleEdits, DeleteAndReplaceLines) {
    MemoryModule module(kCode);
    host::CodeModule& code = module.Code();
    code.DeleteLines(1, 2);
    code.ReplaceLine(2, "    frmAbout.Show vbModal");
    EXPECT_EQ(code.AllText(), "Sub Main()\n    frmAbout.Show vbModal\nEnd Sub");
}

TEST(CodeModuleEdits, ListenersHearEveryChangeUntilRemoved) {
    MemoryModule module(kCode);
    host::CodeModule& code = module.Code();
    std::vector<std::array<long, 3>> heard;
    int id = code.OnLinesChanged([&](long first, long removed, long inserted) {
        heard.push_back({first, removed, inserted});
    });
    code.InsertLines(4, "    On Error GoTo Err_Main\r\n");
    code.DeleteLines(1, 1);
    code.ReplaceLine(1, "' main module");
    code.RemoveListener(id);
    code.DeleteLines(1, 1);
    EXPECT_EQ(heard, (std::vector<std::array<long, 3>>{{4, 0, 2}, {1, 1, 0}, {1, 1, 1}}));
}

TEST(CodeModuleEdits, DirtyAfterAnEdit) {
    MemoryModule module("");
    EXPECT_TRUE(module.Component().IsDirty());  // new, never saved
    EXPECT_EQ(module.Code().CountOfLines(), 0);
    EXPECT_EQ(module.Component().Name(), "Module1");
}

struct SelectionRow {
    std::string name;
    host::Selection asked, got;
};

class SelectionTest : public testing::TestWithParam<SelectionRow> {};

TEST_P(SelectionTest, ClampsAndNotifies) {
    MemoryModule module(kCode);
    host::CodePane& pane = module.Code().CodePane();
    std::vector<long> notified;
    pane.OnSelectionSet([&](const host::Selection& s) { notified.push_back(s.startLine); });
    const auto& a = GetParam().asked;
    pane.SetSelection(a.startLine, a.startColumn, a.endLine, a.endColumn);
    long sl, sc, el, ec;
    pane.GetSelection(sl, sc, el, ec);
    const auto& g = GetParam().got;
    EXPECT_EQ((std::array<long, 4>{sl, sc, el, ec}),
              (std::array<long, 4>{g.startLine, g.startColumn, g.endLine, g.endColumn}));
    EXPECT_EQ(notified, std::vector<long>{g.startLine});
}

INSTANTIATE_TEST_SUITE_P(Requests, SelectionTest,
                         testing::Values(SelectionRow{"CaretInside", {3, 5, 3, 5}, {3, 5, 3, 5}},
                                         SelectionRow{"LineZeroGoesToLineOne", {0, 1, 0, 1}, {1, 1, 1, 1}},
                                         SelectionRow{
                                             "PastTheEndGoesToLastLine", {4, 1, 99, 8}, {4, 1, 5, 8}},
                                         SelectionRow{"ColumnsAtLeastOne", {2, 0, 2, -3}, {2, 1, 2, 1}}),
                         [](const auto& info) { return info.param.name; });

TEST(CodePaneSelection, DefaultIsTopLeftAndEmptyModuleClampsToLineOne) {
    MemoryModule module("");
    host::CodePane& pane = module.Code().CodePane();
    EXPECT_EQ(pane.Current().startLine, 1);
    pane.SetSelection(5, 1, 5, 1);
    EXPECT_EQ(pane.Current().startLine, 1);
    EXPECT_EQ(&pane.CodeModule(), &module.Code());
}

}  // namespace
