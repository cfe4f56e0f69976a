// The generic binder with real widgets: every control kind mirrors the model,
// and the user's actions reach the model so that each event is raised once.
#include <gtest/gtest.h>

#include <QTest>
#include <QtWidgets>

#include "qt/AllControlsForm.h"
#include "qt/FormDialog.h"
#include "qt/GuiTestApp.h"
#include "qt/QtText.h"
#include "qt/QtUi.h"

namespace {

using guitest::AllControlsForm;

class FormBinderTest : public testing::Test {
protected:
    void SetUp() override {
        guitest::App();
        dialog = std::make_unique<pvqt::FormDialog>(form);
        form.BeginShow();
        dialog->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
        dialog->activateWindow();
        form.events.clear();
    }
    void TearDown() override {
        form.EndShow();
        dialog.reset();
    }
    template <class W>
    W* W_(const char* name) {
        W* w = dialog->Widget<W>(name);
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    void ClickRow(QListWidget* list, int row) {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(row)).center());
    }

    AllControlsForm form;
    std::unique_ptr<pvqt::FormDialog> dialog;
};

TEST_F(FormBinderTest, EachKindGetsItsWidgetInItsContainer) {
    EXPECT_TRUE(W_<QComboBox>("cboCategory")->isEditable());
    EXPECT_FALSE(W_<QComboBox>("cboKind")->isEditable());
    EXPECT_EQ(W_<QListWidget>("lstProcs")->selectionMode(), QAbstractItemView::MultiSelection);
    EXPECT_EQ(W_<QRadioButton>("optPublic")->parentWidget(), W_<QGroupBox>("fraScope"));
    auto* tabs = W_<QTabWidget>("tabMain");
    ASSERT_EQ(tabs->count(), 2);
    EXPECT_EQ(tabs->tabText(1), QStringLiteral("&Existing Procedures"));
    EXPECT_EQ(W_<QLineEdit>("txtOnSecondPage")->parentWidget(), tabs->widget(1));
    EXPECT_EQ(W_<QFrame>("picPreview")->frameShape(), QFrame::StyledPanel);
    EXPECT_EQ(W_<QLabel>("lblName")->buddy(), W_<QLineEdit>("txtName"));
    EXPECT_TRUE(W_<QPushButton>("cmdOK")->isDefault());
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("All Controls"));
}

TEST_F(FormBinderTest, GeometryComesFromTwipsAt15TwipsAPixel) {
    ASSERT_EQ(QApplication::primaryScreen()->logicalDotsPerInchX(), 96);
    EXPECT_EQ(W_<QLineEdit>("txtName")->geometry(), QRect(104, 6, 161, 21));
    EXPECT_EQ(W_<QRadioButton>("optPrivate")->geometry(), QRect(96, 20, 81, 17));  // inside the frame
    EXPECT_EQ(dialog->size(), QSize(form.ScaleWidth() / 15, form.ScaleHeight() / 15));
    form.txtName.Move(150, 300, 1500, 300);
    EXPECT_EQ(W_<QLineEdit>("txtName")->geometry(), QRect(10, 20, 100, 20));
    // On a tab page the page's own offset below the tab bar is taken off.
    auto* tabs = W_<QTabWidget>("tabMain");
    const QPoint onStrip = W_<QLineEdit>("txtOnSecondPage")->mapTo(tabs, QPoint(0, 0));
    EXPECT_EQ(onStrip, QPoint(16, 40));
}

TEST_F(FormBinderTest, CaptionsFitTheirDesignedBoxes) {
    for (const char* name : {"chkHeader", "optPublic", "optPrivate"}) {
        auto* w = W_<QAbstractButton>(name);
        EXPECT_LE(w->sizeHint().width(), w->width()) << name;
    }
    for (const char* name : {"cmdOK", "cmdCancel"}) {
        auto* w = W_<QPushButton>(name);
        const int text = w->fontMetrics().horizontalAdvance(QString(w->text()).remove(QLatin1Char('&')));
        EXPECT_LE(text + 2 * w->style()->pixelMetric(QStyle::PM_ButtonMargin), w->width()) << name;
    }
    auto* label = W_<QLabel>("lblName");
    EXPECT_LE(label->fontMetrics().horizontalAdvance(QStringLiteral("Procedure name:")), label->width());
    auto* tabs = W_<QTabWidget>("tabMain");
    EXPECT_LE(tabs->tabBar()->sizeHint().width(), tabs->width());
}

