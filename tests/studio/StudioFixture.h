#pragma once
// The Studio with the real add-in on a small project (a form, and a module with a hidden
// Attribute line in a procedure), the sample library stored, and helpers that play the user.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QTabWidget>
#include <QTest>
#include <QTextBlock>
#include <functional>
#include <memory>
#include <vector>

#include "CodeWindow.h"
#include "MainWindow.h"
#include "dao/LibraryFixture.h"
#include "qt/FormDialog.h"
#include "qt/GuiTestApp.h"
#include "qt/QtSettingsStore.h"
#include "qt/QtText.h"
#include "settings/Options.h"
#include "support/TempDir.h"

namespace studiotest {

inline const std::string kModule1 =
    testsupport::CrLf({"Attribute VB_Name = \"Module1\"", "Option Explicit", "", "Public Sub ShowTotal()",
                       "Attribute ShowTotal.VB_Description = \"Shows the total\"", "    Dim lngTotal As Long",
                       "    lngTotal = 1", "    MsgBox lngTotal", "End Sub"});

// What the code window shows of it.
inline const std::string kShown =
    "Option Explicit\n\nPublic Sub ShowTotal()\n    Dim lngTotal As Long\n    lngTotal = 1\n    MsgBox "
    "lngTotal\nEnd Sub";

inline void Trigger(const QMenu& menu, const QString& text) {
    for (QAction* a : menu.actions())
        if (a->text() == text) return a->trigger();
    ADD_FAILURE() << "no menu item " << text.toStdString();
}

inline QStringList Entries(const QListWidget& list) {
    QStringList texts;
    for (int i = 0; i < list.count(); ++i) texts << list.item(i)->text();
    return texts;
}

// Near the left edge: a check box's caption may end before its middle.
inline void Click(pvqt::FormDialog& dialog, const std::string& name) {
    auto* widget = dialog.Widget<QAbstractButton>(name);
    ASSERT_NE(widget, nullptr) << name;
    QTest::mouseClick(widget, Qt::LeftButton, {}, QPoint(8, widget->height() / 2));
}

inline void Retype(pvqt::FormDialog& dialog, const std::string& name, const QString& text) {
    auto* box = dialog.Widget<QLineEdit>(name);
    ASSERT_NE(box, nullptr) << name;
    box->setFocus();
    box->selectAll();
    QTest::keyClicks(box, text);
}

inline void ClickEntry(QListWidget& list, const QString& text) {
    const auto found = list.findItems(text, Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1) << text.toStdString();
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.visualItemRect(found[0]).center());
}

// Plays `act` in the next modal, which must be a form dialog.
inline void InDialog(const std::function<void(pvqt::FormDialog&)>& act) {
    guitest::WhenModal([act](QWidget* modal) {
        auto* dialog = qobject_cast<pvqt::FormDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        act(*dialog);
    });
}

// Answers the next message boxes in turn, noting their texts.
inline void Answer(QStringList& shown, std::vector<QMessageBox::StandardButton> buttons) {
    guitest::WhenModal([&shown, buttons](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_TRUE(box && box->button(buttons[0])) << "no message box with that button";
        shown << box->text();
        if (buttons.size() > 1) Answer(shown, {buttons.begin() + 1, buttons.end()});
        box->button(buttons[0])->click();
    });
}

// `act` in the main dialog's list `listName`, after choosing its tab (-1: the one it opened on).
inline void InMainDialog(int tab, const std::string& listName,
                         const std::function<void(pvqt::FormDialog&, QListWidget&)>& act) {
    InDialog([=](pvqt::FormDialog& dialog) {
        if (tab >= 0) dialog.Widget<QTabWidget>("ctlTab")->setCurrentIndex(tab);
        auto* list = dialog.Widget<QListWidget>(listName);
        ASSERT_NE(list, nullptr) << listName;
        act(dialog, *list);
    });
}

class StudioFixture : public testing::Test {
protected:
    void SetUp() override {
        guitest::App();
        using testsupport::CrLf;
        testsupport::WriteBytes(
            dir / "Project1.vbp",
            CrLf({"Type=Exe", "Form=Form1.frm", "Module=Module1; Module1.bas", "Name=\"Project1\""}));
        testsupport::WriteBytes(dir / "Module1.bas", kModule1);
        testsupport::WriteBytes(dir / "Form1.frm",
                                CrLf({"VERSION 5.00", "Begin VB.Form Form1 ", "End",
                                      "Attribute VB_Name = \"Form1\"", "Option Explicit"}));
        daotest::FillSample(*library.Open());
        const QString config = QString::fromStdString((dir / "config").string());
        {
            pvqt::QtSettingsStore store(config);
            pv::WriteOption(store, pv::key::ProcvaultLocation, library.Path());
        }
        window = std::make_unique<studio::MainWindow>(studio::StandardAddIns(), config);
        window->StartAddIns();
        ASSERT_TRUE(window->OpenProject(QString::fromStdString((dir / "Project1.vbp").string())));
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        QApplication::processEvents();  // queued menu rebuilds
        code = window->CurrentCodeWindow();
        ASSERT_NE(code, nullptr);
    }
    void TearDown() override { window.reset(); }
    host::CodeModule& Module() { return code->Component().CodeModule(); }
    void FromContextMenu(const QString& item) { Trigger(*window->CodeWindowMenu(*code), item); }
    void ExpectEditorInStep() { EXPECT_EQ(pvqt::FromQt(code->toPlainText()), Module().AllText()); }
    void CaretAt(int line, int column) {
        QTextCursor caret(code->document()->findBlockByNumber(line - 1));
        caret.setPosition(caret.position() + column - 1);
        code->setTextCursor(caret);
    }

    testsupport::TempDir dir;
    daotest::LibraryFile library;
    std::unique_ptr<studio::MainWindow> window;
    studio::CodeWindow* code = nullptr;
};

}  // namespace studiotest
