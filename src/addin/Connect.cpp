#include "addin/Connect.h"

#include "codetools/basComment.h"
#include "codetools/frmProcvault.h"
#include "forms/ErrorReport.h"
#include "host/VBE.h"

namespace pv {
namespace {

constexpr const char* kTitle = "Procvault";

}  // namespace

void Connect::IDTExtensibility_OnConnection(host::VBE* application, int connectMode, host::AddIn* /*addInInst*/,
                                            host::CustomArray& /*custom*/) {
    // A missing menu bar (error 5) means a host without that menu: end quietly.
    forms::Trap(
        env_.ui, "IDTExtensibility_OnConnection",
        [&] {
            if (connectMode == host::ext_cm_External) return;
            objVBE = application;
            InstallMenus(Vbe());
        },
        [](const vbrt::VbError& e) { return e.Number() == vbrt::err::InvalidCall; });
}

void Connect::InstallMenus(host::VBE& vbe) {
    host::CommandBar& addIns = vbe.CommandBars().Item("Add-Ins");
    mmnuProcvault = addIns.Controls().Add(host::msoControlButton);
    mmnuProcvault->SetCaption("&Procvault...");
    mmnuProcvault->SetBeginGroup(true);
    mmnuProcvaultEvents = Subscribe(vbe, *mmnuProcvault, &Connect::mmnuProcvaultEvents_Click);

    host::CommandBar& codeWindow = vbe.CommandBars().Item("Code Window");
    // Each item goes to position 1, so they are added in reverse of their final order.
    mmnuPopupUncommentSelection = codeWindow.Controls().Add(host::msoControlButton, 1);
    mmnuPopupUncommentSelection->SetCaption("&Uncomment Selection");
    mmnuPopupUncommentSelectionEvents =
        Subscribe(vbe, *mmnuPopupUncommentSelection, &Connect::mmnuPopupUncommentSelectionEvents_Click);

    mmnuPopupCommentSelection = codeWindow.Controls().Add(host::msoControlButton, 1);
    mmnuPopupCommentSelection->SetCaption("Co&mment Selection");
    mmnuPopupCommentSelectionEvents =
        Subscribe(vbe, *mmnuPopupCommentSelection, &Connect::mmnuPopupCommentSelectionEvents_Click);

    mmnuPopupProcvault = codeWindow.Controls().Add(host::msoControlButton, 1);
    mmnuPopupProcvault->SetCaption("&Procvault...");
    mmnuPopupProcvaultEvents = Subscribe(vbe, *mmnuPopupProcvault, &Connect::mmnuPopupProcvaultEvents_Click);

    codeWindow.Controls().Item("Cut")->SetBeginGroup(true);
}

std::shared_ptr<host::CommandBarEvents> Connect::Subscribe(
    host::VBE& vbe, host::CommandBarControl& item, void (Connect::*handler)(host::CommandBarControl&, bool&, bool&)) {
    auto events = vbe.Events().CommandBarEvents(item);
    events->OnClick([this, handler](host::CommandBarControl& control, bool& handled, bool& cancelDefault) {
        (this->*handler)(control, handled, cancelDefault);
    });
    return events;
}

void Connect::IDTExtensibility_OnDisconnection(int /*removeMode*/, host::CustomArray& /*custom*/) {
    forms::Trap(env_.ui, "IDTExtensibility_OnDisconnection", [&] {
        // Deleted in this order; a failure leaves the items after it in place. Items a
        // host without that menu never received are skipped rather than reported.
        for (auto* item : {&mmnuProcvault, &mmnuPopupProcvault, &mmnuPopupCommentSelection,
                           &mmnuPopupUncommentSelection}) {
            if (!*item) continue;
            (*item)->Delete();
            item->reset();
        }
    });
    mmnuProcvaultEvents.reset();
    mmnuPopupProcvaultEvents.reset();
    mmnuPopupCommentSelectionEvents.reset();
    mmnuPopupUncommentSelectionEvents.reset();
}

void Connect::IDTExtensibility_OnAddInsUpdate(host::CustomArray& /*custom*/) {}

void Connect::IDTExtensibility_OnStartupComplete(host::CustomArray& /*custom*/) {}

void Connect::mmnuProcvaultEvents_Click(host::CommandBarControl&, bool&, bool&) {
    forms::Trap(env_.ui, "mmnuProcvaultEvents_Click()", [&] { OpenProcvault(); });
}

void Connect::mmnuPopupProcvaultEvents_Click(host::CommandBarControl&, bool&, bool&) {
    forms::Trap(env_.ui, "mmnuPopupProcvaultEvents_Click()", [&] { OpenProcvault(); });
}

void Connect::mmnuPopupCommentSelectionEvents_Click(host::CommandBarControl&, bool&, bool&) {
    forms::Trap(env_.ui, "mmnuPopupCommentSelectionEvents_Click()", [&] { CommentSelection(env_); });
}

void Connect::mmnuPopupUncommentSelectionEvents_Click(host::CommandBarControl&, bool&, bool&) {
    forms::Trap(env_.ui, "mmnuPopupUncommentSelectionEvents_Click()", [&] { UncommentSelection(env_); });
}

void Connect::OpenProcvault() {
    forms::Trap(
        env_.ui, "OpenProcvault",
        [&] {
            host::VBE& vbe = Vbe();
            if (vbe.VBProjects().Count() == 0) {
                env_.ui.Beep();
                env_.ui.MsgBox("Procvault cannot be started, as there is no open project.",
                               forms::vbCritical + forms::vbOKOnly, kTitle);
                return;
            }
            const host::Window* window = vbe.ActiveWindow();
            if (!window || window->Type() != host::vbext_wt_CodeWindow) {
                env_.ui.Beep();
                const int answer = env_.ui.MsgBox("There is no current module. Would you like to add one?",
                                                  forms::vbYesNo + forms::vbQuestion, kTitle);
                if (answer != forms::vbYes) {
                    env_.ui.Beep();
                    env_.ui.MsgBox("Procvault cannot be started, as there is no open module.",
                                   forms::vbCritical + forms::vbOKOnly, kTitle);
                    return;
                }
                AddModule();
            }
            // A fresh dialog for every opening, so none outlives a failed one.
            frmProcvault dialog(env_);
            dialog.OpenProcvault();
        },
        [&](const vbrt::VbError& e) { return ReportServicePackError(env_.ui, e); });
}

void Connect::AddModule() {
    forms::Trap(env_.ui, "AddModule", [&] {
        host::VBComponent& component = Vbe().ActiveVBProject().VBComponents().Add(host::vbext_ct_StdModule);
        component.Activate();
    });
}

}  // namespace pv
