// CodeModule's line operations and the code pane's selection, as add-in code calls them.
#include <gtest/gtest.h>

#include <array>

#include "host/TestModules.h"

namespace {

using hosttest::ErrorOf;
using hosttest::MemoryModule;
using hosttest::Text;
using Call = std::function<std::string(host::CodeModule&)>;

Call Read(long start, long count) {
    return [=](host::CodeModule& c) { return c.Lines(start, count); };
}
Call Insert(long line, std::string text) {
    return [=](host::CodeModule& c) { return c.InsertLines(line, text), c.AllText(); };
}
Call Delete(long line, long count) {
    return [=](host::CodeModule& c) { return c.DeleteLines(line, count), c.AllText(); };
}
Call Replace(long line, std::string text) {
    return [=](host::CodeModule& c) { return c.ReplaceLine(line, text), c.AllText(); };
}

struct CallRow {
    std::string name;
    Call call;
    std::string result;  // Lines' text, or the whole module joined by "\n" after an edit
    long error = 0;
};

class LineCallTest : public testing::TestWithParam<CallRow> {};

TEST_P(LineCallTest, ReturnsTextOrRaisesInvalidCall) {
    MemoryModule module(Text({"A", "B", "C"}));
    std::string got;
    EXPECT_EQ(ErrorOf([&] { got = GetParam().call(module.Code()); }).Number(), GetParam().error);
    EXPECT_EQ(got, GetParam().result);
    if (GetParam().error != 0) {
        EXPECT_EQ(module.Code().AllText(), "A\nB\nC");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Calls, LineCallTest,
    testing::Values(CallRow{"ReadOneLine", Read(2, 1), "B"},
                    CallRow{"ReadSeveralJoinedByCrLf", Read(1, 3), "A\r\nB\r\nC"},
                    CallRow{"ReadCountZeroIsEmpty", Read(2, 0), ""},
                    CallRow{"ReadCountZeroJustPastTheEnd", Read(4, 0), ""},
                    CallRow{"ReadRunningPastTheEnd", Read(2, 3), "", 5},
                    CallRow{"ReadFromLineZero", Read(0, 1), "", 5},
                    CallRow{"ReadStartingPastTheEnd", Read(5, 0), "", 5},
                    CallRow{"ReadNegativeCount", Read(2, -1), "", 5},
                    CallRow{"InsertBeforeFirstLine", Insert(1, "X"), "X\nA\nB\nC"},
                    CallRow{"InsertAtCountPlusOneAppends", Insert(4, "X\r\nY"), "A\nB\nC\nX\nY"},
                    CallRow{"InsertBeyondTheEndAppends", Insert(40, "X"), "A\nB\nC\nX"},
                    CallRow{"InsertTrailingCrLfAddsEmptyLine", Insert(2, "X\r\n"), "A\nX\n\nB\nC"},
                    CallRow{"InsertSplitsAtLoneLfAndCr", Insert(2, "X\nY\rZ"), "A\nX\nY\nZ\nB\nC"},
                    CallRow{"InsertEmptyTextIsOneEmptyLine", Insert(2, ""), "A\n\nB\nC"},
                    CallRow{"InsertAtLineZero", Insert(0, "X"), "", 5},
                    CallRow{"DeleteLines", Delete(1, 2), "C"},
                    CallRow{"DeleteRunningPastTheEnd", Delete(2, 3), "", 5},
                    CallRow{"DeleteFromLineZero", Delete(0, 1), "", 5},
                    CallRow{"ReplaceLine", Replace(3, "    Z"), "A\nB\n    Z"},
                    CallRow{"ReplacePastTheEnd", Replace(4, "X"), "", 5}),
    hosttest::RowName);

TEST(CodeModuleEdits, ListenersHearEveryChangeUntilRemoved) {
    MemoryModule module(Text({"Option Explicit", "", "Sub Main()", "    frmMain.Show", "End Sub"}));
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

struct SelectionRow {
    std::string name;
    std::string code;
    std::array<long, 4> asked, got;
};

class SelectionTest : public testing::TestWithParam<SelectionRow> {};

TEST_P(SelectionTest, ClampsAndNotifies) {
    MemoryModule module(GetParam().code);
    host::CodePane& pane = module.Code().CodePane();
    EXPECT_EQ(&pane.CodeModule(), &module.Code());
    EXPECT_EQ(pane.Current().startLine, 1);
    std::vector<long> notified;
    pane.OnSelectionSet([&](const host::Selection& s) { notified.push_back(s.startLine); });
    const auto& [al, ac, bl, bc] = GetParam().asked;
    pane.SetSelection(al, ac, bl, bc);
    std::array<long, 4> got{};
    pane.GetSelection(got[0], got[1], got[2], got[3]);
    EXPECT_EQ(got, GetParam().got);
    EXPECT_EQ(notified, std::vector<long>{got[0]});
}

const std::string kFive = Text({"Option Explicit", "", "Sub Main()", "    frmMain.Show", "End Sub"});

INSTANTIATE_TEST_SUITE_P(
    Requests, SelectionTest,
    testing::Values(SelectionRow{"CaretInside", kFive, {3, 5, 3, 5}, {3, 5, 3, 5}},
                    SelectionRow{"LineZeroGoesToLineOne", kFive, {0, 1, 0, 1}, {1, 1, 1, 1}},
                    SelectionRow{"PastTheEndGoesToLastLine", kFive, {4, 1, 99, 8}, {4, 1, 5, 8}},
                    SelectionRow{"ColumnsAtLeastOne", kFive, {2, 0, 2, -3}, {2, 1, 2, 1}},
                    SelectionRow{"EmptyModuleStaysOnLineOne", "", {5, 1, 5, 1}, {1, 1, 1, 1}}),
    hosttest::RowName);

}  // namespace
