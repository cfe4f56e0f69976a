// The add-in's dialogs as the binder draws them: every caption fits its box, and
// the finish a VB programmer expects (fonts, label alignment, tab stops).
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMessageBox>
#include <QProxyStyle>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

#include "codetools/frmProcvault.h"
#include "forms/ScriptedUi.h"
#include "library/frmAddProcedure.h"
#include "library/frmChangeCategory.h"
#include "library/frmEditCategories.h"
#include "library/frmInput.h"
#include "library/frmOrganizeProcedures.h"
#include "library/frmPreview.h"
#include "options/frmCommentStubs.h"
#include "options/frmCustomizeErrorMessage.h"
#include "options/frmOptions.h"
#include "qt/FormDialog.h"
#include "qt/GuiTestApp.h"
#include "qt/QtUi.h"

namespace {

int TextWidth(const QWidget& w, QString text) {
    return w.fontMetrics().horizontalAdvance(text.remove(QLatin1Char('&')));
}

// What does not fit, by control name; empty when everything does.
QStringList Clipped(const pvqt::FormDialog& dialog) {
    QStringList clipped;
    for (QWidget* w : dialog.findChildren<QWidget*>()) {
        if (w->objectName().isEmpty()) continue;
        int needed = 0;
        if (auto* push = qobject_cast<QPushButton*>(w))
            needed = TextWidth(*push, push->text()) + 2 * push->style()->pixelMetric(QStyle::PM_ButtonMargin);
        else if (qobject_cast<QCheckBox*>(w) || qobject_cast<QRadioButton*>(w))
            needed = w->sizeHint().width();
        else if (auto* label = qobject_cast<QLabel*>(w)) {
            // Labels wrap as VB's do: one fits when its lines fit its height.
            if (label->heightForWidth(label->width()) > label->height())
                clipped << QStringLiteral("%1 needs more height").arg(w->objectName());
        } else if (auto* frame = qobject_cast<QGroupBox*>(w))
            needed = TextWidth(*frame, frame->title());
        else if (auto* tabs = qobject_cast<QTabWidget*>(w))
            needed = tabs->tabBar()->sizeHint().width();
        if (needed > w->width())
            clipped
                << QStringLiteral("%1 needs %2 px, has %3").arg(w->objectName()).arg(needed).arg(w->width());
    }
    return clipped;
}

// Boxes drawn with nothing in them and no title: they only look broken.
QStringList EmptyBoxes(const pvqt::FormDialog& dialog) {
    QStringList empty;
    for (QWidget* w : dialog.findChildren<QWidget*>()) {
        if (w->objectName().isEmpty() || !w->isVisibleTo(&dialog) || !w->findChildren<QWidget*>().isEmpty())
            continue;
        auto* frame = qobject_cast<QFrame*>(w);
        auto* group = qobject_cast<QGroupBox*>(w);
        if ((frame && !qobject_cast<QLabel*>(w) && frame->frameShape() != QFrame::NoFrame) ||
            (group && group->title().isEmpty()))
            empty << w->objectName();
    }
    return empty;
}

// A text box shows its longest allowed text whole, in the font it is drawn in.
QStringList NarrowTextBoxes(const pvqt::FormDialog& dialog) {
    const QString name = QStringLiteral("Margaret Featherstonehaugh-Ng ");
    QStringList narrow;
    for (auto* edit : dialog.findChildren<QLineEdit*>()) {
        if (edit->objectName().isEmpty() || edit->maxLength() >= 32767) continue;
        QString longest;
        while (longest.size() < edit->maxLength()) longest += name;
        const int frame = edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
        const int needed =
            edit->fontMetrics().horizontalAdvance(longest.left(edit->maxLength())) + 2 * frame + 4;
        if (needed > edit->width())
            narrow << QStringLiteral("%1 needs %2 px, has %3")
                          .arg(edit->objectName())
                          .arg(needed)
                          .arg(edit->width());
    }
    return narrow;
}

// Where code is shown, it reads as in the code window: fixed pitch (no l/I confusion).
QStringList CodeInProportionalFont(const pvqt::FormDialog& dialog) {
    static const QStringList code = {"frmPreview.txtPreview", "frmCustomizeErrorMessage.txtErrorMsg",
                                     "frmCustomizeErrorMessage.Label2", "frmCustomizeErrorMessage.Label3",
                                     "frmCustomizeErrorMessage.Label8"};
    QStringList wrong;
    for (QWidget* w : dialog.findChildren<QWidget*>())
        if (code.contains(dialog.objectName() + QLatin1Char('.') + w->objectName()) &&
            (!QFontInfo(w->font()).fixedPitch() || w->font().family() != QLatin1String("DejaVu Sans Mono")))
            wrong << w->objectName();
    return wrong;
}

double TextMiddle(const QLabel& label) {
    const int text = label.heightForWidth(label.width());
    const int top = label.alignment() & Qt::AlignVCenter ? (label.height() - text) / 2 : 0;
    return label.y() + top + text / 2.0;
}

// A label in front of a box or button sits on that control's text line.
QStringList OffCentreLabels(const pvqt::FormDialog& dialog) {
    QStringList off;
    for (auto* label : dialog.findChildren<QLabel*>()) {
        if (!label->isVisibleTo(&dialog) || label->text().isEmpty()) continue;
        const QRect l = label->geometry();
        for (QWidget* w : label->parentWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            const QRect r = w->geometry();
            const bool beside = w != label && !qobject_cast<QLabel*>(w) && w->isVisibleTo(&dialog) &&
                                r.left() >= l.right() && r.left() - l.right() < 30 && r.top() < l.bottom() &&
                                r.bottom() > l.top();
            if (beside && std::abs(TextMiddle(*label) - (r.top() + r.height() / 2.0)) > 1.0)
                off << QStringLiteral("%1 beside %2").arg(label->objectName(), w->objectName());
        }
    }
    return off;
}

// Windows' rule: the option buttons of one container are one tab stop.
QStringList OptionGroupsWithSeveralStops(const pvqt::FormDialog& dialog) {
    std::map<QWidget*, int> stops;
    for (auto* option : dialog.findChildren<QRadioButton*>())
        if (option->focusPolicy() & Qt::TabFocus) ++stops[option->parentWidget()];
    QStringList several;
    for (const auto& [group, count] : stops)
        if (count != 1) several << QStringLiteral("%1 has %2").arg(group->objectName()).arg(count);
    return several;
}

// A drop-down opens showing its text, not a selection.
QStringList HighlightedCombos(const pvqt::FormDialog& dialog) {
    QStringList highlighted;
    for (auto* combo : dialog.findChildren<QComboBox*>())
        if (combo->lineEdit() && combo->lineEdit()->hasSelectedText()) highlighted << combo->objectName();
    return highlighted;
}

// The dialogs read like the main window: its font, not a smaller one.
QStringList ForeignFont(const pvqt::FormDialog& dialog) {
    const QMainWindow main;
    return dialog.font() == main.font() ? QStringList{} : QStringList{dialog.font().toString()};
}

// Each dialog as designed, its captions filled in as the user meets them; the tabbed
// ones loaded and shown on every tab, and each check run on each.
TEST(DialogLayout, EveryDialogIsFinished) {
    guitest::App();
    forms::ScriptedUi ui;
    vbrt::MemorySettingsStore store;
    const pv::Env env{ui, store};
    pv::frmProcvault main(env);
    main.chkShowCommentStubs.SetVisible(true);
    pv::frmOptions options(env);
    pv::frmCommentStubs stubs(env, nullptr);
    stubs.lblCreatedByName.SetCaption("Margaret Featherstonehaugh-Ng");  // near the 30 letters allowed
    pv::frmInput input(env);
    input.lblPrompt.SetCaption("Enter the new description for the category:");
    pv::frmAddProcedure add(env, "(All)");
    pv::frmOrganizeProcedures organize(env);
    pv::frmChangeCategory change(env);
    pv::frmEditCategories edit(env);
    pv::frmPreview preview(env);
    pv::frmCustomizeErrorMessage message(env);
    const std::pair<forms::Form*, forms::TabStrip*> shown[] = {
        {&main, &main.ctlTab}, {&options, &options.ctlTab}, {&add, nullptr},
        {&organize, nullptr},  {&change, nullptr},          {&edit, nullptr},
        {&preview, nullptr},   {&stubs, nullptr},           {&message, nullptr},
        {&input, nullptr}};
    const std::pair<const char*, QStringList (*)(const pvqt::FormDialog&)> checks[] = {
        {"clipped", Clipped},
        {"empty unlabelled box", EmptyBoxes},
        {"text box narrower than its longest text", NarrowTextBoxes},
        {"code in a proportional font", CodeInProportionalFont},
        {"label off the text line beside it", OffCentreLabels},
        {"option group with other than one tab stop", OptionGroupsWithSeveralStops},
        {"drop-down text highlighted", HighlightedCombos},
        {"font other than the main window's", ForeignFont}};
    for (const auto& [form, tabs] : shown) {
        if (tabs) form->BeginShow();
        pvqt::FormDialog dialog(*form);
        dialog.show();
        if (form == &add) {  // a category chosen once the dialog is up, as the library fills it
            add.cboCategory.AddItem("General");
            add.cboCategory.SetListIndex(0);
        }
        for (int tab = 0; tab < (tabs ? 3 : 1); ++tab) {
            if (tabs) tabs->SetTab(tab);
            for (const auto& [fault, check] : checks)
                EXPECT_EQ(check(dialog).join(QStringLiteral("; ")).toStdString(), "")
                    << form->Name() << " tab " << tab << ": " << fault;
        }
        if (tabs) form->Unload();
    }
}

// Tab enters an option group once, at the chosen button; the arrows move within it
// and choose, round the ends.
TEST(DialogLayout, ArrowsMoveWithinAnOptionGroup) {
    guitest::App();
    forms::ScriptedUi ui;
    vbrt::MemorySettingsStore store;
    pv::frmProcvault main(pv::Env{ui, store});
    main.BeginShow();
    pvqt::FormDialog dialog(main);
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    main.ctlTab.SetTab(0);
    const struct {
        const char* proves;
        const char* from;
        Qt::Key key;
        const char* lands;
    } rows[] = {
        {"Tab from the name enters Type at its chosen button", "txtProcName", Qt::Key_Tab, "optSub"},
        {"Tab leaves Type for Scope, not the next type", "optSub", Qt::Key_Tab, "optPrivate"},
        {"Down moves to the next button and chooses it", "optSub", Qt::Key_Down, "optFunction"},
        {"Up from the first goes round to the last", "optPrivate", Qt::Key_Up, "optFriend"},
        {"Tab enters Type again at the button now chosen", "txtProcName", Qt::Key_Tab, "optFunction"},
    };
    for (const auto& row : rows) {
        dialog.WidgetFor(row.from)->setFocus(Qt::OtherFocusReason);
        QTest::keyClick(QApplication::focusWidget(), row.key);
        EXPECT_EQ(QApplication::focusWidget(), dialog.WidgetFor(row.lands)) << row.proves;
        EXPECT_TRUE(static_cast<forms::OptionButton*>(main.FindControl(row.lands))->Value()) << row.proves;
    }
    main.Unload();
}

// A style that puts icons on standard buttons, as some desktops' do.
class IconButtonsStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* data) const override {
        if (hint == SH_DialogButtonBox_ButtonsHaveIcons) return 1;
        return QProxyStyle::styleHint(hint, option, widget, data);
    }
};

TEST(DialogLayout, MessageBoxButtonsHaveNoIcons) {
    guitest::App();
    QApplication::setStyle(new IconButtonsStyle(QStringLiteral("Fusion")));
    pvqt::QtUi ui;
    for (const int style : {forms::vbOKOnly, forms::vbYesNoCancel, forms::vbAbortRetryIgnore}) {
        QStringList withIcons;
        guitest::WhenModal([&withIcons](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            ASSERT_NE(box, nullptr);
            for (QAbstractButton* button : box->buttons())
                if (!button->icon().isNull()) withIcons << button->text();
            box->buttons().front()->click();
        });
        ui.MsgBox("Procedure stored.", style, "Procvault");
        EXPECT_EQ(withIcons.join(QStringLiteral(", ")).toStdString(), "") << "style " << style;
    }
    guitest::App();  // back to plain Fusion
}

}  // namespace
