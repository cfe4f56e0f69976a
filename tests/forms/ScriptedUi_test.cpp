// The scripted Ui, the standard failure report, the date format and the form's
// life through a modal show.
#include "forms/ScriptedUi.h"

#include <gtest/gtest.h>

#include "NoticeRecorder.h"
#include "forms/ErrorReport.h"
#include "forms/Form.h"

using namespace forms;

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
    std::vector<std::string> events;
};

struct AnswerRow {
    std::string name;
    int buttons;
    int expected;
};

class DefaultAnswers : public ::testing::TestWithParam<AnswerRow> {};

TEST_P(DefaultAnswers, OkOrTheFirstButton) {
    ScriptedUi ui;
    EXPECT_EQ(ui.MsgBox("Sure?", GetParam().buttons, "Procvault"), GetParam().expected);
    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_EQ(ui.Messages()[0].answer, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Ui, DefaultAnswers,
                         ::testing::Values(AnswerRow{"OkOnly", vbOKOnly | vbInformation, vbOK},
                                           AnswerRow{"OkCancel", vbOKCancel, vbOK},
                                           AnswerRow{"AbortRetryIgnore", vbAbortRetryIgnore, vbAbort},
                                           AnswerRow{"YesNoCancel", vbYesNoCancel | vbQuestion, vbYes},
                                           AnswerRow{"YesNo", vbYesNo | vbQuestion | vbDefaultButton2, vbYes},
                                           AnswerRow{"RetryCancel", vbRetryCancel, vbRetry}),
                         [](const auto& info) { return info.param.name; });

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
    EXPECT_EQ(ui.Transcript(),
              (std::vector<std::string>{"beep", "msgbox:Procvault:Delete it?", "msgbox:Procvault:Again?",
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
        auto& d = static_cast<NameDialog&>(form);
        seenFocus = form.ActiveControl() ? form.ActiveControl()->Name() : "";
        d.txtName.TypeText("DoWork");
        d.cmdOK.Press();
    });
    dialog.ShowModal(ui);
    EXPECT_EQ(seenFocus, "txtName");
    EXPECT_EQ(dialog.txtName.Text(), "DoWork");
    EXPECT_FALSE(dialog.IsShown());
    EXPECT_FALSE(dialog.IsLoaded());
    EXPECT_EQ(ui.Transcript(), std::vector<std::string>{"show:frmName"});
    EXPECT_EQ(dialog.events, (std::vector<std::string>{"Load", "Resize", "Unload"}));
}

TEST(ScriptedUiShow, FormLeftOpenIsUnloadedAndRecorded) {
    ScriptedUi ui;
    NameDialog dialog;
    formstest::NoticeRecorder notices(dialog);
    dialog.ShowModal(ui);
    EXPECT_FALSE(dialog.IsShown());
    EXPECT_EQ(ui.Transcript(), (std::vector<std::string>{"show:frmName", "unload-left-open:frmName"}));
    EXPECT_EQ(notices.Count(Prop::Loaded), 2);  // shown, then closed
    EXPECT_EQ(dialog.events, (std::vector<std::string>{"Load", "Resize", "Unload"}));
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
    EXPECT_EQ(ui.ShownForms(), (std::vector<std::string>{"frmName", "frmOptions"}));
    EXPECT_EQ(ui.Transcript(),
              (std::vector<std::string>{"show:frmName", "show:frmOptions", "unload-left-open:frmOptions",
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
    EXPECT_EQ(ui.Transcript(), std::vector<std::string>{"show:frmName"});
}

TEST(ScriptedUiShow, ShowingAgainLoadsAgain) {
    ScriptedUi ui;
    NameDialog dialog;
    dialog.ShowModal(ui);
    dialog.ShowModal(ui);
    EXPECT_EQ(dialog.events,
              (std::vector<std::string>{"Load", "Resize", "Unload", "Load", "Resize", "Unload"}));
}

struct KeysRow {
    std::string name;
    std::string keys;
    bool onCombo;
    long selLength;
};

class SelectAllKeys : public ::testing::TestWithParam<KeysRow> {};

TEST_P(SelectAllKeys, SelectsTheFocusedText) {
    NameDialog dialog;
    dialog.BeginShow();
    dialog.txtName.SetText("Name");
    dialog.cboKind.SetText("Kinds");
    Control& target = GetParam().onCombo ? static_cast<Control&>(dialog.cboKind) : dialog.txtName;
    target.SetFocus();
    ApplySelectAllKeys(&dialog, GetParam().keys);
    const long got = GetParam().onCombo ? dialog.cboKind.SelLength() : dialog.txtName.SelLength();
    EXPECT_EQ(got, GetParam().selLength);
}

INSTANTIATE_TEST_SUITE_P(Ui, SelectAllKeys,
                         ::testing::Values(KeysRow{"TextBox", "{Home}+{End}", false, 4},
                                           KeysRow{"ComboBox", "{Home}+{End}", true, 5},
                                           KeysRow{"OtherKeys", "{End}", false, 0}),
                         [](const auto& info) { return info.param.name; });

struct DateRow {
    std::string name;
    CalendarDate date;
    std::string expected;
};

class DateFormat : public ::testing::TestWithParam<DateRow> {};

TEST_P(DateFormat, DdMmmYyyy) {
    ScriptedUi ui;
    ui.SetToday(GetParam().date);
    EXPECT_EQ(FormatDdMmmYyyy(ui), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Ui, DateFormat,
                         ::testing::Values(DateRow{"SingleDigitDay", {1999, 3, 7}, "07-Mar-1999"},
                                           DateRow{"December", {2026, 12, 31}, "31-Dec-2026"},
                                           DateRow{"January", {2001, 1, 10}, "10-Jan-2001"}),
                         [](const auto& info) { return info.param.name; });

TEST(FailureReport, CriticalMessageDescriptionBlankNumber) {
    ScriptedUi ui;
    const bool ok = Trap(ui, "ProcContainsErrorHandling()", [] { vbrt::Raise(35); });
    EXPECT_FALSE(ok);
    ASSERT_EQ(ui.Messages().size(), 1u);
    const auto& call = ui.Messages()[0];
    EXPECT_EQ(call.prompt, "Sub or Function not defined 35");
    EXPECT_EQ(call.title, "ProcContainsErrorHandling()");
    EXPECT_EQ(call.Icon(), vbCritical);
    EXPECT_EQ(call.buttons & kButtonsMask, vbOKOnly);
}

TEST(FailureReport, NoFailureNoMessage) {
    ScriptedUi ui;
    int ran = 0;
    EXPECT_TRUE(Trap(ui, "cmdOK_Click", [&] { ++ran; }));
    EXPECT_EQ(ran, 1);
    EXPECT_TRUE(ui.Messages().empty());
}

TEST(FailureReport, FilterClaimsItsErrorsOnly) {
    ScriptedUi ui;
    const auto ignoreFive = [](const vbrt::VbError& e) { return e.Number() == 5; };
    EXPECT_FALSE(Trap(
        ui, "ctlTab_Click", [] { vbrt::Raise(5); }, ignoreFive));
    EXPECT_TRUE(ui.Messages().empty());
    EXPECT_FALSE(Trap(
        ui, "ctlTab_Click", [] { vbrt::Raise(3045, "Could not use file"); }, ignoreFive));
    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_EQ(ui.Messages()[0].prompt, "Could not use file 3045");
}

TEST(FailureReport, OtherExceptionsAreInternalError51) {
    ScriptedUi ui;
    EXPECT_FALSE(Trap(ui, "AddFromProcvault()", [] { throw std::out_of_range("vector index"); }));
    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_EQ(ui.Messages()[0].prompt, "Internal error: vector index 51");
    EXPECT_EQ(ui.Messages()[0].Icon(), vbCritical);
}

TEST(FormGeometry, ResizeAndScaleSize) {
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

TEST(FormControls, FindAndDefaultCancelButtons) {
    NameDialog dialog;
    auto& cancel = dialog.Add<CommandButton>("cmdCancel");
    cancel.SetCancel(true);
    dialog.cmdOK.SetDefault(true);
    EXPECT_EQ(dialog.FindControl("TXTNAME"), &dialog.txtName);
    EXPECT_EQ(dialog.FindControl("missing"), nullptr);
    EXPECT_EQ(dialog.DefaultButton(), &dialog.cmdOK);
    EXPECT_EQ(dialog.CancelButton(), &cancel);
}

}  // namespace
