// The Studio's main window with the real add-in: menus from the CommandBars,
// the Add-In Manager, message boxes answered, saving and closing.
#include <gtest/gtest.h>

#include <QDialogButtonBox>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QTextBlock>

#include "AddInManagerDialog.h"
#include "CodeWindow.h"
#include "MainWindow.h"
#include "ProjectTree.h"
#include "StudioFixture.h"
#include "qt/GuiTestApp.h"

namespace {

QStringList Texts(const QMenu& menu) {
    QStringList texts;
    for (const QAction* a : menu.actions()) texts << (a->isSeparator() ? QStringLiteral("-") : a->text());
    return texts;
}

QAction* Find(const QMenu& menu, const QString& text) {
    for (QAction* a : menu.actions())
        if (a->text() == text) return a;
    return nullptr;
}

using StudioTest = studiotest::StudioFixture;

TEST_F(StudioTest, OpensProjectWithTreeAndFirstModuleActive) {
    EXPECT_EQ(code->Component().Name(), "Module1");
    EXPECT_EQ(&window->Vbe().ActiveCodePane(), &code->Pane());
    QStringList labels;
    for (QTreeWidgetItemIterator it(window->Tree()); *it; ++it) labels << (*it)->text(0);
    EXPECT_EQ(labels, (QStringList{"Project1 (Project1.vbp)", "Forms", "Form1 (Form1.frm)", "Modules",
                                   "Module1 (Module1.bas)"}));
    EXPECT_EQ(window->CaretLabel()->text(), QStringLiteral("Ln 1, Col 1"));
    QTest::keyClick(code, Qt::Key_Down);
    QTest::keyClick(code, Qt::Key_Down);
    QTest::keyClick(code, Qt::Key_End);
    EXPECT_EQ(window->CaretLabel()->text(), QStringLiteral("Ln 3, Col 23"));
}

TEST_F(StudioTest, ContextMenuBeginsWithAddInItemsAndCutHasSeparator) {
    const auto menu = window->CodeWindowMenu(*code);
    EXPECT_EQ(Texts(*menu), (QStringList{"&Procvault...", "Co&mment Selection", "&Uncomment Selection", "-",
                                         "Cut", "Copy", "Paste", "-", "Select All"}));
    EXPECT_EQ(Texts(*window->AddInsMenu()), (QStringList{"Add-In Manager...", "-", "&Procvault..."}));
}

TEST_F(StudioTest, CommentSelectionChangesEditorAndModule) {
    code->SelectLines(4, 5);
    const std::string before = Module().Lines(4, 2);
    const auto menu = window->CodeWindowMenu(*code);
    Find(*menu, "Co&mment Selection")->trigger();
    const std::string after = Module().Lines(4, 2);
    EXPECT_NE(after, before);
    EXPECT_EQ(after, "'     Dim lngTotal As Long\r\n'     lngTotal = 1");  // default prefix "' " at column 1
    EXPECT_EQ(Module().Lines(6, 1), "    MsgBox lngTotal");                // outside the selection
    EXPECT_EQ(code->toPlainText().toStdString(), Module().AllText());

    code->SelectLines(4, 5);  // the command left the caret elsewhere
    Find(*window->CodeWindowMenu(*code), "&Uncomment Selection")->trigger();
    EXPECT_EQ(Module().Lines(4, 2), before);
    EXPECT_EQ(code->toPlainText().toStdString(), Module().AllText());
}

TEST_F(StudioTest, AddInManagerDisconnectRemovesExactlyItsFourItems) {
    host::CommandBar& popup = window->Vbe().CommandBars().Item("Code Window");
    host::CommandBar& addIns = window->Vbe().CommandBars().Item("Add-Ins");
    ASSERT_EQ(popup.Items().size(), 7u);
    ASSERT_EQ(addIns.Items().size(), 2u);
    guitest::WhenModal([](QWidget* modal) {
        auto* manager = qobject_cast<studio::AddInManagerDialog*>(modal);
        ASSERT_NE(manager, nullptr);
        ASSERT_EQ(manager->Table()->rowCount(), 1);
        EXPECT_EQ(manager->Table()->item(0, 0)->text(), QStringLiteral("Procvault"));
        EXPECT_EQ(manager->Table()->item(0, 1)->checkState(), Qt::Checked);
        manager->SetLoaded(0, false);
        manager->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    });
    Find(*window->AddInsMenu(), "Add-In Manager...")->trigger();
    QApplication::processEvents();
    EXPECT_FALSE(window->AddIns().Record(0).connected);
    EXPECT_EQ(Texts(*window->CodeWindowMenu(*code)),
              (QStringList{"Cut", "Copy", "Paste", "-", "Select All"}));
    EXPECT_TRUE(popup.Controls().Item("Cut")->BeginGroup());  // the separator stays set on Cut
    EXPECT_EQ(Texts(*window->AddInsMenu()), (QStringList{"Add-In Manager..."}));

    // Connecting again after start-up brings the items back where they were.
    window->AddIns().Connect(0, host::ext_cm_AfterStartup);
    QApplication::processEvents();
    EXPECT_EQ(Texts(*window->CodeWindowMenu(*code)).mid(0, 3),
              (QStringList{"&Procvault...", "Co&mment Selection", "&Uncomment Selection"}));
}

TEST_F(StudioTest, MessageBoxAnswerReachesTheAddIn) {
    // With a designer active the add-in asks whether to add a module; "No"
    // must reach it, and it answers with its "no open module" message.
    window->ViewDesigner(window->Vbe().ActiveVBProject().VBComponents().Item("Form1"));
    ASSERT_EQ(window->Vbe().ActiveWindow()->Type(), host::vbext_wt_Designer);
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
    Find(*window->AddInsMenu(), "&Procvault...")->trigger();
    EXPECT_EQ(question, QStringLiteral("There is no current module. Would you like to add one?"));
    EXPECT_EQ(answerText, QStringLiteral("Procvault cannot be started, as there is no open module."));
    EXPECT_EQ(window->Vbe().ActiveVBProject().VBComponents().Count(), 2);  // nothing added
}

TEST_F(StudioTest, UnsavedModuleIsMarkedAndSaveWritesIt) {
    QTest::keyClicks(code, "' edited");
    EXPECT_EQ(window->Tabs()->tabText(window->Tabs()->currentIndex()), QStringLiteral("Module1 *"));
    EXPECT_EQ(window->Tree()->ItemFor(code->Component())->text(0), QStringLiteral("Module1 (Module1.bas) *"));
    ASSERT_TRUE(window->SaveCurrent());
    EXPECT_EQ(window->Tabs()->tabText(window->Tabs()->currentIndex()), QStringLiteral("Module1"));
    EXPECT_EQ(window->Tree()->ItemFor(code->Component())->text(0), QStringLiteral("Module1 (Module1.bas)"));
    std::string expected = studiotest::kModule1;
    expected.insert(expected.find("Option Explicit"), "' edited");
    EXPECT_EQ(testsupport::ReadBytes(dir / "Module1.bas"), expected);
}

TEST_F(StudioTest, SaveRefusesFileChangedOnDiskAndSaysSo) {
    testsupport::WriteBytes(dir / "Module1.bas", studiotest::kModule1 + "' changed elsewhere\r\n");
    QTest::keyClicks(code, "x");
    QString shown;
    guitest::WhenModal([&](QWidget* modal) {
        shown = static_cast<QMessageBox*>(modal)->text();
        static_cast<QMessageBox*>(modal)->accept();
    });
    EXPECT_FALSE(window->SaveCurrent());
    EXPECT_FALSE(shown.isEmpty());
    EXPECT_EQ(testsupport::ReadBytes(dir / "Module1.bas"), studiotest::kModule1 + "' changed elsewhere\r\n");
    EXPECT_TRUE(code->IsDirty());
}

TEST_F(StudioTest, ClosingAsksBeforeLosingWork) {
    QTest::keyClicks(code, "x");
    struct Row {
        const char* name;
        QMessageBox::StandardButton answer;
        bool closes;
    };
    for (const Row& row :
         {Row{"Cancel", QMessageBox::Cancel, false}, Row{"Discard", QMessageBox::Discard, true}}) {
        guitest::WhenModal(
            [&](QWidget* modal) { static_cast<QMessageBox*>(modal)->button(row.answer)->click(); });
        EXPECT_EQ(window->close(), row.closes) << row.name;
    }
    EXPECT_EQ(testsupport::ReadBytes(dir / "Module1.bas"), studiotest::kModule1);
}

TEST_F(StudioTest, ActiveTabIsTheHostsActiveWindow) {
    host::VBComponent& form = window->Vbe().ActiveVBProject().VBComponents().Item("Form1");
    window->ViewDesigner(form);
    EXPECT_FALSE(window->Vbe().HasActiveCodePane() &&
                 window->Vbe().ActiveWindow()->Type() == host::vbext_wt_CodeWindow);
    EXPECT_EQ(window->Vbe().ActiveWindow()->Component(), &form);
    // An add-in activating a component brings its code window up.
    form.Activate();
    ASSERT_NE(window->CurrentCodeWindow(), nullptr);
    EXPECT_EQ(&window->CurrentCodeWindow()->Component(), &form);
    window->Tabs()->setCurrentWidget(code);
    EXPECT_EQ(&window->Vbe().ActiveCodePane(), &code->Pane());
}

}  // namespace
