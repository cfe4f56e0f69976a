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

TEST(ScriptedUiMsgBox, DefaultAnswerIsOkOrTheFirstButton) {
    const std::pair<int, int> rows[] = {
        {vbOKOnly | vbInformation, vbOK},    {vbOKCancel, vbOK},
        {vbAbortRetryIgnore, vbAbort},       {vbYesNoCancel | vbQuestion, vbYes},
        {vbYesNo | vbDefaultButton2, vbYes}, {vbRetryCancel, vbRetry}};
    for (const auto& [buttons, expected] : rows) {
        ScriptedUi ui;
        EXPECT_EQ(ui.MsgBox("Sure?", buttons, "Procvault"), expected) << buttons;
        ASSERT_EQ(ui.Messages().size(), 1u);
        EXPECT_EQ(ui.Messages()[0].answer, expected);
    }
}

TEST(ScriptedUiRecord, TranscriptAndQueuedAnswers) {
    ScriptedUi ui;
    ui.QueueAnswer(vbNo);
    ui.QueueFileChoice("/tmp/lib.mdb");
    ui.Beep();
    EXPECT_EQ(ui.MsgBox("Delete it?", vbYesNo | vbQuestion, "Procvault"), vbNo);
    EXPECT_EQ(ui.MsgBox("Again?", vbYesNo | vbQuestion, "Procvault"), vbYes);
    ui.SetMousePointer(vbHourglass);
    EXPECT_EQ(ui.GetMousePointer(), vbHourglass);
    EXPECT_EQ(ui.ShowOpenFileDialog({"Locate Library", "Access (*.mdb)|*.mdb", ""}), "/tmp/lib.mdb");
    EXPECT_EQ(ui.ShowOpenFileDialog({"Locate Library", "", ""}), "");
    EXPECT_EQ(ui.Transcript(), (Strings{"beep", "msgbox:Procvault:Delete it?", "msgbox:Procvault:Again?",
                                        "pointer:11", "file:Locate Library", "file:Locate Library"}));
    EXPECT_EQ(ui.Beeps(), 1);
    EXPECT_EQ(ui.Messages()[0].Icon(), vbQuestion);
    ui.ClearTranscript();
    EXPECT_TRUE(ui.Transcript().empty());
    EXPECT_TRUE(ui.Messages().empty());
    EXPECT_EQ(ui.Beeps(), 0);
}

TEST(ScriptedUiShow, ScriptPlaysTheUser) {
    ScriptedUi ui;
    NameDialog dialog;
    std::string seenFocus;
    ui.OnShow("frmName", [&](Form& form) {
        seenFocus = form.ActiveControl() ? form.ActiveControl()->Name() : "";
        dialog.txtName.TypeText("DoWork");
        dialog.cmdOK.Press();
    });
    dialog.ShowModal(ui);
    EXPECT_EQ(seenFocus, "txtName");
    EXPECT_EQ(dialog.txtName.Text(), "DoWork");
    EXPECT_FALSE(dialog.IsLoaded());
    EXPECT_EQ(ui.Transcript(), Strings{"show:frmName"});
    EXPECT_EQ(dialog.events, (Strings{"Load", "Resize", "Unload"}));
}

TEST(ScriptedUiShow, FormLeftOpenIsUnloadedAndRecordedAndShowingAgainLoadsAgain) {
    ScriptedUi ui;
    NameDialog dialog;
    formstest::NoticeRecorder notices(dialog);
    dialog.ShowModal(ui);
    EXPECT_FALSE(dialog.IsShown());
    EXPECT_EQ(ui.Transcript(), (Strings{"show:frmName", "unload-left-open:frmName"}));
    EXPECT_EQ(notices.Count(Prop::Loaded), 2);  // shown, then closed
    dialog.ShowModal(ui);
    EXPECT_EQ(dialog.events, (Strings{"Load", "Resize", "Unload", "Load", "Resize", "Unload"}));
}

TEST(ScriptedUiShow, NestedDialogsAndShownForms) {
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
        const long got = row.onCombo ? dialog.cboKind.SelLength() : dialog.txtName.SelLength();
        EXPECT_EQ(got, row.selLength) << row.keys << row.onCombo;
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

TEST(FailureReport, CriticalMessageDescriptionBlankNumber) {
    ScriptedUi ui;
    int ran = 0;
    EXPECT_TRUE(Trap(ui, "cmdOK_Click", [&] { ++ran; }));
    EXPECT_EQ(ran, 1);
    EXPECT_TRUE(ui.Messages().empty());
    EXPECT_FALSE(Trap(ui, "ProcContainsErrorHandling()", [] { vbrt::Raise(35); }));
    ASSERT_EQ(ui.Messages().size(), 1u);
    const auto& call = ui.Messages()[0];
    EXPECT_EQ(call.prompt, "Sub or Function not defined 35");
    EXPECT_EQ(call.title, "ProcContainsErrorHandling()");
    EXPECT_EQ(call.Icon(), vbCritical);
    EXPECT_EQ(call.buttons & kButtonsMask, vbOKOnly);
}

TEST(FailureReport, FilterClaimsItsErrorsOnlyAndOtherExceptionsAreInternalError51) {
    ScriptedUi ui;
    const auto ignoreFive = [](const vbrt::VbError& e) { return e.Number() == 5; };
    EXPECT_FALSE(Trap(
        ui, "ctlTab_Click", [] { vbrt::Raise(5); }, ignoreFive));
    EXPECT_TRUE(ui.Messages().empty());
    EXPECT_FALSE(Trap(
        ui, "ctlTab_Click", [] { vbrt::Raise(3045, "Could not use file"); }, ignoreFive));
    EXPECT_FALSE(Trap(ui, "AddFromProcvault()", [] { throw std::out_of_range("vector index"); }));
    ASSERT_EQ(ui.Messages().size(), 2u);
    EXPECT_EQ(ui.Messages()[0].prompt, "Could not use file 3045");
    EXPECT_EQ(ui.Messages()[1].prompt, "Internal error: vector index 51");
    EXPECT_EQ(ui.Messages()[1].Icon(), vbCritical);
}

TEST(FormGeometry, SizableBorderResizeAndScaleSize) {
    Form form("frmPreview");
    form.SetBorderStyle(2);
    int resizes = 0;
    form.Resize.Connect([&] { ++resizes; });
    form.ResizeByUser(6000, 4500);
    EXPECT_EQ(form.Width(), 6000);
    EXPECT_EQ(form.Height(), 4500);
    EXPECT_EQ(form.ScaleWidth(), 6000 - 120);
    EXPECT_EQ(form.ScaleHeight(), 4500 - 405);
    EXPECT_EQ(resizes, 1);
}

TEST(FormControls, FindIgnoresCase) {
    NameDialog dialog;
    EXPECT_EQ(dialog.FindControl("TXTNAME"), &dialog.txtName);
    EXPECT_EQ(dialog.FindControl("missing"), nullptr);
}

}  // namespace
