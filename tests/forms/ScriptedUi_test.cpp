// A form's life through a modal show, the select-all keys and the standard failure report.
#include "forms/ScriptedUi.h"

#include <gtest/gtest.h>

#include "NoticeRecorder.h"
#include "forms/ErrorReport.h"
#include "forms/Form.h"

using namespace forms;
using Strings = std::vector<std::string>;

namespace {

struct NameDialog : Form {
    NameDialog() : Form("frmName") {
        cmdOK.Click.Connect([this] { Unload(); });
        Load.Connect([this] { events.push_back("Load"); });
        UnloadEvent.Connect([this] { events.push_back("Unload"); });
        Resize.Connect([this] { events.push_back("Resize"); });
    }
    TextBox& txtName = Add<TextBox>("txtName");
    ComboBox& cboKind = Add<ComboBox>("cboKind");
    CommandButton& cmdOK = Add<CommandButton>("cmdOK");
    Strings events;
};

TEST(ModalShow, ScriptPlaysTheUserAFormLeftOpenIsUnloadedAndUnloadInLoadNeverShows) {
    ScriptedUi ui;
    NameDialog dialog;
    formstest::NoticeRecorder notices(dialog);
    std::string seenFocus;
    ui.OnShow("frmName", [&](Form& form) {
        seenFocus = form.ActiveControl() ? form.ActiveControl()->Name() : "";
        dialog.txtName.TypeText("DoWork");
        static_cast<CommandButton*>(form.FindControl("CMDOK"))->Press();  // names ignore letter case
    });
    dialog.ShowModal(ui);
    EXPECT_EQ(seenFocus + " " + dialog.txtName.Text() + " " + std::to_string(dialog.IsLoaded()),
              "txtName DoWork 0");
    ui.OnShow("frmName", [&](Form&) { dialog.events.push_back("script"); });
    dialog.ShowModal(ui);                       // loads again; the script leaves it open
    EXPECT_EQ(notices.Count(Prop::Loaded), 4);  // shown, then closed, twice
    dialog.Load.Connect([&] { dialog.Unload(); });
    dialog.ShowModal(ui);  // unloaded in Load: never shown, no script
    EXPECT_EQ(dialog.events,
              (Strings{"Load", "Resize", "Unload", "Load", "Resize", "script", "Unload", "Load", "Unload"}));
    EXPECT_EQ(ui.Transcript(),
              (Strings{"show:frmName", "show:frmName", "unload-left-open:frmName", "show:frmName"}));
}

// The only keys the add-in sends; a focused text box selected by them: tests/codetools/frmProcvault_test.
TEST(SelectAllKeys, SelectTheFocusedTextOnly) {
    NameDialog dialog;
    dialog.BeginShow();
    dialog.txtName.SetText("Name");
    dialog.cboKind.SetText("Kinds");
    dialog.cboKind.SetFocus();
    ApplySelectAllKeys(&dialog, "{Home}+{End}");
    EXPECT_EQ(std::pair(dialog.txtName.SelLength(), dialog.cboKind.SelLength()), std::pair(0L, 5L));
}

// A trapped failure: a critical message of description and number, titled by the procedure; a filter
// claims its own errors silently; other exceptions are internal error 51.
TEST(FailureReport, CriticalMessageDescriptionBlankNumber) {
    ScriptedUi ui;
    int ran = 0;
    EXPECT_TRUE(Trap(ui, "cmdOK_Click", [&] { ++ran; }) && ran == 1);
    const auto ignoreFive = [](const vbrt::VbError& e) { return e.Number() == 5; };
    EXPECT_FALSE(Trap(
        ui, "ctlTab_Click", [] { vbrt::Raise(5); }, ignoreFive));
    EXPECT_TRUE(ui.Messages().empty());
    EXPECT_FALSE(Trap(ui, "ProcContainsErrorHandling()", [] { vbrt::Raise(35); }));
    EXPECT_FALSE(Trap(
        ui, "ctlTab_Click", [] { vbrt::Raise(3045, "Could not use file"); }, ignoreFive));
    EXPECT_FALSE(Trap(ui, "AddFromProcvault()", [] { throw std::out_of_range("vector index"); }));
    std::string got;
    for (const auto& call : ui.Messages())
        got += call.title + ": " + call.prompt + (call.Icon() == vbCritical ? " (critical" : " (") +
               ((call.buttons & kButtonsMask) == vbOKOnly ? " OK)\n" : ")\n");
    EXPECT_EQ(got,
              "ProcContainsErrorHandling(): Sub or Function not defined 35 (critical OK)\n"
              "ctlTab_Click: Could not use file 3045 (critical OK)\n"
              "AddFromProcvault(): Internal error: vector index 51 (critical OK)\n");
}

}  // namespace
