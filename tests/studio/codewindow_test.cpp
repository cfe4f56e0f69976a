// The code window against a real CodeModule: the user's edits change exactly
// the affected lines, module changes show in the editor, neither echoes back.
#include "CodeWindow.h"

#include <gtest/gtest.h>

#include <QTest>
#include <QTextBlock>
#include <functional>

#include "LineSync.h"
#include "TestProject.h"
#include "host/VBE.h"
#include "qt/GuiTestApp.h"
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

public:
    void CaretAt(int line, int column) {
        QTextCursor c(window->document()->findBlockByNumber(line - 1));
        c.setPosition(c.position() + column - 1);
        window->setTextCursor(c);
    }

protected:
    std::string EditorText() const { return pvqt::FromQt(window->toPlainText()); }
    std::vector<std::string> Lines() const {
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

TEST_F(CodeWindowTest, ShowsTheVisibleLinesOnly) {
    EXPECT_EQ(EditorText(),
              "Option Explicit\n\nPublic Sub ShowTotal()\n    Dim lngTotal As Long\n"
              "    lngTotal = 1\n    MsgBox lngTotal\nEnd Sub");
}

struct EditRow {
    const char* name;
    std::function<void(CodeWindowTest&, studio::CodeWindow&)> edit;
    std::vector<std::string> lines;
    std::vector<Change> changes;
};

class CodeWindowEditTest : public CodeWindowTest, public testing::WithParamInterface<EditRow> {};

TEST_P(CodeWindowEditTest, ChangesExactlyTheAffectedLines) {
    GetParam().edit(*this, *window);
    EXPECT_EQ(Lines(), GetParam().lines);
    EXPECT_EQ(changes, GetParam().changes);
    EXPECT_EQ(module->AllText(), EditorText());
}

const std::vector<std::string> kOriginal = {
    "Option Explicit",     "",       "Public Sub ShowTotal()", "    Dim lngTotal As Long", "    lngTotal = 1",
    "    MsgBox lngTotal", "End Sub"};

std::vector<std::string> With(std::function<void(std::vector<std::string>&)> change) {
    auto lines = kOriginal;
    change(lines);
    return lines;
}

INSTANTIATE_TEST_SUITE_P(Edits, CodeWindowEditTest,
                         testing::Values(EditRow{"TypeCharacter",
                                                 [](CodeWindowTest& t, studio::CodeWindow& w) {
                                                     t.CaretAt(5, 5);
                                                     QTest::keyClicks(&w, "X");
                                                 },
                                                 With([](auto& l) { l[4] = "    XlngTotal = 1"; }),
                                                 {{5, 1, 1}}},
                                         EditRow{"EnterSplitsLine",
                                                 [](CodeWindowTest& t, studio::CodeWindow& w) {
                                                     t.CaretAt(6, 11);
                                                     QTest::keyClick(&w, Qt::Key_Return);
                                                 },
                                                 With([](auto& l) {
                                                     l[5] = "    MsgBox";
                                                     l.insert(l.begin() + 6, " lngTotal");
                                                 }),
                                                 {{6, 1, 1}, {7, 0, 1}}},
                                         EditRow{"BackspaceJoinsLines",
                                                 [](CodeWindowTest& t, studio::CodeWindow& w) {
                                                     t.CaretAt(3, 1);
                                                     QTest::keyClick(&w, Qt::Key_Backspace);
                                                 },
                                                 With([](auto& l) { l.erase(l.begin() + 1); }),
                                                 {{2, 1, 0}}},
                                         EditRow{"PasteSeveralLines",
                                                 [](CodeWindowTest& t, studio::CodeWindow& w) {
                                                     t.CaretAt(7, 1);
                                                     w.insertPlainText("    ' a\n    ' b\n");
                                                 },
                                                 With([](auto& l) {
                                                     l.insert(l.begin() + 6, {"    ' a", "    ' b"});
                                                 }),
                                                 {{7, 0, 2}}},
                                         EditRow{"DeleteWholeLines",
                                                 [](CodeWindowTest&, studio::CodeWindow& w) {
                                                     w.SelectLines(4, 5);
                                                     QTest::keyClick(
                                                         &w, Qt::Key_Delete);  // leaves one empty line
                                                     QTest::keyClick(
                                                         &w, Qt::Key_Delete);  // joins it with the next
                                                 },
                                                 With([](auto& l) { l.erase(l.begin() + 3, l.begin() + 5); }),
                                                 {{4, 1, 1}, {5, 1, 0}, {4, 1, 0}}},
                                         EditRow{"SelectAllDeleteEmptiesModule",
                                                 [](CodeWindowTest&, studio::CodeWindow& w) {
                                                     w.selectAll();
                                                     QTest::keyClick(&w, Qt::Key_Delete);
                                                 },
                                                 std::vector<std::string>{},
                                                 {{1, 7, 0}}},
                                         EditRow{"UndoRestoresLine",
                                                 [](CodeWindowTest& t, studio::CodeWindow& w) {
                                                     t.CaretAt(1, 1);
                                                     QTest::keyClicks(&w, "'");
                                                     w.undo();
                                                 },
                                                 kOriginal,
                                                 {{1, 1, 1}, {1, 1, 1}}},
                                         EditRow{"NonAsciiTypedBecomesCodePageByte",
                                                 [](CodeWindowTest& t, studio::CodeWindow& w) {
                                                     t.CaretAt(2, 1);
                                                     w.insertPlainText(QString::fromUtf8("' café €"));
                                                 },
                                                 With([](auto& l) { l[1] = "' caf\xE9 \x80"; }),
                                                 {{2, 1, 1}}}),
                         [](const auto& info) { return std::string(info.param.name); });

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
};

