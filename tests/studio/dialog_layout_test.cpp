// The add-in's dialogs as the binder draws them: every caption fits its box.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>

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

// Each dialog as designed, its captions filled in as the user meets them; the tabbed
// ones loaded and shown on every tab.
TEST(DialogLayout, EveryCaptionOfEveryDialogFits) {
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
    for (const auto& [form, tabs] : shown) {
        if (tabs) form->BeginShow();
        pvqt::FormDialog dialog(*form);
        dialog.show();
        for (int tab = 0; tab < (tabs ? 3 : 1); ++tab) {
            if (tabs) tabs->SetTab(tab);
            EXPECT_EQ(Clipped(dialog), QStringList{}) << form->Name() << " tab " << tab;
        }
        if (tabs) form->Unload();
    }
}

}  // namespace
