// The code window against a real CodeModule: the user's edits change exactly
// the affected lines, module changes show in the editor, neither echoes back.
#include "CodeWindow.h"

#include <gtest/gtest.h>

#include <QTest>
#include <QTextBlock>
#include <functional>

#include "StudioFixture.h"
#include "host/VBE.h"
#include "qt/QtText.h"

namespace {

struct Change {
    long first, removed, inserted;
    bool operator==(const Change&) const = default;
};

class CodeWindowTest : public testing::Test {
protected:
    void SetUp() override {
        guitest::App();
        studiotest::WriteProject(dir);
        vbe.OpenProject(dir / "Project1.vbp");
        component = &vbe.ActiveVBProject().VBComponents().Item("Module1");
        module = &component->CodeModule();
        window = std::make_unique<studio::CodeWindow>(*component);
        window->resize(600, 400);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        window->setFocus();
        module->OnLinesChanged([this](long f, long r, long i) { changes.push_back({f, r, i}); });
    }
    void TearDown() override { window.reset(); }
    void CaretAt(int line, int column) {
        QTextCursor c(window->document()->findBlockByNumber(line - 1));
        c.setPosition(c.position() + column - 1);
        window->setTextCursor(c);
    }
    std::string EditorText() const { return pvqt::FromQt(window->toPlainText()); }
    std::vector<std::string> ModuleLines() const {
        std::vector<std::string> lines;
        for (long i = 1; i <= module->CountOfLines(); ++i) lines.push_back(module->Lines(i, 1));
        return lines;
    }

    testsupport::TempDir dir;
    host::VBE vbe;
    host::VBComponent* component = nullptr;
    host::CodeModule* module = nullptr;
    std::unique_ptr<studio::CodeWindow> window;
    std::vector<Change> changes;
};

using Lines = std::vector<std::string>;
const Lines kOriginal = {
    "Option Explicit",     "",       "Public Sub ShowTotal()", "    Dim lngTotal As Long", "    lngTotal = 1",
    "    MsgBox lngTotal", "End Sub"};

struct EditRow {
    const char* name;
    int line, column, toLine;  // toLine: 0 places the caret, > 0 selects whole lines, -1 selects all
    QString typed, pasted;
    QKeySequence keys;
    std::function<void(Lines&)> expect;  // applied to the original lines
    std::vector<Change> changes;
};

class CodeWindowEditTest : public CodeWindowTest, public testing::WithParamInterface<EditRow> {};

TEST_P(CodeWindowEditTest, ChangesExactlyTheAffectedLines) {
    const EditRow& row = GetParam();
    if (row.toLine == 0) CaretAt(row.line, row.column);
    if (row.toLine > 0) window->SelectLines(row.line, row.toLine);
    if (row.toLine < 0) window->selectAll();
    QTest::keyClicks(window.get(), row.typed);
    if (!row.pasted.isEmpty()) window->insertPlainText(row.pasted);  // empty would delete the selection
    QTest::keySequence(window.get(), row.keys);
    Lines expected = kOriginal;
    row.expect(expected);
    EXPECT_EQ(ModuleLines(), expected);
    EXPECT_EQ(changes, row.changes);
    EXPECT_EQ(module->AllText(), EditorText());
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Edits, CodeWindowEditTest, testing::Values(
    EditRow{"TypeCharacter", 5, 5, 0, "X", "", {}, [](Lines& l) { l[4] = "    XlngTotal = 1"; }, {{5, 1, 1}}},
    EditRow{"EnterSplitsLine", 6, 11, 0, "", "", Qt::Key_Return,
            [](Lines& l) { l[5] = "    MsgBox"; l.insert(l.begin() + 6, " lngTotal"); }, {{6, 1, 1}, {7, 0, 1}}},
    EditRow{"BackspaceJoinsLines", 3, 1, 0, "", "", Qt::Key_Backspace, [](Lines& l) { l.erase(l.begin() + 1); },
            {{2, 1, 0}}},
    EditRow{"PasteSeveralLines", 7, 1, 0, "", "    ' a\n    ' b\n", {},
            [](Lines& l) { l.insert(l.begin() + 6, {"    ' a", "    ' b"}); }, {{7, 0, 2}}},
    // The first Delete leaves one empty line, the second joins it with the next.
    EditRow{"DeleteWholeLines", 4, 1, 5, "", "", QKeySequence(Qt::Key_Delete, Qt::Key_Delete),
            [](Lines& l) { l.erase(l.begin() + 3, l.begin() + 5); }, {{4, 1, 1}, {5, 1, 0}, {4, 1, 0}}},
    EditRow{"SelectAllDeleteEmptiesModule", 1, 1, -1, "", "", Qt::Key_Delete, [](Lines& l) { l.clear(); },
            {{1, 7, 0}}},
    EditRow{"UndoRestoresLine", 1, 1, 0, "'", "", Qt::CTRL | Qt::Key_Z, [](Lines&) {}, {{1, 1, 1}, {1, 1, 1}}},
    EditRow{"NonAsciiTypedBecomesCodePageByte", 2, 1, 0, "", QString::fromUtf8("' café €"), {},
            [](Lines& l) { l[1] = "' caf\xE9 \x80"; }, {{2, 1, 1}}}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST_F(CodeWindowTest, EditsKeepHiddenAttributeWithItsLineOnSave) {
    CaretAt(4, 1);
    QTest::keyClicks(window.get(), "    lngTotal = 0");
    QTest::keyClick(window.get(), Qt::Key_Return);
    EXPECT_TRUE(component->IsDirty());
    component->Save();
    std::string expected = studiotest::kModule1;
    const std::string dim = "    Dim lngTotal As Long\r\n";
    expected.insert(expected.find(dim), "    lngTotal = 0\r\n");
    EXPECT_EQ(testsupport::ReadBytes(dir / "Module1.bas"), expected);
}

struct ModelRow {
    const char* name;
    std::function<void(host::CodeModule&)> change;
    std::size_t calls;
};

class CodeWindowModelTest : public CodeWindowTest, public testing::WithParamInterface<ModelRow> {};

TEST_P(CodeWindowModelTest, ModuleChangeShowsInEditorWithoutEcho) {
    GetParam().change(*module);
    EXPECT_EQ(EditorText(), module->AllText());
    EXPECT_EQ(changes.size(), GetParam().calls);  // the editor did not write the change back
}

using Module = host::CodeModule;
// clang-format off
INSTANTIATE_TEST_SUITE_P(Changes, CodeWindowModelTest, testing::Values(
    ModelRow{"ReplaceLine", [](Module& m) { m.ReplaceLine(5, "    lngTotal = 2"); }, 1},
    ModelRow{"InsertInMiddle", [](Module& m) { m.InsertLines(3, "' one\r\n' two"); }, 1},
    ModelRow{"InsertAtTop", [](Module& m) { m.InsertLines(1, "' top"); }, 1},
    ModelRow{"AppendAtEnd", [](Module& m) { m.InsertLines(8, "\r\nPrivate Sub X()"); }, 1},
    ModelRow{"DeleteInMiddle", [](Module& m) { m.DeleteLines(4, 2); }, 1},
    ModelRow{"DeleteToEnd", [](Module& m) { m.DeleteLines(6, 2); }, 1},
    ModelRow{"DeleteEverything", [](Module& m) { m.DeleteLines(1, 7); }, 1},
    // The emptied editor's one empty block must not stay beside the new line.
    ModelRow{"InsertIntoEmptiedModule", [](Module& m) { m.DeleteLines(1, 7); m.InsertLines(1, "Option Explicit"); }, 2}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

}  // namespace
