// The generic binder with real widgets: every control kind mirrors the model,
// and the user's actions reach the model so that each event is raised once
// (all events a test causes are compared at once: no echo adds one).
#include <gtest/gtest.h>

#include <QTest>
#include <QtWidgets>

#include "qt/AllControlsForm.h"
#include "qt/FormDialog.h"
#include "qt/GuiTestApp.h"
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

    AllControlsForm form;
    std::unique_ptr<pvqt::FormDialog> dialog;
};

// Twips at the dialog's scale, relative to the container; a tab page's offset below its bar is taken off.
TEST_F(FormBinderTest, EachKindGetsItsWidgetInItsContainer) {
    EXPECT_FALSE(W_<QComboBox>("cboKind")->isEditable());
    EXPECT_EQ(W_<QLabel>("lblName")->buddy(), W_<QLineEdit>("txtName"));
    EXPECT_EQ(W_<QRadioButton>("optPrivate")->parentWidget(), W_<QGroupBox>("fraScope"));
    const pvqt::TwipsScale& scale = dialog->Scale();
    form.txtName.Move(150, 300, 1500, 300);
    EXPECT_EQ(W_<QLineEdit>("txtName")->geometry(), scale.Rect(150, 300, 1500, 300));
    EXPECT_EQ(W_<QLineEdit>("txtOnSecondPage")->mapTo(W_<QTabWidget>("tabMain"), QPoint(0, 0)),
              QPoint(scale.Px(240), scale.Px(600)));
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
    auto* list = W_<QListWidget>("lstProcs");
    QStringList shown{W_<QLabel>("lblName")->text(), W_<QLineEdit>("txtName")->text(),
                      W_<QPlainTextEdit>("txtNotes")->toPlainText(), W_<QComboBox>("cboKind")->currentText()};
    for (int i = 0; i < list->count(); ++i)
        shown << list->item(i)->text() +
                     (list->item(i)->isSelected() ? "*" : "");  // sorted as the model sorts
    EXPECT_EQ(shown.join("|"), QString::fromUtf8("&Category:|Café|one\ntwo|Function|alpha|Beta*|Zeta"));
    EXPECT_EQ(form.lstProcs.List(1), "Beta");
    EXPECT_EQ(W_<QCheckBox>("chkHeader")->checkState(), Qt::PartiallyChecked);
    EXPECT_TRUE(W_<QRadioButton>("optPrivate")->isChecked());
    EXPECT_EQ(W_<QTabWidget>("tabMain")->currentIndex(), 1);
    EXPECT_FALSE(W_<QPushButton>("cmdOK")->isEnabled());
    EXPECT_TRUE(W_<QWidget>("picPreview")->isHidden());
    EXPECT_EQ(form.Raised(),
              "cboKind_Click=1 chkHeader_Click=1 lstProcs_Click=1 optPrivate_Click=1 "
              "tabMain_Click(0)=1 txtName_Change=1 txtNotes_Change=1");
}

// MaxLength cuts typing short; a multi-line box keeps CR LF in the model and
// takes Enter as a new line, not the default button; focus follows both ways.
TEST_F(FormBinderTest, TypingReachesTheModelOncePerKeystroke) {
    auto* edit = W_<QLineEdit>("txtName");
    edit->setFocus();
    QTest::keyClicks(edit, QStringLiteral("GetTotalCount"));
    EXPECT_EQ(std::tuple(form.txtName.Text(), edit->text(), form.txtName.SelStart()),
              std::tuple("GetTotalCo", QStringLiteral("GetTotalCo"), 10L));
    QTest::keyClick(edit, Qt::Key_Home, Qt::ShiftModifier);
    EXPECT_EQ(std::pair(form.txtName.SelStart(), form.txtName.SelLength()), std::pair(0L, 10L));
    auto* notes = W_<QPlainTextEdit>("txtNotes");
    QTest::mouseClick(notes->viewport(), Qt::LeftButton);
    EXPECT_EQ(form.ActiveControl(), &form.txtNotes);
    QTest::keyClicks(notes, QStringLiteral("ab"));
    QTest::keyClick(notes, Qt::Key_Return);
    QTest::keyClicks(notes, QStringLiteral("c"));
    EXPECT_EQ(std::pair(form.txtNotes.Text(), form.txtNotes.SelStart()),
              std::pair(std::string("ab\r\nc"), 5L));
    form.txtName.SetFocus();
    EXPECT_TRUE(edit->hasFocus());
    // txtName had the focus from the start; the widget's focus-ins add no GotFocus.
    EXPECT_EQ(form.Raised(), "txtName_Change=10 txtName_GotFocus=1 txtNotes_Change=4 txtNotes_GotFocus=1");
}