TEST_F(FormBinderTest, ModelChangesShowInWidgets) {
    form.lblName.SetCaption("&Category:");
    form.txtName.SetText("Caf\xE9");
    form.txtNotes.SetText("one\r\ntwo");
    form.chkHeader.SetValue(2);
    form.optPrivate.SetValue(true);
    for (const char* item : {"Zeta", "alpha", "Beta"}) form.lstProcs.AddItem(item);
    form.lstProcs.SetSelected(1, true);
    for (const char* item : {"Sub", "Function"}) form.cboKind.AddItem(item);
    form.cboKind.SetListIndex(1);
    form.tabMain.SetTab(1);
    form.cmdOK.SetEnabled(false);
    form.picPreview.SetVisible(false);

    EXPECT_EQ(W_<QLabel>("lblName")->text(), QStringLiteral("&Category:"));
    EXPECT_EQ(W_<QLineEdit>("txtName")->text(), QString::fromUtf8("Café"));
    EXPECT_EQ(W_<QPlainTextEdit>("txtNotes")->toPlainText(), QStringLiteral("one\ntwo"));
    EXPECT_EQ(W_<QCheckBox>("chkHeader")->checkState(), Qt::PartiallyChecked);
    EXPECT_TRUE(W_<QRadioButton>("optPrivate")->isChecked());
    auto* list = W_<QListWidget>("lstProcs");
    ASSERT_EQ(list->count(), 3);
    for (int i : {0, 1, 2}) EXPECT_EQ(pvqt::FromQt(list->item(i)->text()), form.lstProcs.List(i));
    EXPECT_EQ(list->item(0)->text(), QStringLiteral("alpha"));
    EXPECT_TRUE(list->item(1)->isSelected());
    EXPECT_FALSE(list->item(0)->isSelected());
    EXPECT_EQ(W_<QComboBox>("cboKind")->currentText(), QStringLiteral("Function"));
    EXPECT_EQ(W_<QTabWidget>("tabMain")->currentIndex(), 1);
    EXPECT_FALSE(W_<QPushButton>("cmdOK")->isEnabled());
    EXPECT_TRUE(W_<QFrame>("picPreview")->isHidden());
    // Model changes from code raise the model's events once; the widgets add none.
    for (const char* event : {"txtName_Change", "txtNotes_Change", "chkHeader_Click", "optPrivate_Click",
                              "cboKind_Click", "tabMain_Click(0)"})
        EXPECT_EQ(form.Events(event), 1) << event;
}

TEST_F(FormBinderTest, TypingReachesTheModelOncePerKeystrokeWithinMaxLength) {
    auto* edit = W_<QLineEdit>("txtName");
    edit->setFocus();
    QTest::keyClicks(edit, QStringLiteral("GetTotalCount"));
    EXPECT_EQ(form.txtName.Text(), "GetTotalCo");  // MaxLength 10
    EXPECT_EQ(edit->text(), QStringLiteral("GetTotalCo"));
    EXPECT_EQ(form.Events("txtName_Change"), 10);
    EXPECT_EQ(form.txtName.SelStart(), 10);
    QTest::keyClick(edit, Qt::Key_Home, Qt::ShiftModifier);
    EXPECT_EQ(form.txtName.SelStart(), 0);
    EXPECT_EQ(form.txtName.SelLength(), 10);
}

TEST_F(FormBinderTest, TypingInMultiLineTextUsesCrLfInTheModel) {
    auto* edit = W_<QPlainTextEdit>("txtNotes");
    edit->setFocus();
    QTest::keyClicks(edit, QStringLiteral("ab"));
    QTest::keyClick(edit, Qt::Key_Return);
    QTest::keyClicks(edit, QStringLiteral("c"));
    EXPECT_EQ(form.txtNotes.Text(), "ab\r\nc");
    EXPECT_EQ(form.Events("txtNotes_Change"), 4);
    EXPECT_EQ(form.txtNotes.SelStart(), 5);
    EXPECT_EQ(form.Events("cmdOK_Click"), 0);  // Enter in a multi-line box is a new line
}

TEST_F(FormBinderTest, ClicksOnButtonsChecksAndOptionsRaiseClickOnce) {
    QTest::mouseClick(W_<QCheckBox>("chkHeader"), Qt::LeftButton);
    EXPECT_EQ(form.chkHeader.Value(), 1);
    QTest::mouseClick(W_<QRadioButton>("optPublic"), Qt::LeftButton);
    QTest::mouseClick(W_<QRadioButton>("optPrivate"), Qt::LeftButton);
    EXPECT_FALSE(form.optPublic.Value());
    EXPECT_TRUE(form.optPrivate.Value());
    EXPECT_FALSE(W_<QRadioButton>("optPublic")->isChecked());
    QTest::mouseClick(W_<QRadioButton>("optPrivate"), Qt::LeftButton);  // chosen again: stays chosen
    EXPECT_TRUE(W_<QRadioButton>("optPrivate")->isChecked());
    QTest::mouseClick(W_<QPushButton>("cmdCancel"), Qt::LeftButton);
    EXPECT_EQ(form.Events("chkHeader_Click"), 1);
    EXPECT_EQ(form.Events("optPublic_Click"), 1);
    EXPECT_EQ(form.Events("optPrivate_Click"), 2);
    EXPECT_EQ(form.Events("cmdCancel_Click"), 1);
}

