// The Studio's main window with the real add-in: menus from the CommandBars, the
// Add-In Manager, the main dialog opened from the code window, message boxes
// answered, saving and closing.
#include <gtest/gtest.h>

#include <QDialogButtonBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>

#include "AddInManagerDialog.h"
#include "ProjectTree.h"
#include "StudioFixture.h"

namespace {

using namespace studiotest;
using StudioTest = StudioFixture;

TEST_F(StudioTest, OpensProjectWithTreeAndFirstModuleActive) {
    EXPECT_EQ(code->Component().Name(), "Module1");
    EXPECT_EQ(&window->Vbe().ActiveCodePane(), &code->Pane());
    QStringList labels;
    for (QTreeWidgetItemIterator it(window->Tree()); *it; ++it) labels << (*it)->text(0);
    EXPECT_EQ(labels, (QStringList{"Project1 (Project1.vbp)", "Forms", "Form1 (Form1.frm)", "Modules",
                                   "Module1 (Module1.bas)"}));
    EXPECT_EQ(window->CaretLabel()->text(), QStringLiteral("Ln 1, Col 1"));
    for (Qt::Key key : {Qt::Key_Down, Qt::Key_Down, Qt::Key_End}) QTest::keyClick(code, key);
    EXPECT_EQ(window->CaretLabel()->text(), QStringLiteral("Ln 3, Col 23"));
}

TEST_F(StudioTest, AddInManagerDisconnectRemovesExactlyTheAddInsItems) {
    const QStringList hostItems{"Cut", "Copy", "Paste", "-", "Select All"};
    const QStringList addInItems{"&Procvault...", "Co&mment Selection", "&Uncomment Selection", "-"};
    EXPECT_EQ(Texts(*window->CodeWindowMenu(*code)), addInItems + hostItems);
    EXPECT_EQ(Texts(*window->AddInsMenu()), (QStringList{"Add-In Manager...", "-", "&Procvault..."}));
    guitest::WhenModal([](QWidget* modal) {
        auto* manager = qobject_cast<studio::AddInManagerDialog*>(modal);
        ASSERT_NE(manager, nullptr);
        ASSERT_EQ(manager->Table()->rowCount(), 1);
        EXPECT_EQ(manager->Table()->item(0, 0)->text(), QStringLiteral("Procvault"));
        EXPECT_EQ(manager->Table()->item(0, 1)->checkState(), Qt::Checked);
        manager->SetLoaded(0, false);
        manager->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    });
    Trigger(*window->AddInsMenu(), "Add-In Manager...");
    QApplication::processEvents();
    EXPECT_FALSE(window->AddIns().Record(0).connected);
    EXPECT_EQ(Texts(*window->CodeWindowMenu(*code)), hostItems);
    // The separator stays set on Cut.
    EXPECT_TRUE(window->Vbe().CommandBars().Item("Code Window").Controls().Item("Cut")->BeginGroup());
    EXPECT_EQ(Texts(*window->AddInsMenu()), (QStringList{"Add-In Manager..."}));
    // Connecting again after start-up brings the items back where they were.
    window->AddIns().Connect(0, host::ext_cm_AfterStartup);
    QApplication::processEvents();
    EXPECT_EQ(Texts(*window->CodeWindowMenu(*code)), addInItems + hostItems);
}

TEST_F(StudioTest, WithADesignerActiveTheAddInAsksAndTheTabsFollowTheHost) {
    host::VBComponent& form = window->Vbe().ActiveVBProject().VBComponents().Item("Form1");
    window->ViewDesigner(form);
    ASSERT_EQ(window->Vbe().ActiveWindow()->Type(), host::vbext_wt_Designer);
    EXPECT_EQ(window->Vbe().ActiveWindow()->Component(), &form);
    // "No" must reach the add-in, which answers with its "no open module" message.
    QString question, answerText;
    guitest::WhenModal([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        question = box->text();
        guitest::WhenModal([&](QWidget* second) {
            auto* report = qobject_cast<QMessageBox*>(second);
            ASSERT_NE(report, nullptr);
            answerText = report->text();
            report->button(QMessageBox::Ok)->click();
        });
        box->button(QMessageBox::No)->click();
    });
    Trigger(*window->AddInsMenu(), "&Procvault...");
    EXPECT_EQ(question, QStringLiteral("There is no current module. Would you like to add one?"));
    EXPECT_EQ(answerText, QStringLiteral("Procvault cannot be started, as there is no open module."));
    EXPECT_EQ(window->Vbe().ActiveVBProject().VBComponents().Count(), 2);  // nothing added
    // An add-in activating a component brings its code window up.
    form.Activate();
    ASSERT_NE(window->CurrentCodeWindow(), nullptr);
    EXPECT_EQ(&window->CurrentCodeWindow()->Component(), &form);
    window->Tabs()->setCurrentWidget(code);
    EXPECT_EQ(&window->Vbe().ActiveCodePane(), &code->Pane());
}

// A changed file on disk is never overwritten; closing asks before losing the edit.
TEST_F(StudioTest, SaveMarksAndWritesRefusesAFileChangedOnDiskAndClosingAsks) {
    QTest::keyClicks(code, "' edited");
    const auto marks = [&] {
        return window->Tabs()->tabText(window->Tabs()->currentIndex()) + " | " +
               window->Tree()->ItemFor(code->Component())->text(0);
    };
    EXPECT_EQ(marks(), QStringLiteral("Module1 * | Module1 (Module1.bas) *"));
    ASSERT_TRUE(window->SaveCurrent());
    EXPECT_EQ(marks(), QStringLiteral("Module1 | Module1 (Module1.bas)"));
    std::string saved = kModule1;
    saved.insert(saved.find("Option Explicit"), "' edited");
    EXPECT_EQ(testsupport::ReadBytes(dir / "Module1.bas"), saved);
    const std::string elsewhere = saved + "' changed elsewhere\r\n";
    testsupport::WriteBytes(dir / "Module1.bas", elsewhere);
    QTest::keyClicks(code, "x");
    QString shown;
    guitest::WhenModal([&](QWidget* modal) {
        shown = static_cast<QMessageBox*>(modal)->text();
        static_cast<QMessageBox*>(modal)->accept();
    });
    EXPECT_FALSE(window->SaveCurrent());
    EXPECT_EQ(shown,
              QStringLiteral("Path/File access error: Module1.bas changed on disk since it was loaded (75)"));
    EXPECT_TRUE(code->IsDirty());
    for (const auto& [answer, closes] :
         {std::pair{QMessageBox::Cancel, false}, std::pair{QMessageBox::Discard, true}}) {
        guitest::WhenModal(
            [&](QWidget* modal) { static_cast<QMessageBox*>(modal)->button(answer)->click(); });
        EXPECT_EQ(window->close(), closes) << answer;
    }
    EXPECT_EQ(testsupport::ReadBytes(dir / "Module1.bas"), elsewhere);
}

// The existing procedures tab lists what lacks a handler: here code for two targets,
// a sub written once per branch and a sub declared once per branch ("_" files
// before the letters, as the VB list box files it).
TEST_F(StudioTest, CodeForTwoTargetsGetsOneHandlerPerCopy) {
    Module().DeleteLines(1, Module().CountOfLines());
    Module().InsertLines(
        1,
        "#If Win64 Then\r\nSub Text_Change()\r\nEnd Sub\r\n#Else\r\nSub Text_Change()\r\nEnd Sub\r\n"
        "#End If\r\n#If VBA7 Then\r\nSub TextBox_Change(ByVal h As LongPtr)\r\n#Else\r\n"
        "Sub TextBox_Change(ByVal h As Long)\r\n#End If\r\nEnd Sub");
    QStringList entries;
    InMainDialog(-1, "lstProcedures", [&](pvqt::FormDialog& dialog, QListWidget& list) {
        entries = Entries(list);
        Click(dialog, "cmdSelectAll");
        list.setFocus();                         // a focused button would take Enter itself
        QTest::keyClick(&list, Qt::Key_Return);  // OK is the default button
    });
    FromContextMenu("&Procvault...");
    EXPECT_EQ(entries, (QStringList{"Text_Change", "TextBox_Change"}));
    // One entry statement and one handler per copy; the shared body's below the #End If.
    const auto handler = [](const std::string& name) {
        return "\tOn Error Goto Err_" + name + "\n\n\nExit_" + name + ":\n\tExit Sub\n\nErr_" + name +
               ":\n\tMsgBox Err.Description & \" \" & Err.Number, vbCritical, \"" + name +
               "()\"\n\tResume Exit_" + name + "\n\nEnd Sub";
    };
    EXPECT_EQ(Module().AllText(),
              "#If Win64 Then\nSub Text_Change()\n" + handler("Text_Change") +
                  "\n#Else\nSub Text_Change()\n" + handler("Text_Change") +
                  "\n#End If\n#If VBA7 Then\nSub TextBox_Change(ByVal h As LongPtr)\n#Else\n"
                  "Sub TextBox_Change(ByVal h As Long)\n#End If\n" +
                  handler("TextBox_Change"));
    ExpectEditorInStep();
}

}  // namespace
