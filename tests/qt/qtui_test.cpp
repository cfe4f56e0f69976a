// The Qt services: the Ui against real Qt dialogs, answered the way a user would,
// the text conversions, and the INI-file settings store.
#include "qt/QtUi.h"

#include <gtest/gtest.h>

#include <QtWidgets>

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
    BoxRow{"OkCancelExclamation", vbOKCancel | vbExclamation, SB::Ok | SB::Cancel, SB::Ok, Icon::Warning, SB::Cancel, vbCancel},
    BoxRow{"IgnoreInformation", vbAbortRetryIgnore | vbInformation, SB::Abort | SB::Retry | SB::Ignore, SB::Abort,
           Icon::Information, SB::Ignore, vbIgnore},
    BoxRow{"EscapeIsCancel", vbYesNoCancel, SB::Yes | SB::No | SB::Cancel, SB::Yes, Icon::NoIcon, SB::NoButton, vbCancel},
    BoxRow{"SecondButtonDefaultNo", vbYesNo | vbQuestion | vbDefaultButton2, SB::Yes | SB::No, SB::No, Icon::Question, SB::No, vbNo},
    BoxRow{"Retry", vbRetryCancel, SB::Retry | SB::Cancel, SB::Retry, Icon::NoIcon, SB::Retry, vbRetry},
    BoxRow{"DefaultBeyondButtonsIsFirst", vbOKOnly | vbCritical | vbDefaultButton2, SB::Ok, SB::Ok, Icon::Critical, SB::Ok, vbOK}),
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

// The conversions' corners no dialog reaches: unmappable letters, offsets beyond the end.
TEST(QtText, WindowsCodePageAndCrLfMapAcrossToQt) {
    const std::string bytes = "caf\xE9 \x80 \x93quoted\x94";
    EXPECT_EQ(pvqt::ToQt(bytes), QString::fromUtf8("café € “quoted”"));
    EXPECT_EQ(pvqt::FromQt(pvqt::ToQt(bytes)), bytes);
    EXPECT_EQ(pvqt::FromQt(QString::fromUtf8("漢")), "?");
    const std::string model = "ab\r\ncd\r\ne";
    const QString widget = pvqt::ToQtLines(model);
    EXPECT_EQ(pvqt::FromQtLines(widget), model);
    EXPECT_EQ(
        std::tuple(pvqt::WidgetOffset(model, 8), pvqt::WidgetOffset(model, 99), pvqt::ModelOffset(widget, 6)),
        std::tuple(6L, 7L, 8L));
}

TEST(QtSettingsStore, OneFilePerApplicationKeepsValuesExactlyAndSeesChangesByOthers) {
    testsupport::TempDir dir;
    const QString folder = QString::fromStdString(dir.Path().string());
    pvqt::QtSettingsStore store(folder);
    const auto read = [&](const char* key) {
        return store.Read("Procvault", "Options", key).value_or("(none)");
    };
    store.Write("Procvault", "Options", "IndentLevel", "0");
    store.Write("Other", "Options", "CommentPrefix", "Rem ");
    EXPECT_EQ(read("IndentLevel") + "|" + read("CommentPrefix"), "0|(none)");  // never written is not empty
    EXPECT_FALSE(store.Read("Procvault", "Other", "IndentLevel").has_value());
    EXPECT_EQ(testsupport::ReadBytes(dir / "Procvault/Procvault.ini"), "[Options]\nIndentLevel=0\n");
    const std::vector<std::string> values = {
        "' ", "", "  lead", "MsgBox Err.Description & \" \" & Err.Number", "a;b=c", "caf\xe9"};
    const auto key = [](std::size_t i) { return "K" + std::to_string(i); };
    for (std::size_t i = 0; i < values.size(); ++i) store.Write("Procvault", "Values", key(i), values[i]);
    pvqt::QtSettingsStore fresh(folder);
    for (std::size_t i = 0; i < values.size(); ++i)
        EXPECT_EQ(fresh.Read("Procvault", "Values", key(i)), values[i]) << i;
    testsupport::WriteBytes(dir / "Procvault/Procvault.ini",
                            "[Options]\nIndentLevel=1\nCommentPrefix=\"'X \"\n");
    EXPECT_EQ(read("IndentLevel") + "|" + read("CommentPrefix"), "1|'X ");
}

}  // namespace
