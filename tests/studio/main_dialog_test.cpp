// The main dialog as a user meets it in the Studio: opened from the code
// window's context menu, drawn by the form binder, driven with the keyboard.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include "CodeWindow.h"
#include "MainWindow.h"
#include "StudioFixture.h"
#include "qt/FormDialog.h"
#include "qt/GuiTestApp.h"

namespace {

QAction* Find(const QMenu& menu, const QString& text) {
    for (QAction* a : menu.actions())
        if (a->text() == text) return a;
    return nullptr;
}

class MainDialogInStudio : public studiotest::StudioFixture {
protected:
    void OpenFromContextMenu() {
        const auto menu = window->CodeWindowMenu(*code);
        QAction* item = Find(*menu, "&Procvault...");
        ASSERT_NE(item, nullptr);
        item->trigger();
    }
};

TEST_F(MainDialogInStudio, TypingANameAndPressingOkAddsTheProcedureToTheEditor) {
    QString caption, tab;
    guitest::WhenModal([&](QWidget* modal) {
        auto* dialog = qobject_cast<pvqt::FormDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        caption = dialog->windowTitle();
        auto* tabs = dialog->Widget<QTabWidget>("ctlTab");
        ASSERT_NE(tabs, nullptr);
        tabs->setCurrentIndex(0);  // the module's procedure lacks a handler: it opened on tab 1
        tab = tabs->tabText(0);
        auto* name = dialog->Widget<QLineEdit>("txtProcName");
        ASSERT_NE(name, nullptr);
        name->setFocus();
        QTest::keyClicks(name, "ComputeTotal");
        QTest::mouseClick(dialog->Widget<QPushButton>("cmdOK"), Qt::LeftButton);
    });
    OpenFromContextMenu();
    EXPECT_EQ(caption, QStringLiteral("Procvault"));
    EXPECT_EQ(tab, QStringLiteral("&New Procedure"));
    const QString text = code->toPlainText();
    EXPECT_TRUE(text.contains("\nPrivate Sub ComputeTotal()\n\tOn Error Goto Err_ComputeTotal\n"))
        << text.toStdString();
    EXPECT_TRUE(text.endsWith("\tResume Exit_ComputeTotal\n\nEnd Sub")) << text.toStdString();
    EXPECT_EQ(text.toStdString(), code->Component().CodeModule().AllText());
}

TEST_F(MainDialogInStudio, EnterOnTheExistingProceduresTabAddsTheHandler) {
    QStringList entries;
    guitest::WhenModal([&](QWidget* modal) {
        auto* dialog = qobject_cast<pvqt::FormDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        auto* list = dialog->Widget<QListWidget>("lstProcedures");
        ASSERT_NE(list, nullptr);
        for (int i = 0; i < list->count(); ++i) entries << list->item(i)->text();
        QTest::keyClick(dialog, Qt::Key_Return);  // OK is the default button
    });
    OpenFromContextMenu();
    EXPECT_EQ(entries, QStringList{"ShowTotal"});
    host::CodeModule& module = code->Component().CodeModule();
    EXPECT_EQ(module.Lines(3, 2), "Public Sub ShowTotal()\r\n\tOn Error Goto Err_ShowTotal");
    EXPECT_EQ(code->toPlainText().toStdString(), module.AllText());
}

// Code for two targets: a sub written once per branch and a sub declared once
// per branch; "_" files before the letters, as the VB list box files it.
TEST_F(MainDialogInStudio, CodeForTwoTargetsGetsOneHandlerPerCopy) {
    Module().DeleteLines(1, Module().CountOfLines());
    Module().InsertLines(
        1,
        "#If Win64 Then\r\nSub Text_Change()\r\nEnd Sub\r\n#Else\r\nSub Text_Change()\r\nEnd Sub\r\n"
        "#End If\r\n#If VBA7 Then\r\nSub TextBox_Change(ByVal h As LongPtr)\r\n#Else\r\n"
        "Sub TextBox_Change(ByVal h As Long)\r\n#End If\r\nEnd Sub");
    QStringList entries;
    guitest::WhenModal([&](QWidget* modal) {
        auto* dialog = qobject_cast<pvqt::FormDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        auto* list = dialog->Widget<QListWidget>("lstProcedures");
        ASSERT_NE(list, nullptr);
        for (int i = 0; i < list->count(); ++i) entries << list->item(i)->text();
        QTest::mouseClick(dialog->Widget<QPushButton>("cmdSelectAll"), Qt::LeftButton);
        QTest::mouseClick(dialog->Widget<QPushButton>("cmdOK"), Qt::LeftButton);
    });
    OpenFromContextMenu();
    EXPECT_EQ(entries, (QStringList{"Text_Change", "TextBox_Change"}));
    const QString text = code->toPlainText();
    // One entry statement and one handler per copy; the shared body's below the #End If.
    EXPECT_EQ(text.count("Sub Text_Change()\n\tOn Error Goto Err_Text_Change\n\n\n"), 2)
        << text.toStdString();
    EXPECT_EQ(text.count("\tResume Exit_Text_Change\n\nEnd Sub\n#"), 2) << text.toStdString();
    EXPECT_TRUE(
        text.endsWith("#End If\n\tOn Error Goto Err_TextBox_Change\n\n\nExit_TextBox_Change:\n"
                      "\tExit Sub\n\nErr_TextBox_Change:\n\tMsgBox Err.Description & \" \" & Err.Number, "
                      "vbCritical, \"TextBox_Change()\"\n\tResume Exit_TextBox_Change\n\nEnd Sub"))
        << text.toStdString();
    EXPECT_EQ(code->toPlainText().toStdString(), Module().AllText());
}

}  // namespace
