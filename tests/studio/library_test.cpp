// The library half and the options as a user meets them in the Studio: the main
// dialog's library tab, the preview window, and the Options dialog with the
// organizer, comment stubs and error message dialogs behind it.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>

#include "StudioFixture.h"

namespace {

using namespace studiotest;

using LibraryInStudio = StudioFixture;

// The preview window shows the chosen entry's lines and holds its minimum size
// (5000 x 3000 twips at 15 twips a pixel) when resized.
TEST_F(LibraryInStudio, LibraryTabPreviewsAndInsertsTheChosenProcedures) {
    QStringList shown;
    QString previewText;
    int grownBy = 0;
    QSize smallest;
    InMainDialog(2, "lstAvailableProcedures", [&](pvqt::FormDialog& dialog, QListWidget& list) {
        shown = Entries(list);
        ClickEntry(list, "Sub TrimAll");
        InDialog([&](pvqt::FormDialog& preview) {
            auto* box = preview.Widget<QPlainTextEdit>("txtPreview");
            ASSERT_NE(box, nullptr);
            previewText = box->toPlainText();
            const int before = box->width();
            preview.resize(preview.width() + 120, preview.height() + 60);
            grownBy = box->width() - before;
            preview.resize(40, 30);
            smallest = preview.size();
            Click(preview, "cmdClose");
        });
        Click(dialog, "cmdPreview");
        ClickEntry(list, "Function GetValue");
        Click(dialog, "cmdOK");
    });
    FromContextMenu("&Procvault...");
    EXPECT_EQ(shown, (QStringList{"Function GetValue", "Sub OpenLog", "Sub TrimAll"}));
    EXPECT_EQ(previewText, QStringLiteral("Sub TrimAll()\n\nEnd Sub\n"));
    EXPECT_NEAR(grownBy, 120, 1);
    EXPECT_GE(smallest.width(), 5000 / 15 - 20);
    EXPECT_GE(smallest.height(), 3000 / 15 - 40);
    // In stored order; each stored line ends in CR LF, so an empty line follows each.
    EXPECT_EQ(Module().AllText(),
              kShown + "\nPublic Function GetValue()\nEnd Function\n\nSub TrimAll()\n\nEnd Sub\n");
    ExpectEditorInStep();
}

// The default prefix "' " goes at column 1 and uncommenting restores the lines;
// the prefix typed in Options (saved with its OK) is used from then on.
TEST_F(LibraryInStudio, OptionsRemoveALibraryProcedureAndSetTheCommentPrefix) {
    const auto commented = [&](const QString& item) {
        code->SelectLines(4, 5);  // each command leaves the caret elsewhere
        FromContextMenu(item);
        ExpectEditorInStep();
        return Module().Lines(4, 3);
    };
    const std::string after = "\r\n    MsgBox lngTotal";
    EXPECT_EQ(commented("Co&mment Selection"), "'     Dim lngTotal As Long\r\n'     lngTotal = 1" + after);
    EXPECT_EQ(commented("&Uncomment Selection"), "    Dim lngTotal As Long\r\n    lngTotal = 1" + after);
    QString question;
    QStringList left;
    InOptions([&](pvqt::FormDialog& options) {
        Retype(options, "txtCommentPrefix", "'# ");
        options.Widget<QTabWidget>("ctlTab")->setCurrentIndex(1);
        InDialog([&](pvqt::FormDialog& organizer) {
            auto* list = organizer.Widget<QListWidget>("lstAvailableProcedures");
            ASSERT_NE(list, nullptr);
            ClickEntry(*list, "Sub OpenLog");
            guitest::WhenModal([&](QWidget* modal) {
                question = static_cast<QMessageBox*>(modal)->text();
                static_cast<QMessageBox*>(modal)->button(QMessageBox::Yes)->click();
            });
            Click(organizer, "cmdRemove");
            left = Entries(*list);
            Click(organizer, "cmdClose");
        });
        Click(options, "cmdProcedures");
        Click(options, "cmdOK");
    });
    EXPECT_EQ(question, QStringLiteral("Are you sure you want to delete the selected procedure?"));
    EXPECT_EQ(left, (QStringList{"Function GetValue", "Sub TrimAll"}));
    EXPECT_EQ(daotest::Count(*library.Open(), "ProcedureHeader"), 2);
    EXPECT_EQ(commented("Co&mment Selection"), "'#     Dim lngTotal As Long\r\n'#     lngTotal = 1" + after);
}

TEST_F(LibraryInStudio, NewProcedureFollowsTheStubsAndMessageSetInTheirDialogs) {
    QString caption, tab;
    bool mainBoxShown = false;
    InDialog([&](pvqt::FormDialog& main) {
        caption = main.windowTitle();
        InDialog([&](pvqt::FormDialog& options) {
            InDialog([&](pvqt::FormDialog& stubs) {
                for (const char* name :
                     {"optShowCommentStubs", "chkProcedureName", "chkCreatedBy", "chkOutput"})
                    Click(stubs, name);
                Retype(stubs, "txtCreatedByName", "Ann Lee");
                Click(stubs, "cmdOK");
            });
            Click(options, "cmdCommentStubs");
            InDialog([&](pvqt::FormDialog& message) {
                Retype(message, "txtErrorMsg", "LogError \"<NAME>\"");
                Click(message, "cmdOK");
            });
            Click(options, "cmdCustomizeErrorMessage");
            Click(options, "cmdCancel");  // the two dialogs saved their own settings already
        });
        Click(main, "cmdOptions");
        auto* tabs = main.Widget<QTabWidget>("ctlTab");
        tabs->setCurrentIndex(1);  // the module's procedure lacks a handler: it opened there
        mainBoxShown = main.Widget<QCheckBox>("chkShowCommentStubs")->isVisible();
        tabs->setCurrentIndex(0);
        tab = tabs->tabText(0);
        Retype(main, "txtProcName", "SaveAll");
        Click(main, "cmdOK");
    });
    FromContextMenu("&Procvault...");
    EXPECT_EQ(caption, QStringLiteral("Procvault"));
    EXPECT_EQ(tab, QStringLiteral("&New Procedure"));
    EXPECT_TRUE(mainBoxShown);
    EXPECT_EQ(code->textCursor().blockNumber(), 7);  // the caret on the new text's first line
    EXPECT_EQ(Module().AllText(),
              kShown + "\n\n'" + std::string(66, '-') +
                  "\n' Procedure: SaveAll\n' Created By: Ann Lee\n' Output: \n"
                  "Private Sub SaveAll()\n\tOn Error Goto Err_SaveAll\n\n\n\nExit_SaveAll:\n\tExit Sub\n\n"
                  "Err_SaveAll:\n\tLogError \"SaveAll\"\n\tResume Exit_SaveAll\n\nEnd Sub");
    ExpectEditorInStep();
}

}  // namespace
