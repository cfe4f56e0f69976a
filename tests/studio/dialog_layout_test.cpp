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
#include <memory>
#include <vector>

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
    auto main = std::make_unique<pv::frmProcvault>(env);
    main->chkShowCommentStubs.SetVisible(true);
    auto options = std::make_unique<pv::frmOptions>(env);
    auto stubs = std::make_unique<pv::frmCommentStubs>(env, nullptr);
    stubs->lblCreatedByName.SetCaption("Margaret Featherstonehaugh-Ng");  // near the 30 letters allowed
    auto input = std::make_unique<pv::frmInput>(env);
    input->lblPrompt.SetCaption("Enter the new description for the category:");
    forms::TabStrip* const tabbed[] = {&main->ctlTab, &options->ctlTab};
    std::vector<std::pair<std::unique_ptr<forms::Form>, forms::TabStrip*>> shown;
    shown.emplace_back(std::move(main), tabbed[0]);
    shown.emplace_back(std::move(options), tabbed[1]);
    shown.emplace_back(std::make_unique<pv::frmAddProcedure>(env, "(All)"), nullptr);
    shown.emplace_back(std::make_unique<pv::frmOrganizeProcedures>(env), nullptr);
    shown.emplace_back(std::make_unique<pv::frmChangeCategory>(env), nullptr);
    shown.emplace_back(std::make_unique<pv::frmEditCategories>(env), nullptr);
    shown.emplace_back(std::make_unique<pv::frmPreview>(env), nullptr);
    shown.emplace_back(std::move(stubs), nullptr);
    shown.emplace_back(std::make_unique<pv::frmCustomizeErrorMessage>(env), nullptr);
    shown.emplace_back(std::move(input), nullptr);
    for (auto& [form, tabs] : shown) {
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
