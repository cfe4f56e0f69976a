// The library half and the options as a user meets them in the Studio: the main
// dialog's library tab, the preview window, and the Options dialog with the
// organizer, comment stubs and error message dialogs behind it.
#include <gtest/gtest.h>

#include <QPlainTextEdit>

#include "StudioFixture.h"

namespace {

using namespace studiotest;

using LibraryInStudio = StudioFixture;

TEST_F(LibraryInStudio, LibraryTabPreviewsAndInsertsTheChosenProcedures) {
    QStringList shown;
    QString previewText;
    InMainDialog(2, "lstAvailableProcedures", [&](pvqt::FormDialog& dialog, QListWidget& list) {
        shown = Entries(list);
        ClickEntry(list, "Sub TrimAll");
        InDialog([&](pvqt::FormDialog& preview) {
            auto* box = preview.Widget<QPlainTextEdit>("txtPreview");
            ASSERT_NE(box, nullptr);
            previewText = box->toPlainText();
            Click(preview, "cmdClose");
        });
        Click(dialog, "cmdPreview");
        ClickEntry(list, "Function GetValue");
        Click(dialog, "cmdOK");
    });
    FromContextMenu("&Procvault...");
    EXPECT_EQ(shown, (QStringList{"Function GetValue", "Sub OpenLog", "Sub TrimAll"}));
    EXPECT_EQ(previewText, QStringLiteral("Sub TrimAll()\n\nEnd Sub\n"));
    // In stored order; each stored line ends in CR LF, so an empty line follows each.
    EXPECT_EQ(Module().AllText(),
              kShown + "\nPublic Function GetValue()\nEnd Function\n\nSub TrimAll()\n\nEnd Sub\n");
    ExpectEditorInStep();
}

// Removing asks first; the comment prefix typed in Options (saved with its OK) is used from then on.
TEST_F(LibraryInStudio, OptionsRemoveALibraryProcedureAndSetTheCommentPrefix) {
    QStringList question, left;
    InDialog([&](pvqt::FormDialog& main) {
        InDialog([&](pvqt::FormDialog& options) {
            Retype(options, "txtCommentPrefix", "'# ");
            options.Widget<QTabWidget>("ctlTab")->setCurrentIndex(1);
            InDialog([&](pvqt::FormDialog& organizer) {
                auto* list = organizer.Widget<QListWidget>("lstAvailableProcedures");
                ASSERT_NE(list, nullptr);
                ClickEntry(*list, "Sub OpenLog");
                Answer(question, {QMessageBox::Yes});
                Click(organizer, "cmdRemove");
                left = Entries(*list);
                Click(organizer, "cmdClose");
            });
            Click(options, "cmdProcedures");
            Click(options, "cmdOK");
        });
        Click(main, "cmdOptions");
        Click(main, "cmdCancel");
    });
    FromContextMenu("&Procvault...");
    EXPECT_EQ(question, QStringList{"Are you sure you want to delete the selected procedure?"});
    EXPECT_EQ(left, (QStringList{"Function GetValue", "Sub TrimAll"}));
    EXPECT_EQ(daotest::Count(*library.Open(), "ProcedureHeader"), 2);
    code->SelectLines(4, 5);
    FromContextMenu("Co&mment Selection");
    EXPECT_EQ(Module().Lines(4, 3),
              "'#     Dim lngTotal As Long\r\n'#     lngTotal = 1\r\n    MsgBox lngTotal");
    ExpectEditorInStep();
}

TEST_F(LibraryInStudio, NewProcedureFollowsTheStubsAndMessageSetInTheirDialogs) {
    QString caption, tab;
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
        tab = tabs->tabText(0);
        tabs->setCurrentIndex(0);  // the module's procedure lacks a handler: it opened on the next tab
        Retype(main, "txtProcName", "SaveAll");
        Click(main, "cmdOK");
    });
    FromContextMenu("&Procvault...");
    EXPECT_EQ(caption, QStringLiteral("Procvault"));
    EXPECT_EQ(tab, QStringLiteral("&New Procedure"));
    EXPECT_EQ(code->textCursor().blockNumber(), 7);  // the caret on the new text's first line
    EXPECT_EQ(Module().AllText(),
              kShown + "\n\n'" + std::string(66, '-') +
                  "\n' Procedure: SaveAll\n' Created By: Ann Lee\n' Output: \n"
                  "Private Sub SaveAll()\n\tOn Error Goto Err_SaveAll\n\n\n\nExit_SaveAll:\n\tExit Sub\n\n"
                  "Err_SaveAll:\n\tLogError \"SaveAll\"\n\tResume Exit_SaveAll\n\nEnd Sub");
    ExpectEditorInStep();
}

}  // namespace