TEST_F(FormBinderTest, ListClicksToggleEntriesInTheModel) {
    for (const char* item : {"Gamma", "Alpha", "Beta"}) form.lstProcs.AddItem(item);
    form.events.clear();
    auto* list = W_<QListWidget>("lstProcs");
    ClickRow(list, 0);
    ClickRow(list, 2);
    EXPECT_TRUE(form.lstProcs.Selected(0) && !form.lstProcs.Selected(1) && form.lstProcs.Selected(2));
    ClickRow(list, 0);
    EXPECT_FALSE(form.lstProcs.Selected(0));
    EXPECT_FALSE(list->item(0)->isSelected());
    EXPECT_TRUE(list->item(2)->isSelected());
    EXPECT_EQ(form.Events("lstProcs_Click"), 3);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(1)).center());
    EXPECT_EQ(form.Events("lstProcs_DblClick"), 1);
}

TEST_F(FormBinderTest, ComboChoicesAndTypingReachTheModel) {
    for (const char* item : {"(All)", "Strings", "Files"}) form.cboCategory.AddItem(item);
    for (const char* item : {"Sub", "Function"}) form.cboKind.AddItem(item);
    form.events.clear();
    auto* kind = W_<QComboBox>("cboKind");
    kind->setFocus();
    QTest::keyClick(kind, Qt::Key_Down);
    EXPECT_EQ(form.cboKind.ListIndex(), 0);
    EXPECT_EQ(form.Events("cboKind_Click"), 1);
    auto* category = W_<QComboBox>("cboCategory");
    category->lineEdit()->setFocus();
    QTest::keyClicks(category->lineEdit(), QStringLiteral("Fi"));
    EXPECT_EQ(form.cboCategory.Text(), "Fi");
    EXPECT_EQ(form.Events("cboCategory_Change"), 2);
    emit category->activated(1);  // what a choice in the drop-down signals
    EXPECT_EQ(form.cboCategory.ListIndex(), 1);
    EXPECT_EQ(form.cboCategory.Text(), "Strings");
    EXPECT_EQ(category->lineEdit()->text(), QStringLiteral("Strings"));
}

TEST_F(FormBinderTest, TabClickSetsTheTabOnce) {
    auto* tabs = W_<QTabWidget>("tabMain");
    QTest::mouseClick(tabs->tabBar(), Qt::LeftButton, {}, tabs->tabBar()->tabRect(1).center());
    EXPECT_EQ(form.tabMain.Tab(), 1);
    EXPECT_EQ(form.Events("tabMain_Click(0)"), 1);
    EXPECT_TRUE(W_<QLineEdit>("txtOnSecondPage")->isVisible());
}

TEST_F(FormBinderTest, FocusFollowsBothWays) {
    QTest::mouseClick(W_<QPlainTextEdit>("txtNotes")->viewport(), Qt::LeftButton);
    EXPECT_EQ(form.ActiveControl(), &form.txtNotes);
    EXPECT_EQ(form.Events("txtNotes_GotFocus"), 1);
    form.txtName.SetFocus();
    EXPECT_TRUE(W_<QLineEdit>("txtName")->hasFocus());
    EXPECT_EQ(form.Events("txtName_GotFocus"), 1);  // not raised again by the widget's focus-in
}

TEST(FormBinderModal, EnterPressesDefaultEscPressesCancelCloseBoxUnloads) {
    guitest::App();
    pvqt::QtUi ui;
    struct Row {
        const char* name;
        std::function<void(QDialog*)> user;
        const char* event;
    };
    const std::vector<Row> rows = {
        {"Enter", [](QDialog* d) { QTest::keyClick(d->focusWidget(), Qt::Key_Return); }, "cmdOK_Click"},
        {"Escape", [](QDialog* d) { QTest::keyClick(d->focusWidget(), Qt::Key_Escape); }, "cmdCancel_Click"},
        {"CloseBox", [](QDialog* d) { d->close(); }, nullptr},
    };
    for (const auto& row : rows) {
        AllControlsForm form;
        form.cmdOK.Click.Connect([&form] { form.Unload(); });
        form.cmdCancel.Click.Connect([&form] { form.Unload(); });
        guitest::WhenModal([&](QWidget* modal) { row.user(static_cast<QDialog*>(modal)); });
        form.ShowModal(ui);
        EXPECT_FALSE(form.IsLoaded()) << row.name;
        if (row.event) {
            EXPECT_EQ(form.Events(row.event), 1) << row.name;
        }
        EXPECT_EQ(form.Events("cmdOK_Click") + form.Events("cmdCancel_Click"), row.event ? 1 : 0) << row.name;
        EXPECT_EQ(ui.CurrentDialog(), nullptr);
    }
}

TEST(FormBinderModal, SizableFormReportsUserResizeAndReplacesControls) {
    guitest::App();
    AllControlsForm form;
    form.SetBorderStyle(2);
    int resizes = 0;
    form.Resize.Connect([&] {
        ++resizes;
        form.cmdOK.Move(form.ScaleWidth() - 1215, form.cmdOK.Top(), 1095, 375);
    });
    pvqt::FormDialog dialog(form);
    form.BeginShow();
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    resizes = 0;
    dialog.resize(600, 450);
    EXPECT_EQ(resizes, 1);
    EXPECT_EQ(form.ScaleWidth(), 9000);
    EXPECT_EQ(dialog.Widget<QPushButton>("cmdOK")->x(), 600 - 81);
    form.EndShow();
}

}  // namespace
