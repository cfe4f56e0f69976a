// The library half as a user meets it in the Studio: the main dialog's library
// tab, the preview window, and the Options dialog with the organizer behind it.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>

#include "StudioFixture.h"
#include "dao/LibraryFixture.h"
#include "qt/FormDialog.h"
#include "qt/QtSettingsStore.h"
#include "settings/Options.h"

namespace {

pvqt::FormDialog* AsDialog(QWidget* modal) {
    auto* dialog = qobject_cast<pvqt::FormDialog*>(modal);
    EXPECT_NE(dialog, nullptr);
    return dialog;
}

void Press(pvqt::FormDialog& dialog, const std::string& button) {
    auto* widget = dialog.Widget<QPushButton>(button);
    ASSERT_NE(widget, nullptr) << button;
    QTest::mouseClick(widget, Qt::LeftButton);
}

QStringList Entries(const QListWidget& list) {
    QStringList texts;
    for (int i = 0; i < list.count(); ++i) texts << list.item(i)->text();
    return texts;
}

void Click(pvqt::FormDialog& dialog, const std::string& name) {
    auto* widget = dialog.Widget<QAbstractButton>(name);
    ASSERT_NE(widget, nullptr) << name;
    QTest::mouseClick(widget, Qt::LeftButton, {}, QPoint(8, widget->height() / 2));
}

void Retype(pvqt::FormDialog& dialog, const std::string& name, const QString& text) {
    auto* box = dialog.Widget<QLineEdit>(name);
    ASSERT_NE(box, nullptr) << name;
    box->setFocus();
    box->selectAll();
    QTest::keyClicks(box, text);
}

void ClickEntry(QListWidget& list, const QString& text) {
    const auto found = list.findItems(text, Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1) << text.toStdString();
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.visualItemRect(found[0]).center());
}

// Plays `act` in the next modal, which must be a form dialog.
void InDialog(const std::function<void(pvqt::FormDialog&)>& act) {
    guitest::WhenModal([act](QWidget* modal) {
        if (auto* dialog = AsDialog(modal)) act(*dialog);
    });
}

// The sample library (GetValue, TrimAll, OpenLog) is the stored library location.
class LibraryInStudio : public studiotest::StudioFixture {
protected:
    void SetUp() override {
        daotest::FillSample(*library.Open());
        pvqt::QtSettingsStore store(QString::fromStdString((dir / "config").string()));
        pv::WriteOption(store, pv::key::ProcvaultLocation, library.Path());
        StudioFixture::SetUp();
    }
    void OpenMainDialog() {
        const auto menu = window->CodeWindowMenu(*code);
        for (QAction* a : menu->actions())
            if (a->text() == "&Procvault...") return a->trigger();
        FAIL() << "no &Procvault... item";
    }
    // The main dialog on its library tab.
    void OnLibraryTab(const std::function<void(pvqt::FormDialog&, QListWidget&)>& act) {
        InDialog([act](pvqt::FormDialog& dialog) {
            dialog.Widget<QTabWidget>("ctlTab")->setCurrentIndex(2);
            auto* list = dialog.Widget<QListWidget>("lstAvailableProcedures");
            ASSERT_NE(list, nullptr);
            act(dialog, *list);
        });
        OpenMainDialog();
    }
    long StoredCount() {
        const auto db = library.Open();
        auto rs = db->OpenRecordset("SELECT * FROM ProcedureHeader", dao::dbOpenSnapshot);
        long count = 0;
        for (; !rs->Eof(); rs->MoveNext()) ++count;
        return count;
    }

    daotest::LibraryFile library;
};

TEST_F(LibraryInStudio, LibraryTabListsTheLibraryAndInsertsTheChosenProcedure) {
    QStringList shown;
    OnLibraryTab([&](pvqt::FormDialog& dialog, QListWidget& list) {
        shown = Entries(list);
        ClickEntry(list, "Function GetValue");
        Press(dialog, "cmdOK");
    });
    EXPECT_EQ(shown, (QStringList{"Function GetValue", "Sub OpenLog", "Sub TrimAll"}));
    const QString text = code->toPlainText();
    EXPECT_TRUE(text.contains("Public Function GetValue()\nEnd Function\n")) << text.toStdString();
    EXPECT_EQ(text.toStdString(), Module().AllText());
}

TEST_F(LibraryInStudio, PreviewShowsTheLinesAndHoldsItsMinimumSize) {
    QString previewText;
    int grownBy = 0;
    QSize smallest;
    OnLibraryTab([&](pvqt::FormDialog& dialog, QListWidget& list) {
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
            Press(preview, "cmdClose");
        });
        Press(dialog, "cmdPreview");
        Press(dialog, "cmdCancel");
    });
    EXPECT_EQ(previewText, QStringLiteral("Sub TrimAll()\n\nEnd Sub\n"));
    EXPECT_NEAR(grownBy, 120, 1);
    // 5000 x 3000 twips at 15 twips a pixel, less nothing: the window never goes below it.
    EXPECT_GE(smallest.width(), 5000 / 15 - 20);
    EXPECT_GE(smallest.height(), 3000 / 15 - 40);
}