class CodeWindowModelTest : public CodeWindowTest, public testing::WithParamInterface<ModelRow> {};

TEST_P(CodeWindowModelTest, ModuleChangeShowsInEditorWithoutEcho) {
    GetParam().change(*module);
    EXPECT_EQ(EditorText(), module->AllText());
    EXPECT_EQ(changes.size(), 1u);  // the editor did not write the change back
}

INSTANTIATE_TEST_SUITE_P(
    Changes, CodeWindowModelTest,
    testing::Values(
        ModelRow{"ReplaceLine", [](host::CodeModule& m) { m.ReplaceLine(5, "    lngTotal = 2"); }},
        ModelRow{"InsertInMiddle", [](host::CodeModule& m) { m.InsertLines(3, "' one\r\n' two"); }},
        ModelRow{"InsertAtTop", [](host::CodeModule& m) { m.InsertLines(1, "' top"); }},
        ModelRow{"AppendAtEnd", [](host::CodeModule& m) { m.InsertLines(8, "\r\nPrivate Sub X()"); }},
        ModelRow{"DeleteInMiddle", [](host::CodeModule& m) { m.DeleteLines(4, 2); }},
        ModelRow{"DeleteToEnd", [](host::CodeModule& m) { m.DeleteLines(6, 2); }},
        ModelRow{"DeleteEverything", [](host::CodeModule& m) { m.DeleteLines(1, 7); }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CodeWindowTest, InsertIntoEmptiedModuleShowsOnlyNewLines) {
    module->DeleteLines(1, module->CountOfLines());
    module->InsertLines(1, "Option Explicit");
    EXPECT_EQ(window->toPlainText(), QStringLiteral("Option Explicit"));
    EXPECT_EQ(module->CountOfLines(), 1);
}

TEST_F(CodeWindowTest, SelectionGoesToPaneAndPaneSelectionMovesCaret) {
    window->SelectLines(3, 4);
    const host::Selection s = window->Pane().Current();
    EXPECT_EQ(s.startLine, 3);
    EXPECT_EQ(s.startColumn, 1);
    EXPECT_EQ(s.endLine, 4);
    EXPECT_EQ(s.endColumn, 25);  // after "    Dim lngTotal As Long"
    window->Pane().SetSelection(5, 5, 5, 13);
    EXPECT_EQ(window->textCursor().selectedText(), QStringLiteral("lngTotal"));
    window->Pane().SetSelection(99, 1, 99, 1);  // clamped by the pane to the last line
    EXPECT_EQ(window->textCursor().blockNumber(), 6);
}

TEST(AffectedBlocks, CountsOldLinesFromBlockCounts) {
    struct Row {
        const char* name;
        long first, lastNew, newBlocks, oldBlocks;
        long oldCount, newCount;
    };
    const std::vector<Row> rows = {
        {"TypingInALine", 4, 4, 7, 7, 1, 1},     {"NewLineAdded", 5, 6, 8, 7, 1, 2},
        {"LinesJoined", 1, 1, 6, 7, 2, 1},       {"ReportedRangeBeyondEndIsClamped", 0, 99, 7, 7, 7, 7},
        {"EverythingDeleted", 0, 0, 1, 7, 7, 1},
    };
    for (const auto& r : rows) {
        const auto span = studio::AffectedBlocks(r.first, r.lastNew, r.newBlocks, r.oldBlocks);
        EXPECT_EQ(span.oldCount, r.oldCount) << r.name;
        EXPECT_EQ(span.newCount, r.newCount) << r.name;
    }
}

}  // namespace
