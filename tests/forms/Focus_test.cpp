// Where the focus may go, the order of LostFocus and GotFocus, and the focus a
// form gives when it is shown.
#include <gtest/gtest.h>

#include "NoticeRecorder.h"
#include "forms/Form.h"
#include "vbrt/VbError.h"

using namespace forms;

namespace {

// A two-tab dialog: a name box inside a frame on tab 0, a list on tab 1, and
// buttons below the tabs.
struct TabDialog : Form {
    TabDialog() : Form("frmTabs") {
        ctlTab.SetTabs({"&New", "&Existing"});
        Frame1.SetTabPage(0);
        lstProcedures.SetTabPage(1);
        txtName.SetTabIndex(2);
        lstProcedures.SetTabIndex(3);
        cmdOK.SetTabIndex(4);
        cmdCancel.SetTabIndex(5);
        ctlTab.SetTabIndex(0);
        Label1.SetTabIndex(1);
    }
    TabStrip& ctlTab = Add<TabStrip>("ctlTab");
    Frame& Frame1 = Add<Frame>("Frame1");
    Label& Label1 = Add<Label>("Label1", &Frame1);
    TextBox& txtName = Add<TextBox>("txtName", &Frame1);
    ListBox& lstProcedures = Add<ListBox>("lstProcedures");
    CommandButton& cmdOK = Add<CommandButton>("cmdOK");
    CommandButton& cmdCancel = Add<CommandButton>("cmdCancel");
};

long FocusError(Control& control) {
    try {
        control.SetFocus();
    } catch (const vbrt::VbError& e) {
        return e.Number();
    }
    return 0;
}

struct FocusRow {
    std::string name;
    std::function<void(TabDialog&)> arrange;
    std::function<Control&(TabDialog&)> target;
    long error;
};

class FocusRules : public ::testing::TestWithParam<FocusRow> {};

TEST_P(FocusRules, RefusesWithError5WhereVbDoes) {
    TabDialog dialog;
    dialog.BeginShow();
    GetParam().arrange(dialog);
    Control& target = GetParam().target(dialog);
    EXPECT_EQ(FocusError(target), GetParam().error);
    EXPECT_EQ(target.CanFocus(), GetParam().error == 0);
    EXPECT_EQ(dialog.ActiveControl() == &target, GetParam().error == 0);
}

Control& NameBox(TabDialog& d) {
    return d.txtName;
}
Control& List(TabDialog& d) {
    return d.lstProcedures;
}
Control& OK(TabDialog& d) {
    return d.cmdOK;
}

INSTANTIATE_TEST_SUITE_P(
    Forms, FocusRules,
    ::testing::Values(
        FocusRow{"ShownAndReachable", [](TabDialog&) {}, NameBox, 0},
        FocusRow{"FormNotShown", [](TabDialog& d) { d.Unload(); }, NameBox, 5},
        FocusRow{"ControlDisabled", [](TabDialog& d) { d.txtName.SetEnabled(false); }, NameBox, 5},
        FocusRow{"ControlHidden", [](TabDialog& d) { d.cmdOK.SetVisible(false); }, OK, 5},
        FocusRow{"ContainerDisabled", [](TabDialog& d) { d.Frame1.SetEnabled(false); }, NameBox, 5},
        FocusRow{"ContainerHidden", [](TabDialog& d) { d.Frame1.SetVisible(false); }, NameBox, 5},
        FocusRow{"OtherTabPage", [](TabDialog&) {}, List, 5},
        FocusRow{"ContainerOnOtherTabPage", [](TabDialog& d) { d.ctlTab.SetTab(1); }, NameBox, 5},
        FocusRow{"PageMadeCurrent", [](TabDialog& d) { d.ctlTab.SetTab(1); }, List, 0},
        FocusRow{"TabControlHidden", [](TabDialog& d) { d.ctlTab.SetVisible(false); }, NameBox, 5},
        FocusRow{"LabelNever", [](TabDialog&) {}, [](TabDialog& d) -> Control& { return d.Label1; }, 5},
        FocusRow{"FrameNever", [](TabDialog&) {}, [](TabDialog& d) -> Control& { return d.Frame1; }, 5}),
    [](const auto& info) { return info.param.name; });

TEST(FocusMove, LostFocusThenGotFocusAndNotices) {
    TabDialog dialog;
    dialog.BeginShow();
    formstest::EventLog log;
    log.Watch(dialog.txtName.LostFocus, "txtName.LostFocus");
    log.Watch(dialog.cmdOK.GotFocus, "cmdOK.GotFocus");
    log.Watch(dialog.cmdOK.LostFocus, "cmdOK.LostFocus");
    formstest::NoticeRecorder nameNotices(dialog.txtName);
    formstest::NoticeRecorder okNotices(dialog.cmdOK);
    dialog.txtName.SetFocus();
    dialog.cmdOK.SetFocus();
    dialog.cmdOK.SetFocus();  // already there: nothing happens
    EXPECT_EQ(log.entries, (std::vector<std::string>{"txtName.LostFocus", "cmdOK.GotFocus"}));
    EXPECT_EQ(dialog.ActiveControl(), &dialog.cmdOK);
    EXPECT_TRUE(dialog.cmdOK.HasFocus());
    EXPECT_FALSE(dialog.txtName.HasFocus());
    EXPECT_EQ(nameNotices.Count(Prop::Focus), 2);  // gained, then lost
    EXPECT_EQ(okNotices.Count(Prop::Focus), 1);
}

TEST(FocusMove, LostFocusHandlerMayKeepTheFocus) {
    TabDialog dialog;
    dialog.BeginShow();
    dialog.txtName.SetFocus();
    int okGot = 0;
    int clicks = 0;
    dialog.cmdOK.GotFocus.Connect([&] { ++okGot; });
    dialog.cmdOK.Click.Connect([&] { ++clicks; });
    dialog.txtName.LostFocus.Connect([&] { dialog.txtName.SetFocus(); });
    dialog.cmdOK.Press();  // the click is lost with the focus
    EXPECT_EQ(dialog.ActiveControl(), &dialog.txtName);
    EXPECT_EQ(okGot, 0);
    EXPECT_EQ(clicks, 0);
}

TEST(FocusMove, PressTakesTheFocusBeforeClick) {
    TabDialog dialog;
    dialog.BeginShow();
    std::vector<std::string> order;
    dialog.txtName.LostFocus.Connect([&] { order.push_back("LostFocus"); });
    dialog.cmdOK.Click.Connect([&] { order.push_back("Click"); });
    dialog.txtName.TypeText("abc");
    dialog.cmdOK.Press();
    EXPECT_EQ(order, (std::vector<std::string>{"LostFocus", "Click"}));
    EXPECT_EQ(dialog.ActiveControl(), &dialog.cmdOK);
}

TEST(FormShow, FocusesFirstFocusableByTabIndex) {
    TabDialog dialog;
    dialog.ctlTab.SetTabIndex(9);  // txtName (2) is next; Label1 (1) cannot take it
    dialog.BeginShow();
    EXPECT_EQ(dialog.ActiveControl(), &dialog.txtName);
}

TEST(FormShow, EqualTabIndexesGoInCreationOrder) {
    Form form("frmTest");
    auto& first = form.Add<CommandButton>("cmdFirst");
    auto& second = form.Add<CommandButton>("cmdSecond");
    second.SetTabIndex(0);
    first.SetTabIndex(0);
    form.BeginShow();
    EXPECT_EQ(form.ActiveControl(), &first);
}

TEST(FormShow, NothingFocusableIsFine) {
    Form form("frmTest");
    form.Add<Label>("Label1");
    auto& button = form.Add<CommandButton>("cmdOK");
    button.SetEnabled(false);
    form.BeginShow();
    EXPECT_TRUE(form.IsShown());
    EXPECT_EQ(form.ActiveControl(), nullptr);
}

TEST(FormShow, SetFocusDuringLoadFailsAsBeforeTheFormIsVisible) {
    TabDialog dialog;
    long error = 0;
    dialog.Load.Connect([&] { error = FocusError(dialog.txtName); });
    dialog.BeginShow();
    EXPECT_EQ(error, 5);
    EXPECT_TRUE(dialog.IsShown());
}

TEST(FormShow, UnloadForgetsTheFocus) {
    TabDialog dialog;
    dialog.BeginShow();
    ASSERT_NE(dialog.ActiveControl(), nullptr);
    dialog.Unload();
    EXPECT_EQ(dialog.ActiveControl(), nullptr);
    EXPECT_EQ(FocusError(dialog.cmdOK), 5);
}

}  // namespace
