// The tables behind message boxes, file filters and text offsets.
#include <gtest/gtest.h>

#include "forms/Ui.h"
#include "qt/MsgBoxMapping.h"
#include "qt/QtText.h"

namespace {

using SB = QMessageBox::StandardButton;

struct ButtonsRow {
    const char* name;
    int style;
    std::vector<SB> buttons;
    SB defaultButton;
};

class MsgBoxButtonsTest : public testing::TestWithParam<ButtonsRow> {};

TEST_P(MsgBoxButtonsTest, GivesVbButtonsInOrderWithDefault) {
    const auto& row = GetParam();
    EXPECT_EQ(pvqt::MsgBoxButtons(row.style), row.buttons);
    EXPECT_EQ(pvqt::MsgBoxDefault(row.style), row.defaultButton);
}

INSTANTIATE_TEST_SUITE_P(
    Styles, MsgBoxButtonsTest,
    testing::Values(
        ButtonsRow{"OkOnly", forms::vbOKOnly, {SB::Ok}, SB::Ok},
        ButtonsRow{"OkCancel", forms::vbOKCancel, {SB::Ok, SB::Cancel}, SB::Ok},
        ButtonsRow{
            "AbortRetryIgnore", forms::vbAbortRetryIgnore, {SB::Abort, SB::Retry, SB::Ignore}, SB::Abort},
        ButtonsRow{"YesNoCancel", forms::vbYesNoCancel, {SB::Yes, SB::No, SB::Cancel}, SB::Yes},
        ButtonsRow{"YesNoWithQuestionIcon", forms::vbYesNo | forms::vbQuestion, {SB::Yes, SB::No}, SB::Yes},
        ButtonsRow{"RetryCancel", forms::vbRetryCancel, {SB::Retry, SB::Cancel}, SB::Retry},
        ButtonsRow{
            "SecondButtonDefault", forms::vbYesNo | forms::vbDefaultButton2, {SB::Yes, SB::No}, SB::No},
        ButtonsRow{"DefaultBeyondButtonsFallsBackToFirst",
                   forms::vbOKOnly | forms::vbDefaultButton2,
                   {SB::Ok},
                   SB::Ok}),
    [](const auto& info) { return std::string(info.param.name); });

// Answers are checked by clicking each button of a real box in the Ui tests.
TEST(MsgBoxMapping, IconsFollowVbIconBits) {
    const std::pair<int, QMessageBox::Icon> rows[] = {
        {forms::vbCritical, QMessageBox::Critical},
        {forms::vbYesNo | forms::vbQuestion, QMessageBox::Question},
        {forms::vbExclamation, QMessageBox::Warning},
        {forms::vbOKCancel | forms::vbInformation, QMessageBox::Information},
        {forms::vbOKOnly, QMessageBox::NoIcon}};
    for (const auto& [style, icon] : rows) EXPECT_EQ(pvqt::MsgBoxIcon(style), icon) << style;
}

struct FilterRow {
    const char* name;
    std::string vb;
    QString qt;
};

class FileFilterTest : public testing::TestWithParam<FilterRow> {};

TEST_P(FileFilterTest, ConvertsToQtForm) {
    EXPECT_EQ(pvqt::QtFileFilter(GetParam().vb), GetParam().qt);
}

INSTANTIATE_TEST_SUITE_P(
    Filters, FileFilterTest,
    testing::Values(FilterRow{"OnePair", "Access Databases (*.mdb)|*.mdb", "Access Databases (*.mdb)"},
                    FilterRow{"TwoPairs", "Access Databases (*.mdb)|*.mdb|All Files (*.*)|*.*",
                              "Access Databases (*.mdb);;All Files (*.*)"},
                    FilterRow{"DescriptionWithoutBracketGetsPattern", "Databases|*.mdb", "Databases (*.mdb)"},
                    FilterRow{"SemicolonPatternsBecomeBlankSeparated", "Access (*.mdb;*.mde)|*.mdb;*.mde",
                              "Access (*.mdb *.mde)"},
                    FilterRow{"BracketDisagreeingWithPatternUsesPattern", "Old (*.dat)|*.mdb", "Old (*.mdb)"},
                    FilterRow{"TrailingBarIgnored", "Text (*.txt)|*.txt|", "Text (*.txt)"},
                    FilterRow{"Empty", "", ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(QtText, WindowsCodePageRoundTripsThroughUnicode) {
    const std::string bytes = "caf\xE9 \x80 \x93quoted\x94";
    const QString text = pvqt::ToQt(bytes);
    EXPECT_EQ(text, QString::fromUtf8("café € “quoted”"));
    EXPECT_EQ(pvqt::FromQt(text), bytes);
    EXPECT_EQ(pvqt::FromQt(QString::fromUtf8("漢")), "?");
}

TEST(QtText, MultiLineTextAndOffsetsMapAcrossCrLf) {
    const std::string model = "ab\r\ncd\r\ne";
    const QString widget = pvqt::ToQtLines(model);
    EXPECT_EQ(widget, QStringLiteral("ab\ncd\ne"));
    EXPECT_EQ(pvqt::FromQtLines(widget), model);
    // Offsets of 'c' and 'e' on either side.
    EXPECT_EQ(pvqt::WidgetOffset(model, 4), 3);
    EXPECT_EQ(pvqt::WidgetOffset(model, 8), 6);
    EXPECT_EQ(pvqt::ModelOffset(widget, 3), 4);
    EXPECT_EQ(pvqt::ModelOffset(widget, 6), 8);
    EXPECT_EQ(pvqt::WidgetOffset(model, 99), 7);
}

}  // namespace
