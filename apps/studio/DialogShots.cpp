#include "DialogShots.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QMenu>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <functional>

#include "MainWindow.h"
#include "forms/Controls.h"
#include "qt/FormDialog.h"

namespace studio {
namespace {

using Handler = std::function<void(QWidget&)>;

// "Code &Database Options" -> "code-database-options".
QString Slug(QString caption) {
    caption.remove(QLatin1Char('&'));
    QString slug;
    for (const QChar c : caption.toLower()) {
        if (c.isLetterOrNumber())
            slug += c;
        else if (!slug.isEmpty() && !slug.endsWith(QLatin1Char('-')))
            slug += QLatin1Char('-');
    }
    while (slug.endsWith(QLatin1Char('-'))) slug.chop(1);
    return slug;
}

// Lets queued list refills and repaints happen before a picture is taken.
void Settle() {
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < 150) QApplication::processEvents(QEventLoop::AllEvents, 20);
}

QString Describe(const QWidget& w) {
    if (const auto* box = qobject_cast<const QMessageBox*>(&w))
        return QStringLiteral("message box \"%1\"").arg(box->text());
    return w.objectName().isEmpty() ? w.windowTitle() : w.objectName();
}

class Tour {
public:
    Tour(MainWindow& window, const QString& folder) : window_(window), folder_(folder) {
        // A dialog the tour does not expect (a message box it cannot close,
        // say) would hold the modal loop for ever; give up loudly instead.
        quiet_.start();
        watchdog_.setInterval(1000);
        QObject::connect(&watchdog_, &QTimer::timeout, [this] {
            if (quiet_.elapsed() < 20000) return;
            const QWidget* top = QApplication::activeModalWidget();
            std::fprintf(stderr, "screenshot-dialogs: stuck at %s with %s open\n", qPrintable(step_),
                         top ? qPrintable(Describe(*top)) : "nothing");
            std::_Exit(1);
        });
        watchdog_.start();
    }

    DialogShotsResult Run() {
        QAction* item = AddInsItem(QStringLiteral("&Procvault..."));
        if (!item)
            result_.missing << QStringLiteral("frmProcvault (no \"&Procvault...\" on the Add-Ins menu)");
        else
            Expect(
                QStringLiteral("frmProcvault"), [item] { item->trigger(); },
                [this](QWidget& top) { MainDialog(Dialog(top)); });
        return result_;
    }

private:
    void MainDialog(pvqt::FormDialog& d) {
        ShootTabs(d);  // ends on the library tab
        Press(d, "cmdCMDeselectAll");
        Expect(QStringLiteral("message box"), Pressing(d, "cmdPreview"), [this](QWidget& top) {
            Save(top, QStringLiteral("msgbox-preview-nothing-selected"));
            Close(top);
        });
        ClickFirst(d, "lstAvailableProcedures");
        Expect(QStringLiteral("frmPreview"), Pressing(d, "cmdPreview"), ShootAndClose());
        Expect(QStringLiteral("frmOptions"), Pressing(d, "cmdOptions"),
               [this](QWidget& top) { OptionsDialog(Dialog(top)); });
        Close(d);
    }

    void OptionsDialog(pvqt::FormDialog& d) {
        ShootTabs(d);
        SelectTab(d, 0);
        Expect(QStringLiteral("frmCommentStubs"), Pressing(d, "cmdCommentStubs"),
               [this](QWidget& top) { CommentStubsDialog(Dialog(top)); });
        Expect(QStringLiteral("frmCustomizeErrorMessage"), Pressing(d, "cmdCustomizeErrorMessage"),
               ShootAndClose());
        SelectTab(d, 1);
        Expect(QStringLiteral("frmEditCategories"), Pressing(d, "cmdCategories"), [this](QWidget& top) {
            pvqt::FormDialog& editor = Dialog(top);
            Save(editor, editor.objectName());
            Expect(QStringLiteral("frmInput"), Pressing(editor, "cmdAdd"), ShootAndClose());
            Close(editor);
        });
        Expect(QStringLiteral("frmOrganizeProcedures"), Pressing(d, "cmdProcedures"), [this](QWidget& top) {
            pvqt::FormDialog& organizer = Dialog(top);
            Save(organizer, organizer.objectName());
            ClickFirst(organizer, "lstAvailableProcedures");
            Expect(QStringLiteral("frmChangeCategory"), Pressing(organizer, "cmdEditCategory"),
                   ShootAndClose());
            Expect(QStringLiteral("frmAddProcedure"), Pressing(organizer, "cmdAdd"), ShootAndClose());
            Close(organizer);
        });
        Close(d);
    }

