// The Studio's main window with the real add-in: its messages answered, saving and closing,
// and the user's edits in the code window changing exactly the affected lines of the module.
#include <gtest/gtest.h>

#include <QMessageBox>
#include <functional>

#include "ProjectTree.h"
#include "StudioFixture.h"

namespace {

using namespace studiotest;
using StudioTest = StudioFixture;

TEST_F(StudioTest, WithADesignerActiveTheAddInAsksAndTheTabsFollowTheHost) {
    host::VBComponent& form = window->Vbe().ActiveVBProject().VBComponents().Item("Form1");
    window->ViewDesigner(form);
    QStringList shown;
    Answer(shown, {QMessageBox::No, QMessageBox::Ok});  // "No" must reach the add-in, which then reports
    Trigger(*window->AddInsMenu(), "&Procvault...");
    EXPECT_EQ(shown, (QStringList{"There is no current module. Would you like to add one?",
                                  "Procvault cannot be started, as there is no open module."}));
    EXPECT_EQ(window->Vbe().ActiveVBProject().VBComponents().Count(), 2);  // nothing added
    // An add-in activating a component brings its code window up.
    form.Activate();
    ASSERT_NE(window->CurrentCodeWindow(), nullptr);
    EXPECT_EQ(&window->CurrentCodeWindow()->Component(), &form);
    window->Tabs()->setCurrentWidget(code);
    EXPECT_EQ(&window->Vbe().ActiveCodePane(), &code->Pane());
}

// The hidden attribute keeps its line; a changed file on disk is never overwritten; closing asks.
TEST_F(StudioTest, SaveMarksAndWritesRefusesAFileChangedOnDiskAndClosingAsks) {
    CaretAt(4, 1);
    QTest::keyClicks(code, "    lngTotal = 0");
    QTest::keyClick(code, Qt::Key_Return);
    const auto marks = [&] {
        return window->Tabs()->tabText(window->Tabs()->currentIndex()) + " | " +
               window->Tree()->ItemFor(code->Component())->text(0);
    };
    EXPECT_EQ(marks(), QStringLiteral("Module1 * | Module1 (Module1.bas) *"));
    ASSERT_TRUE(window->SaveCurrent());
    EXPECT_EQ(marks(), QStringLiteral("Module1 | Module1 (Module1.bas)"));
    std::string saved = kModule1;
    saved.insert(saved.find("    Dim lngTotal"), "    lngTotal = 0\r\n");
    EXPECT_EQ(testsupport::ReadBytes(dir / "Module1.bas"), saved);
    const std::string elsewhere = saved + "' changed elsewhere\r\n";
    testsupport::WriteBytes(dir / "Module1.bas", elsewhere);
    QTest::keyClicks(code, "x");
    QStringList shown;
    Answer(shown, {QMessageBox::Ok});
    EXPECT_FALSE(window->SaveCurrent());
    EXPECT_EQ(shown,
              QStringList{"Path/File access error: Module1.bas changed on disk since it was loaded (75)"});
    EXPECT_TRUE(code->IsDirty());
    for (const auto& [answer, closes] :
         {std::pair{QMessageBox::Cancel, false}, std::pair{QMessageBox::Discard, true}}) {
        Answer(shown, {answer});
        EXPECT_EQ(window->close(), closes) << answer;
    }
    EXPECT_EQ(testsupport::ReadBytes(dir / "Module1.bas"), elsewhere);
}

// The existing procedures tab lists what lacks a handler; OK, the default button, gives it one around a body
// below a hidden attribute line (code for two targets: frmProcvault_test).
TEST_F(StudioTest, ExistingProceduresTabGivesTheChosenProcedureAHandler) {
    QStringList entries;
    InMainDialog(-1, "lstProcedures", [&](pvqt::FormDialog& dialog, QListWidget& list) {
        entries = Entries(list);
        Click(dialog, "cmdSelectAll");
        list.setFocus();                         // a focused button would take Enter itself
        QTest::keyClick(&list, Qt::Key_Return);  // OK is the default button
    });
    FromContextMenu("&Procvault...");
    EXPECT_EQ(entries, QStringList{"ShowTotal"});
    EXPECT_EQ(
        Module().AllText(),
        "Option Explicit\n\nPublic Sub ShowTotal()\n\tOn Error Goto Err_ShowTotal\n\n\n"
        "    Dim lngTotal As Long\n    lngTotal = 1\n    MsgBox lngTotal\nExit_ShowTotal:\n\tExit Sub\n\n"
        "Err_ShowTotal:\n\tMsgBox Err.Description & \" \" & Err.Number, vbCritical, \"ShowTotal()\"\n"
        "\tResume Exit_ShowTotal\n\nEnd Sub");
    ExpectEditorInStep();
}

// A procedure above a handled one in the same #If group is listed and handled; the editor follows the host.
TEST_F(StudioTest, ExistingProceduresTabListsEveryProcedureOfAnIfGroup) {
    Module().InsertLines(Module().CountOfLines() + 1,
                         "#If UNIT_TEST = 1 Then\r\nPrivate Sub Setup()\r\n    n = 0\r\nEnd Sub\r\n"
                         "Private Sub Verify()\r\n    On Error GoTo Failed\r\nEnd Sub\r\n#End If");
    for (const QStringList& expected : {QStringList{"Setup", "ShowTotal"}, QStringList{}}) {
        QStringList entries;
        InMainDialog(-1, "lstProcedures", [&](pvqt::FormDialog& dialog, QListWidget& list) {
            entries = Entries(list);
            Click(dialog, list.count() > 0 ? "cmdSelectAll" : "cmdCancel");
            if (list.count() > 0) Click(dialog, "cmdOK");
        });
        FromContextMenu("&Procvault...");
        EXPECT_EQ(entries, expected);
    }
    EXPECT_NE(Module().AllText().find("Private Sub Setup()\n\tOn Error Goto Err_Setup\n"), std::string::npos);
    ExpectEditorInStep();
}

struct Change {
    long first, removed, inserted;
    bool operator==(const Change&) const = default;
};

class CodeWindowTest : public studiotest::StudioFixture {
protected:
    void SetUp() override {
        StudioFixture::SetUp();
        if (HasFatalFailure()) return;
        code->setFocus();
        Module().OnLinesChanged([this](long f, long r, long i) { changes.push_back({f, r, i}); });
    }
    std::vector<std::string> ModuleLines() {
        std::vector<std::string> lines;
        for (long i = 1; i <= Module().CountOfLines(); ++i) lines.push_back(Module().Lines(i, 1));
        return lines;
    }
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
    if (row.toLine > 0) code->SelectLines(row.line, row.toLine);
    if (row.toLine < 0) code->selectAll();
    QTest::keyClicks(code, row.typed);
    if (!row.pasted.isEmpty()) code->insertPlainText(row.pasted);  // empty would delete the selection
    QTest::keySequence(code, row.keys);
    Lines expected = kOriginal;
    row.expect(expected);
    EXPECT_EQ(ModuleLines(), expected);
    EXPECT_EQ(changes, row.changes);
    ExpectEditorInStep();
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Edits, CodeWindowEditTest, testing::Values(
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

}  // namespace
