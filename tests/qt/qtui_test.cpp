// The Qt Ui service against real Qt dialogs, answered the way a user would.
#include "qt/QtUi.h"

#include <gtest/gtest.h>

#include <QtWidgets>

#include "forms/Form.h"
#include "qt/FormDialog.h"
#include "qt/GuiTestApp.h"
#include "qt/MsgBoxMapping.h"
#include "qt/QtText.h"
#include "support/TempDir.h"

namespace {

using SB = QMessageBox::StandardButton;

struct AnswerRow {
    const char* name;
    int style;
    SB click;
    int answer;
};

class MsgBoxAnswerTest : public testing::TestWithParam<AnswerRow> {};

TEST_P(MsgBoxAnswerTest, ClickedButtonIsTheVbAnswer) {
    guitest::App();
    const auto& row = GetParam();
    QString seenTitle, seenText;
    QMessageBox::Icon seenIcon = QMessageBox::NoIcon;
    int buttons = 0;
    guitest::WhenModal([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        seenTitle = box->windowTitle();
        seenText = box->text();
        seenIcon = box->icon();
        buttons = static_cast<int>(box->buttons().size());
        if (row.click == SB::NoButton) return box->reject();  // Escape or the close box
        box->button(row.click)->click();
    });
    pvqt::QtUi ui;
    EXPECT_EQ(ui.MsgBox("Line one\r\nLine \xE9two", row.style, "Procvault"), row.answer);
    EXPECT_EQ(seenTitle, QStringLiteral("Procvault"));
    EXPECT_EQ(seenText, QString::fromUtf8("Line one\nLine étwo"));
    EXPECT_EQ(seenIcon, pvqt::MsgBoxIcon(row.style));
    EXPECT_EQ(buttons, static_cast<int>(pvqt::MsgBoxButtons(row.style).size()));
}

INSTANTIATE_TEST_SUITE_P(
    Answers, MsgBoxAnswerTest,
    testing::Values(
        AnswerRow{"OkOnly", forms::vbOKOnly | forms::vbCritical, SB::Ok, forms::vbOK},
        AnswerRow{"YesNoYes", forms::vbYesNo | forms::vbQuestion, SB::Yes, forms::vbYes},
        AnswerRow{"YesNoNo", forms::vbYesNo | forms::vbQuestion, SB::No, forms::vbNo},
        AnswerRow{"YesNoCancelCancel", forms::vbYesNoCancel, SB::Cancel, forms::vbCancel},
        AnswerRow{"OkCancelCancel", forms::vbOKCancel | forms::vbExclamation, SB::Cancel, forms::vbCancel},
        AnswerRow{"RetryCancelRetry", forms::vbRetryCancel, SB::Retry, forms::vbRetry},
        AnswerRow{"AbortRetryIgnoreIgnore", forms::vbAbortRetryIgnore | forms::vbInformation, SB::Ignore,
                  forms::vbIgnore},
        AnswerRow{"AbortRetryIgnoreAbort", forms::vbAbortRetryIgnore, SB::Abort, forms::vbAbort},
        AnswerRow{"EscapeOnYesNoCancelIsCancel", forms::vbYesNoCancel, SB::NoButton, forms::vbCancel}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(QtUi, HourglassOverridesCursorOnceAndDefaultRestoresIt) {
    guitest::App();
    pvqt::QtUi ui;
    ui.SetMousePointer(forms::vbHourglass);
    ui.SetMousePointer(forms::vbHourglass);  // set twice, as nested routines do
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    EXPECT_EQ(ui.GetMousePointer(), forms::vbHourglass);
    ui.SetMousePointer(forms::vbDefault);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    ui.SetMousePointer(forms::vbDefault);  // restoring again must not pop someone else's cursor
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    std::make_unique<pvqt::QtUi>()->SetMousePointer(forms::vbHourglass);  // left set as the Ui goes
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST(QtUi, OpenFileDialogReturnsChosenFileOrEmptyOnCancel) {
    guitest::App();
    testsupport::TempDir dir;
    testsupport::WriteBytes(dir / "Library.mdb", "x");
    const std::string wanted = (dir / "Library.mdb").string();
    QString title, filters, folder;
    guitest::WhenModal([&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        title = dialog->windowTitle();
        filters = dialog->nameFilters().join(QStringLiteral(";;"));
        folder = dialog->directory().absolutePath();
        dialog->selectFile(QString::fromStdString(wanted));
        QMetaObject::invokeMethod(dialog, "accept");
    });
    pvqt::QtUi ui;
    const forms::OpenFileRequest request{"Locate Library", "Access (*.mdb)|*.mdb|All Files (*.*)|*.*",
                                         dir.Path().string()};
    EXPECT_EQ(ui.ShowOpenFileDialog(request), wanted);
    EXPECT_EQ(title, QStringLiteral("Locate Library"));
    EXPECT_EQ(filters, QStringLiteral("Access (*.mdb);;All Files (*.*)"));
    EXPECT_EQ(folder, QString::fromStdString(dir.Path().string()));

    guitest::WhenModal([](QWidget* modal) { static_cast<QDialog*>(modal)->reject(); });
    EXPECT_EQ(ui.ShowOpenFileDialog(request), "");
}

TEST(QtUi, MonthNamesAndTodayComeFromTheSystem) {
    guitest::App();
    pvqt::QtUi ui;
    const auto today = ui.Today();
    EXPECT_EQ(QDate(today.year, today.month, today.day), QDate::currentDate());
    EXPECT_EQ(ui.MonthShortName(1), pvqt::FromQt(QLocale::system().monthName(1, QLocale::ShortFormat)));
    EXPECT_FALSE(ui.MonthShortName(12).empty());
}

// A small form whose button selects the text box's text with SendKeys, as the
// add-in's SelectControl routine does, then reports what the widget shows.
class SelectForm : public forms::Form {
public:
    explicit SelectForm(forms::Ui& ui) : Form("frmSelect"), ui_(ui) {
        Move(0, 0, 4000, 2000);
        name.SetText("Procedure");
        name.Move(120, 120, 2400, 315);
        ok.SetCaption("OK");
        ok.Move(2640, 120, 1095, 375);
        ok.Click = [this] {
            name.SetFocus();
            ui_.SendKeys("{Home}+{End}");
        };
    }
    forms::Ui& ui_;
    forms::TextBox& name = Add<forms::TextBox>("txtName");
    forms::CommandButton& ok = Add<forms::CommandButton>("cmdOK");
};

TEST(QtUi, SendKeysSelectsTheFocusedTextInTheWidget) {
    guitest::App();
    pvqt::QtUi ui;
    SelectForm form(ui);
    QString selected;
    guitest::WhenModal([&](QWidget* modal) {
        auto* dialog = qobject_cast<pvqt::FormDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        dialog->Widget<QPushButton>("cmdOK")->click();
        selected = dialog->Widget<QLineEdit>("txtName")->selectedText();
        form.Unload();
    });
    form.ShowModal(ui);
    EXPECT_EQ(selected, QStringLiteral("Procedure"));
    EXPECT_EQ(form.name.SelLength(), 9);
    EXPECT_FALSE(form.IsLoaded());
}

}  // namespace
