// The Qt services: the Ui against real Qt dialogs, answered the way a user would,
// the text conversions, and the INI-file settings store.
#include "qt/QtUi.h"

#include <gtest/gtest.h>

#include <QtWidgets>

#include "qt/AllControlsForm.h"
#include "qt/FormDialog.h"
#include "qt/GuiTestApp.h"
#include "qt/MsgBoxMapping.h"
#include "qt/QtSettingsStore.h"
#include "qt/QtText.h"
#include "support/TempDir.h"

namespace {

using SB = QMessageBox::StandardButton;
using Icon = QMessageBox::Icon;

struct BoxRow {
    const char* name;
    int style;
    QMessageBox::StandardButtons buttons;
    SB defaultButton;
    Icon icon;
    SB click;  // NoButton: Escape or the close box
    int answer;
};

class MsgBoxTest : public testing::TestWithParam<BoxRow> {};

TEST_P(MsgBoxTest, ShowsVbButtonsAndIconAndTheClickedButtonIsTheAnswer) {
    guitest::App();
    const BoxRow& row = GetParam();
    QString seen;
    guitest::WhenModal([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        seen = box->windowTitle() + "|" + box->text();
        EXPECT_EQ(box->icon(), row.icon);
        EXPECT_EQ(box->standardButtons(), row.buttons);
        EXPECT_EQ(box->defaultButton(), box->button(row.defaultButton));
        if (row.click == SB::NoButton) return box->reject();
        box->button(row.click)->click();
    });
    pvqt::QtUi ui;
    EXPECT_EQ(ui.MsgBox("Line one\r\nLine \xE9two", row.style, "Procvault"), row.answer);
    EXPECT_EQ(seen, QString::fromUtf8("Procvault|Line one\nLine étwo"));
}

using namespace forms;
// clang-format off
INSTANTIATE_TEST_SUITE_P(Styles, MsgBoxTest, testing::Values(
    BoxRow{"OkCritical", vbOKOnly | vbCritical, SB::Ok, SB::Ok, Icon::Critical, SB::Ok, vbOK},
    BoxRow{"OkCancelExclamation", vbOKCancel | vbExclamation, SB::Ok | SB::Cancel, SB::Ok, Icon::Warning, SB::Cancel, vbCancel},
    BoxRow{"IgnoreInformation", vbAbortRetryIgnore | vbInformation, SB::Abort | SB::Retry | SB::Ignore, SB::Abort,
           Icon::Information, SB::Ignore, vbIgnore},
    BoxRow{"Abort", vbAbortRetryIgnore, SB::Abort | SB::Retry | SB::Ignore, SB::Abort, Icon::NoIcon, SB::Abort, vbAbort},
    BoxRow{"EscapeIsCancel", vbYesNoCancel, SB::Yes | SB::No | SB::Cancel, SB::Yes, Icon::NoIcon, SB::NoButton, vbCancel},
    BoxRow{"YesQuestion", vbYesNo | vbQuestion, SB::Yes | SB::No, SB::Yes, Icon::Question, SB::Yes, vbYes},
    BoxRow{"SecondButtonDefaultNo", vbYesNo | vbDefaultButton2, SB::Yes | SB::No, SB::No, Icon::NoIcon, SB::No, vbNo},
    BoxRow{"Retry", vbRetryCancel, SB::Retry | SB::Cancel, SB::Retry, Icon::NoIcon, SB::Retry, vbRetry},
    BoxRow{"DefaultBeyondButtonsIsFirst", vbOKOnly | vbDefaultButton2, SB::Ok, SB::Ok, Icon::NoIcon, SB::Ok, vbOK}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST(QtUi, FileFiltersConvertToQtForm) {
    const std::pair<std::string, QString> rows[] = {
        {"Access Databases (*.mdb)|*.mdb", "Access Databases (*.mdb)"},
        {"Databases|*.mdb", "Databases (*.mdb)"},  // no bracket: the pattern is added
        {"Access (*.mdb;*.mde)|*.mdb;*.mde", "Access (*.mdb *.mde)"},
        {"Old (*.dat)|*.mdb", "Old (*.mdb)"},  // a bracket disagreeing with the pattern
        {"Text (*.txt)|*.txt|", "Text (*.txt)"},
        {"", ""}};
    for (const auto& [vb, qt] : rows) EXPECT_EQ(pvqt::QtFileFilter(vb), qt) << vb;
}

TEST(QtUi, OpenFileDialogReturnsChosenFileOrEmptyOnCancel) {
    guitest::App();
    testsupport::TempDir dir;
    testsupport::WriteBytes(dir / "Library.mdb", "x");
    const std::string wanted = (dir / "Library.mdb").string();
    QString seen;
    guitest::WhenModal([&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        seen = dialog->windowTitle() + "|" + dialog->nameFilters().join(";;") + "|" +
               dialog->directory().absolutePath();
        dialog->selectFile(QString::fromStdString(wanted));
        QMetaObject::invokeMethod(dialog, "accept");
    });
    pvqt::QtUi ui;
    const forms::OpenFileRequest request{"Locate Library", "Access (*.mdb)|*.mdb|All Files (*.*)|*.*",
                                         dir.Path().string()};
    EXPECT_EQ(ui.ShowOpenFileDialog(request), wanted);
    EXPECT_EQ(seen, "Locate Library|Access (*.mdb);;All Files (*.*)|" +
                        QString::fromStdString(dir.Path().string()));
    guitest::WhenModal([](QWidget* modal) { static_cast<QDialog*>(modal)->reject(); });
    EXPECT_EQ(ui.ShowOpenFileDialog(request), "");
}

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

// As the add-in's SelectControl routine does: focus the box, select its text with SendKeys.
TEST(QtUi, SendKeysSelectsTheFocusedTextInTheWidget) {
    guitest::App();
    pvqt::QtUi ui;
    guitest::AllControlsForm form;
    form.txtName.SetText("Procedure");
    form.cmdOK.Click.Connect([&] {
        form.txtName.SetFocus();
        ui.SendKeys("{Home}+{End}");
    });
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
    EXPECT_EQ(form.txtName.SelLength(), 9);
    EXPECT_FALSE(form.IsLoaded());
}

TEST(QtText, WindowsCodePageAndCrLfMapAcrossToQt) {
    const std::string bytes = "caf\xE9 \x80 \x93quoted\x94";
    EXPECT_EQ(pvqt::ToQt(bytes), QString::fromUtf8("café € “quoted”"));
    EXPECT_EQ(pvqt::FromQt(pvqt::ToQt(bytes)), bytes);
    EXPECT_EQ(pvqt::FromQt(QString::fromUtf8("漢")), "?");
    const std::string model = "ab\r\ncd\r\ne";
    const QString widget = pvqt::ToQtLines(model);
    EXPECT_EQ(widget, QStringLiteral("ab\ncd\ne"));
    EXPECT_EQ(pvqt::FromQtLines(widget), model);
    // Offsets of 'c' and 'e' on either side; beyond the end stops at the end.
    const std::vector<long> widgetOffsets = {pvqt::WidgetOffset(model, 4), pvqt::WidgetOffset(model, 8),
                                             pvqt::WidgetOffset(model, 99)};
    EXPECT_EQ(widgetOffsets, (std::vector<long>{3, 6, 7}));
    EXPECT_EQ(std::pair(pvqt::ModelOffset(widget, 3), pvqt::ModelOffset(widget, 6)), std::pair(4L, 8L));
}

TEST(QtSettingsStore, KeepsValuesExactlyAndNeverWrittenIsNotEmpty) {
    testsupport::TempDir dir;
    const QString folder = QString::fromStdString(dir.Path().string());
    pvqt::QtSettingsStore store(folder);
    EXPECT_FALSE(store.Read("Procvault", "Options", "K0").has_value());
    const std::vector<std::string> values = {
        "' ", "", "  lead", "MsgBox Err.Description & \" \" & Err.Number", "a;b=c", "caf\xe9"};
    for (std::size_t i = 0; i < values.size(); ++i)
        store.Write("Procvault", "Options", "K" + std::to_string(i), values[i]);
    pvqt::QtSettingsStore fresh(folder);
    for (std::size_t i = 0; i < values.size(); ++i)
        EXPECT_EQ(fresh.Read("Procvault", "Options", "K" + std::to_string(i)), values[i]) << i;
}

TEST(QtSettingsStore, OneSectionPerGroupOneFilePerApplicationAndChangesByOthersSeen) {
    testsupport::TempDir dir;
    pvqt::QtSettingsStore store(QString::fromStdString(dir.Path().string()));
    const auto read = [&](const char* key) {
        return store.Read("Procvault", "Options", key).value_or("(none)");
    };
    store.Write("Procvault", "Options", "IndentLevel", "0");
    store.Write("Other", "Options", "CommentPrefix", "Rem ");
    EXPECT_EQ(read("IndentLevel") + "|" + read("CommentPrefix"), "0|(none)");
    EXPECT_FALSE(store.Read("Procvault", "Other", "IndentLevel").has_value());
    EXPECT_EQ(testsupport::ReadBytes(dir / "Procvault/Procvault.ini"), "[Options]\nIndentLevel=0\n");
    testsupport::WriteBytes(dir / "Procvault/Procvault.ini",
                            "[Options]\nIndentLevel=1\nCommentPrefix=\"'X \"\n");
    EXPECT_EQ(read("IndentLevel") + "|" + read("CommentPrefix"), "1|'X ");
}

}  // namespace