TEST_F(FormBinderTest, ClicksOnButtonsChecksOptionsAndTabsRaiseClickOnce) {
    QTest::mouseClick(W_<QCheckBox>("chkHeader"), Qt::LeftButton);
    EXPECT_EQ(form.chkHeader.Value(), 1);
    QTest::mouseClick(W_<QRadioButton>("optPublic"), Qt::LeftButton);
    QTest::mouseClick(W_<QRadioButton>("optPrivate"), Qt::LeftButton);
    EXPECT_EQ(std::tuple(form.optPublic.Value(), form.optPrivate.Value(),
                         W_<QRadioButton>("optPublic")->isChecked()),
              std::tuple(false, true, false));
    QTest::mouseClick(W_<QRadioButton>("optPrivate"), Qt::LeftButton);  // chosen again: stays chosen
    EXPECT_TRUE(W_<QRadioButton>("optPrivate")->isChecked());
    QTest::mouseClick(W_<QPushButton>("cmdCancel"), Qt::LeftButton);
    auto* tabs = W_<QTabWidget>("tabMain");
    QTest::mouseClick(tabs->tabBar(), Qt::LeftButton, {}, tabs->tabBar()->tabRect(1).center());
    EXPECT_EQ(form.tabMain.Tab(), 1);
    EXPECT_TRUE(W_<QLineEdit>("txtOnSecondPage")->isVisible());
    EXPECT_EQ(form.Raised(),
              "chkHeader_Click=1 cmdCancel_Click=1 optPrivate_Click=2 optPublic_Click=1 tabMain_Click(0)=1");
}

TEST_F(FormBinderTest, ListClicksToggleEntriesAndCombosTakeChoicesAndTyping) {
    for (const char* item : {"Gamma", "Alpha", "Beta"}) form.lstProcs.AddItem(item);
    for (const char* item : {"(All)", "Strings", "Files"}) form.cboCategory.AddItem(item);
    for (const char* item : {"Sub", "Function"}) form.cboKind.AddItem(item);
    form.events.clear();
    auto* list = W_<QListWidget>("lstProcs");
    for (int row : {0, 2, 0})
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(row)).center());
    EXPECT_EQ(std::tuple(form.lstProcs.Selected(0), list->item(0)->isSelected(), form.lstProcs.Selected(2),
                         list->item(2)->isSelected()),
              std::tuple(false, false, true, true));
    EXPECT_EQ(form.Raised(), "lstProcs_Click=3");
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(1)).center());
    EXPECT_EQ(form.Raised(), "lstProcs_Click=4 lstProcs_DblClick=1");  // its first press clicks, as in VB
    form.events.clear();
    auto* kind = W_<QComboBox>("cboKind");
    kind->setFocus();
    QTest::keyClick(kind, Qt::Key_Down);
    EXPECT_EQ(form.cboKind.ListIndex(), 0);
    auto* category = W_<QComboBox>("cboCategory");
    category->lineEdit()->setFocus();
    QTest::keyClicks(category->lineEdit(), QStringLiteral("Fi"));
    EXPECT_EQ(form.cboCategory.Text(), "Fi");
    emit category->activated(1);  // what a choice in the drop-down signals
    EXPECT_EQ(std::tuple(form.cboCategory.ListIndex(), form.cboCategory.Text(), category->lineEdit()->text()),
              std::tuple(1L, "Strings", QStringLiteral("Strings")));
    EXPECT_EQ(form.Raised(), "cboCategory_Change=2 cboCategory_Click=1 cboKind_Click=1");
}

TEST(FormBinderModal, EnterPressesDefaultEscPressesCancelCloseBoxUnloads) {
    guitest::App();
    pvqt::QtUi ui;
    // clang-format off
    const std::pair<const char*, std::function<void(QDialog*)>> rows[] = {
        {"cmdOK_Click=1 txtName_GotFocus=1", [](QDialog* d) { QTest::keyClick(d->focusWidget(), Qt::Key_Return); }},
        {"cmdCancel_Click=1 txtName_GotFocus=1", [](QDialog* d) { QTest::keyClick(d->focusWidget(), Qt::Key_Escape); }},
        {"txtName_GotFocus=1", [](QDialog* d) { d->close(); }}};  // no button is pressed
    // clang-format on
    for (const auto& [raised, user] : rows) {
        AllControlsForm form;
        form.cmdOK.Click.Connect([&form] { form.Unload(); });
        form.cmdCancel.Click.Connect([&form] { form.Unload(); });
        guitest::WhenModal([&](QWidget* modal) { user(static_cast<QDialog*>(modal)); });
        form.ShowModal(ui);
        EXPECT_FALSE(form.IsLoaded()) << raised;
        EXPECT_EQ(form.Raised(), raised);
        EXPECT_EQ(ui.CurrentDialog(), nullptr);
    }
}

}  // namespace
