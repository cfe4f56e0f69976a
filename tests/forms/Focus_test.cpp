// Where the focus may go, the order of LostFocus and GotFocus, and the focus a
// form gives when it is shown.
#include <gtest/gtest.h>

#include "NoticeRecorder.h"
#include "forms/Form.h"

using namespace forms;
using formstest::ErrorOf;

namespace {

// A name box inside a frame on tab 0, a list on tab 1, and buttons below the tabs.
struct TabDialog : Form {
    TabDialog() : Form("frmTabs") {
        ctlTab.SetTabs({"&New", "&Existing"});
        Frame1.SetTabPage(0);
        lstProcedures.SetTabPage(1);
        int index = 0;
        for (Control* c : std::initializer_list<Control*>{&ctlTab, &Label1, &txtName, &lstProcedures, &cmdOK})
            c->SetTabIndex(index++);
    }
    TabStrip& ctlTab = Add<TabStrip>("ctlTab");
    Frame& Frame1 = Add<Frame>("Frame1");
    Label& Label1 = Add<Label>("Label1", &Frame1);
    TextBox& txtName = Add<TextBox>("txtName", &Frame1);
    ListBox& lstProcedures = Add<ListBox>("lstProcedures");
    CommandButton& cmdOK = Add<CommandButton>("cmdOK");
};

struct FocusRow {
    const char* name;
    void (*arrange)(TabDialog&);
    const char* target;
    long error;
};

class FocusRules : public ::testing::TestWithParam<FocusRow> {};

TEST_P(FocusRules, RefusesWithError5WhereVbDoes) {
    TabDialog dialog;
    dialog.BeginShow();
    GetParam().arrange(dialog);
    Control& target = *dialog.FindControl(GetParam().target);
    EXPECT_EQ(ErrorOf([&] { target.SetFocus(); }), GetParam().error);
    EXPECT_EQ(target.CanFocus(), GetParam().error == 0);
    EXPECT_EQ(dialog.ActiveControl() == &target, GetParam().error == 0);
}

void Nothing(TabDialog&) {}

INSTANTIATE_TEST_SUITE_P(
    Forms, FocusRules,
    ::testing::Values(
        FocusRow{"ShownAndReachable", Nothing, "txtName", 0},
        FocusRow{"FormNotShown", [](TabDialog& d) { d.Unload(); }, "txtName", 5},
        FocusRow{"ControlDisabled", [](TabDialog& d) { d.txtName.SetEnabled(false); }, "txtName", 5},
        FocusRow{"ControlHidden", [](TabDialog& d) { d.cmdOK.SetVisible(false); }, "cmdOK", 5},
        FocusRow{"ContainerDisabled", [](TabDialog& d) { d.Frame1.SetEnabled(false); }, "txtName", 5},
        FocusRow{"ContainerHidden", [](TabDialog& d) { d.Frame1.SetVisible(false); }, "txtName", 5},
        FocusRow{"OtherTabPage", Nothing, "lstProcedures", 5},
        FocusRow{"ContainerOnOtherTabPage", [](TabDialog& d) { d.ctlTab.SetTab(1); }, "txtName", 5},
        FocusRow{"PageMadeCurrent", [](TabDialog& d) { d.ctlTab.SetTab(1); }, "lstProcedures", 0},
        FocusRow{"TabControlHidden", [](TabDialog& d) { d.ctlTab.SetVisible(false); }, "txtName", 5},
        FocusRow{"LabelNever", Nothing, "Label1", 5}, FocusRow{"FrameNever", Nothing, "Frame1", 5}),
    [](const auto& info) { return std::string(info.param.name); });

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
    EXPECT_TRUE(dialog.cmdOK.HasFocus());
    EXPECT_FALSE(dialog.txtName.HasFocus());
    EXPECT_EQ(nameNotices.Count(Prop::Focus), 2);  // gained, then lost
    EXPECT_EQ(okNotices.Count(Prop::Focus), 1);
}

TEST(FocusMove, PressTakesTheFocusBeforeClickUnlessLostFocusKeepsIt) {
    TabDialog dialog;
    dialog.BeginShow();
    std::vector<std::string> order;
    bool keep = true;
    dialog.txtName.LostFocus.Connect([&] {
        order.push_back("LostFocus");
        if (keep) dialog.txtName.SetFocus();
    });
    dialog.cmdOK.GotFocus.Connect([&] { order.push_back("GotFocus"); });
    dialog.cmdOK.Click.Connect([&] { order.push_back("Click"); });
    dialog.txtName.SetFocus();
    dialog.cmdOK.Press();  // the click is lost with the focus
    EXPECT_EQ(dialog.ActiveControl(), &dialog.txtName);
    EXPECT_EQ(order, std::vector<std::string>{"LostFocus"});
    keep = false;
    dialog.cmdOK.Press();
    EXPECT_EQ(order, (std::vector<std::string>{"LostFocus", "LostFocus", "GotFocus", "Click"}));
    EXPECT_EQ(dialog.ActiveControl(), &dialog.cmdOK);
}

TEST(FormShow, FocusesFirstFocusableByTabIndexAndUnloadForgetsIt) {
    TabDialog dialog;
    dialog.ctlTab.SetTabIndex(9);  // txtName is next; Label1 before it cannot take it
    dialog.BeginShow();
    EXPECT_EQ(dialog.ActiveControl(), &dialog.txtName);
    dialog.Unload();
    EXPECT_EQ(dialog.ActiveControl(), nullptr);
    EXPECT_EQ(ErrorOf([&] { dialog.cmdOK.SetFocus(); }), 5);
}

TEST(FormShow, EqualTabIndexesGoInCreationOrder) {
    Form form("frmTest");
    auto& first = form.Add<CommandButton>("cmdFirst");
    form.Add<CommandButton>("cmdSecond").SetTabIndex(0);
    first.SetTabIndex(0);
    form.BeginShow();
    EXPECT_EQ(form.ActiveControl(), &first);
}

TEST(FormShow, NothingFocusableIsFine) {
    Form form("frmTest");
    form.Add<Label>("Label1");
    form.Add<CommandButton>("cmdOK").SetEnabled(false);
    form.BeginShow();
    EXPECT_TRUE(form.IsShown());
    EXPECT_EQ(form.ActiveControl(), nullptr);
}

TEST(FormShow, SetFocusDuringLoadFailsAsBeforeTheFormIsVisible) {
    TabDialog dialog;
    long error = 0;
    dialog.Load.Connect([&] { error = ErrorOf([&] { dialog.txtName.SetFocus(); }); });
    dialog.BeginShow();
    EXPECT_EQ(error, 5);
    EXPECT_TRUE(dialog.IsShown());
}

}  // namespace