TEST_F(LibraryInStudio, OptionsProceduresRemovesTheChosenProcedure) {
    QString question;
    QStringList left;
    InDialog([&](pvqt::FormDialog& main) {
        InDialog([&](pvqt::FormDialog& options) {
            options.Widget<QTabWidget>("ctlTab")->setCurrentIndex(1);
            InDialog([&](pvqt::FormDialog& organizer) {
                auto* list = organizer.Widget<QListWidget>("lstAvailableProcedures");
                ASSERT_NE(list, nullptr);
                ClickEntry(*list, "Sub OpenLog");
                guitest::WhenModal([&](QWidget* modal) {
                    auto* box = qobject_cast<QMessageBox*>(modal);
                    ASSERT_NE(box, nullptr);
                    question = box->text();
                    box->button(QMessageBox::Yes)->click();
                });
                Press(organizer, "cmdRemove");
                left = Entries(*list);
                Press(organizer, "cmdClose");
            });
            Press(options, "cmdProcedures");
            Press(options, "cmdCancel");
        });
        Press(main, "cmdOptions");
        Press(main, "cmdCancel");
    });
    OpenMainDialog();
    EXPECT_EQ(question, QStringLiteral("Are you sure you want to delete the selected procedure?"));
    EXPECT_EQ(left, (QStringList{"Function GetValue", "Sub TrimAll"}));
    EXPECT_EQ(StoredCount(), 2);
}

TEST_F(LibraryInStudio, CommentSelectionUsesThePrefixSetInOptions) {
    InDialog([&](pvqt::FormDialog& main) {
        InDialog([&](pvqt::FormDialog& options) {
            auto* prefix = options.Widget<QLineEdit>("txtCommentPrefix");
            ASSERT_NE(prefix, nullptr);
            prefix->setFocus();
            prefix->selectAll();
            QTest::keyClicks(prefix, "'# ");
            Press(options, "cmdOK");
        });
        Press(main, "cmdOptions");
        Press(main, "cmdCancel");
    });
    OpenMainDialog();
    code->SelectLines(4, 5);
    const auto menu = window->CodeWindowMenu(*code);
    for (QAction* a : menu->actions())
        if (a->text() == "Co&mment Selection") a->trigger();
    EXPECT_EQ(Module().Lines(4, 2), "'#     Dim lngTotal As Long\r\n'#     lngTotal = 1");
}

TEST_F(LibraryInStudio, NewProcedureFollowsTheStubsAndMessageSetInTheirDialogs) {
    bool mainBoxShown = false;
    InDialog([&](pvqt::FormDialog& main) {
        InDialog([&](pvqt::FormDialog& options) {
            InDialog([&](pvqt::FormDialog& stubs) {
                for (const char* name :
                     {"optShowCommentStubs", "chkProcedureName", "chkCreatedBy", "chkOutput"})
                    Click(stubs, name);
                Retype(stubs, "txtCreatedByName", "Ann Lee");
                Press(stubs, "cmdOK");
            });
            Press(options, "cmdCommentStubs");
            InDialog([&](pvqt::FormDialog& message) {
                Retype(message, "txtErrorMsg", "LogError \"<NAME>\"");
                Press(message, "cmdOK");
            });
            Press(options, "cmdCustomizeErrorMessage");
            Press(options, "cmdCancel");  // the two dialogs saved their own settings already
        });
        Press(main, "cmdOptions");
        main.Widget<QTabWidget>("ctlTab")->setCurrentIndex(1);
        mainBoxShown = main.Widget<QCheckBox>("chkShowCommentStubs")->isVisible();
        main.Widget<QTabWidget>("ctlTab")->setCurrentIndex(0);
        Retype(main, "txtProcName", "SaveAll");
        Press(main, "cmdOK");
    });
    OpenMainDialog();
    EXPECT_TRUE(mainBoxShown);
    const std::string text = Module().AllText();
    for (const char* lines : {"' Procedure: SaveAll\n' Created By: Ann Lee\n' Output: \n",
                              "Sub SaveAll()\n\tOn Error Goto Err_SaveAll\n",
                              "Err_SaveAll:\n\tLogError \"SaveAll\"\n\tResume Exit_SaveAll\n"})
        EXPECT_NE(text.find(lines), std::string::npos) << lines << "\nin:\n" << text;
}

}  // namespace