    // Off as it opens with the defaults, then on with every line and a long author name.
    void CommentStubsDialog(pvqt::FormDialog& d) {
        Save(d, d.objectName());
        if (auto* show = d.Widget<QRadioButton>("optShowCommentStubs")) show->click();
        for (const char* line : {"chkProcedureName", "chkCreatedBy", "chkDateCreated", "chkPurpose",
                                 "chkParameters", "chkOutput"})
            if (auto* check = d.Widget<QCheckBox>(line); check && !check->isChecked()) check->click();
        auto* name = dynamic_cast<forms::TextBox*>(d.Form().FindControl("txtCreatedByName"));
        auto* next = d.Form().FindControl("chkDateCreated");
        if (name && next)
            d.UserAction([name, next] {
                name->SetFocus();
                name->TypeText("Margaret Featherstonehaugh-Ng");
                next->SetFocus();  // the preview follows the name when the box is left
            });
        Settle();
        Save(d, d.objectName() + QStringLiteral("-show-comment-stubs"));
        Close(d);
    }

    // Runs `open`, which shows a modal window and returns once it has closed;
    // `handle` gets that window once it is up and has to close it.
    void Expect(const QString& name, const std::function<void()>& open, const Handler& handle) {
        step_ = name;
        quiet_.restart();
        QWidget* before = QApplication::activeModalWidget();
        bool seen = false;
        QTimer poll;
        poll.setInterval(30);
        QObject::connect(&poll, &QTimer::timeout, [&] {
            QWidget* top = QApplication::activeModalWidget();
            if (!top || top == before || !top->isVisible()) return;
            poll.stop();
            seen = true;
            Settle();
            if (IsExpected(*top, name)) {
                handle(*top);
            } else {
                result_.missing << QStringLiteral("%1 (%2 came up instead)").arg(name, Describe(*top));
                Close(*top);
            }
        });
        poll.start();
        open();
        poll.stop();
        if (!seen) result_.missing << QStringLiteral("%1 (did not open)").arg(name);
    }

    static bool IsExpected(const QWidget& top, const QString& name) {
        if (!name.startsWith(QLatin1String("frm"))) return qobject_cast<const QMessageBox*>(&top) != nullptr;
        return qobject_cast<const pvqt::FormDialog*>(&top) && top.objectName() == name;
    }

    static pvqt::FormDialog& Dialog(QWidget& top) { return static_cast<pvqt::FormDialog&>(top); }

    Handler ShootAndClose() {
        return [this](QWidget& top) {
            Save(top, top.objectName());
            Close(top);
        };
    }

    void ShootTabs(pvqt::FormDialog& d) {
        auto* tabs = d.Widget<QTabWidget>("ctlTab");
        if (!tabs) return Save(d, d.objectName());
        for (int i = 0; i < tabs->count(); ++i) {
            SelectTab(d, i);
            Save(d, d.objectName() + QLatin1Char('-') + Slug(tabs->tabText(i)));
        }
    }

    // As a click on the tab: the binder hands the change to the form.
    static void SelectTab(pvqt::FormDialog& d, int index) {
        if (auto* tabs = d.Widget<QTabWidget>("ctlTab")) tabs->setCurrentIndex(index);
        Settle();
    }

    std::function<void()> Pressing(pvqt::FormDialog& d, const char* button) {
        return [this, &d, button] { Press(d, button); };
    }

    void Press(pvqt::FormDialog& d, const char* button) {
        auto* widget = d.Widget<QPushButton>(button);
        if (widget && widget->isEnabled())
            widget->click();
        else
            result_.missing << QStringLiteral("%1.%2 (no enabled button)").arg(d.objectName(), button);
        Settle();
    }

    static void ClickFirst(pvqt::FormDialog& d, const char* listName) {
        auto* list = dynamic_cast<forms::ListBox*>(d.Form().FindControl(listName));
        if (list && list->ListCount() > 0) d.UserAction([list] { list->ClickItem(0); });
        Settle();
    }

    // Cancel or Close as the user would press it; a form without one is unloaded.
    void Close(QWidget& top) {
        if (auto* box = qobject_cast<QMessageBox*>(&top)) {
            if (QPushButton* button = box->defaultButton())
                button->click();
            else
                box->reject();
            return;
        }
        pvqt::FormDialog& d = Dialog(top);
        forms::Form& form = d.Form();
        if (forms::CommandButton* cancel = form.CancelButton())
            if (auto* button = d.Widget<QPushButton>(cancel->Name()); button && button->isEnabled())
                button->click();
        if (form.IsLoaded()) d.UserAction([&form] { form.Unload(); });
    }

    void Save(QWidget& w, const QString& name) {
        quiet_.restart();
        const QString path = QDir(folder_).filePath(name + QStringLiteral(".png"));
        if (w.grab().save(path, "PNG"))
            result_.saved << path;
        else
            result_.missing << QStringLiteral("%1 (cannot write %2)").arg(name, path);
    }

    QAction* AddInsItem(const QString& caption) const {
        for (QAction* action : window_.AddInsMenu()->actions())
            if (action->text() == caption) return action;
        return nullptr;
    }

    MainWindow& window_;
    QString folder_;
    DialogShotsResult result_;
    QString step_;
    QElapsedTimer quiet_;
    QTimer watchdog_;
};

}  // namespace

DialogShotsResult ShootDialogs(MainWindow& window, const QString& folder) {
    Tour tour(window, folder);
    return tour.Run();
}

}  // namespace studio
