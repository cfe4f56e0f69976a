// The scripted Ui, the standard failure report, the date format and the form's
// life through a modal show.
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

// Queued answers first, then OK or else the first button.
TEST(ScriptedUi, RecordsATranscriptAndAnswersFromItsQueuesOrWithTheDefault) {
    ScriptedUi ui;
    ui.QueueAnswer(vbNo);
    ui.QueueFileChoice("/tmp/lib.mdb");
    ui.Beep();
    const std::pair<int, int> rows[] = {{vbYesNo | vbQuestion, vbNo},
                                        {vbOKOnly | vbInformation, vbOK},
                                        {vbOKCancel, vbOK},
                                        {vbAbortRetryIgnore, vbAbort},
                                        {vbYesNoCancel | vbQuestion, vbYes},
                                        {vbYesNo | vbDefaultButton2, vbYes},
                                        {vbRetryCancel, vbRetry}};
    for (const auto& [buttons, expected] : rows) {
        EXPECT_EQ(ui.MsgBox("Sure?", buttons, "Procvault"), expected) << buttons;
        EXPECT_EQ(ui.Messages().back().answer, expected) << buttons;
    }
    ui.SetMousePointer(vbHourglass);
    EXPECT_EQ(ui.ShowOpenFileDialog({"Locate Library", "Access (*.mdb)|*.mdb", ""}), "/tmp/lib.mdb");
    EXPECT_EQ(ui.ShowOpenFileDialog({"Locate Library", "", ""}), "");
    Strings expected(std::size(rows) + 1, "msgbox:Procvault:Sure?");
    expected.front() = "beep";
    expected.insert(expected.end(), {"pointer:11", "file:Locate Library", "file:Locate Library"});
    EXPECT_EQ(ui.Transcript(), expected);
    EXPECT_EQ(ui.Messages()[0].Icon(), vbQuestion);
    ui.ClearTranscript();
    EXPECT_EQ(ui.Transcript().size() + ui.Messages().size() + static_cast<std::size_t>(ui.Beeps()), 0u);
}

TEST(ScriptedUiShow, ScriptPlaysTheUserAndAFormLeftOpenIsUnloaded) {
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
    EXPECT_EQ(seenFocus, "txtName");
    EXPECT_EQ(dialog.txtName.Text(), "DoWork");
    EXPECT_FALSE(dialog.IsLoaded());
    EXPECT_EQ(dialog.FindControl("missing"), nullptr);
    ui.OnShow("frmName", [](Form&) {});
    dialog.ShowModal(ui);  // loads again; the script leaves it open
    EXPECT_FALSE(dialog.IsShown());
    EXPECT_EQ(ui.Transcript(), (Strings{"show:frmName", "show:frmName", "unload-left-open:frmName"}));
    EXPECT_EQ(dialog.events, (Strings{"Load", "Resize", "Unload", "Load", "Resize", "Unload"}));
    EXPECT_EQ(notices.Count(Prop::Loaded), 4);  // shown, then closed, twice
}

TEST(ScriptedUiShow, NestedDialogsAndKeysGoingToTheTopForm) {
    ScriptedUi ui;
    NameDialog outer;
    Form inner("frmOptions");
    ui.OnShow("frmName", [&](Form&) {
        inner.ShowModal(ui);
        outer.txtName.SetText("abc");
        outer.txtName.SetFocus();
        ui.SendKeys("{Home}+{End}");  // goes to the top modal form again
        outer.Unload();
    });
    outer.ShowModal(ui);
    EXPECT_EQ(outer.txtName.SelLength(), 3);
    EXPECT_EQ(ui.ShownForms(), (Strings{"frmName", "frmOptions"}));
    EXPECT_EQ(ui.Transcript(), (Strings{"show:frmName", "show:frmOptions", "unload-left-open:frmOptions",
                                        "keys:{Home}+{End}"}));
}

TEST(ScriptedUiShow, UnloadInLoadNeverShows) {
    ScriptedUi ui;
    NameDialog dialog;
    bool scriptRan = false;
    dialog.Load.Connect([&] { dialog.Unload(); });
    ui.OnShow("frmName", [&](Form&) { scriptRan = true; });
    dialog.ShowModal(ui);
    EXPECT_FALSE(scriptRan);
    EXPECT_EQ(ui.Transcript(), Strings{"show:frmName"});
}

TEST(SelectAllKeys, SelectTheFocusedTextOnly) {
    const struct {
        std::string keys;
        bool onCombo;
        long selLength;
    } rows[] = {{"{Home}+{End}", false, 4}, {"{Home}+{End}", true, 5}, {"{End}", false, 0}};
    for (const auto& row : rows) {
        NameDialog dialog;
        dialog.BeginShow();
        dialog.txtName.SetText("Name");
        dialog.cboKind.SetText("Kinds");
        if (row.onCombo) dialog.cboKind.SetFocus();
        ApplySelectAllKeys(&dialog, row.keys);
        EXPECT_EQ(row.onCombo ? dialog.cboKind.SelLength() : dialog.txtName.SelLength(), row.selLength)
            << row.keys << row.onCombo;
    }
}

TEST(DateFormat, DdMmmYyyy) {
    const std::pair<CalendarDate, std::string> rows[] = {
        {{1999, 3, 7}, "07-Mar-1999"}, {{2026, 12, 31}, "31-Dec-2026"}, {{2001, 1, 10}, "10-Jan-2001"}};
    for (const auto& [date, expected] : rows) {
        ScriptedUi ui;
        ui.SetToday(date);
        EXPECT_EQ(FormatDdMmmYyyy(ui), expected);
    }
}

// A trapped failure: a critical message of description and number, titled by the procedure; a filter
// claims its own errors silently; other exceptions are internal error 51.
TEST(FailureReport, CriticalMessageDescriptionBlankNumber) {
    ScriptedUi ui;
    int ran = 0;
    EXPECT_TRUE(Trap(ui, "cmdOK_Click", [&] { ++ran; }));
    EXPECT_EQ(ran, 1);
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

TEST(FormGeometry, SizableBorderResizeAndScaleSize) {
    Form form("frmPreview");
    form.SetBorderStyle(2);
    int resizes = 0;
    form.Resize.Connect([&] { ++resizes; });
    form.ResizeByUser(6000, 4500);
    EXPECT_EQ(
        (std::vector<long>{form.Width(), form.Height(), form.ScaleWidth(), form.ScaleHeight(), resizes}),
        (std::vector<long>{6000, 4500, 6000 - 120, 4500 - 405, 1}));
}

}  // namespace
