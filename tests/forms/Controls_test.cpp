// Text boxes, check boxes, option groups, buttons and the tab control; where the focus
// may go, the order of LostFocus and GotFocus, and the focus a form gives when shown.
#include <gtest/gtest.h>

#include "NoticeRecorder.h"
#include "forms/Form.h"

using namespace forms;
using formstest::ErrorOf;
using Strings = std::vector<std::string>;

namespace {

// Two frames of option buttons plus one loose button per tab page.
struct Parts : Form {
    Parts() : Form("frmParts") {
        ctlTab.SetTabs({"One", "Two"});
        optPageA.SetTabPage(0);
        optPageB.SetTabPage(1);
    }
    TabStrip& ctlTab = Add<TabStrip>("ctlTab");
    TextBox& txtName = Add<TextBox>("txtName");
    CheckBox& chkStatic = Add<CheckBox>("chkStatic");
    Frame& Frame2 = Add<Frame>("Frame2");
    Frame& Frame3 = Add<Frame>("Frame3");
    OptionButton& optSub = Add<OptionButton>("optSub", &Frame2);
    OptionButton& optFunction = Add<OptionButton>("optFunction", &Frame2);
    OptionButton& optPrivate = Add<OptionButton>("optPrivate", &Frame3);
    OptionButton& optPageA = Add<OptionButton>("optPageA");
    OptionButton& optPageB = Add<OptionButton>("optPageB");
    CommandButton& cmdOK = Add<CommandButton>("cmdOK", &Frame2);
};

// MaxLength limits typing only, Locked refuses it, Change only on a difference; a selection is clamped.
TEST(TextBox, MaxLengthLockedChangeAndSelection) {
    Parts parts;
    auto& box = parts.txtName;
    int changes = 0;
    box.Change.Connect([&] { ++changes; });
    box.SetMaxLength(6);
    box.SetText("longer than six");  // code may exceed it
    box.SetText("longer than six");
    EXPECT_EQ(box.Text(), "longer than six");
    box.TypeText("typed too long");
    EXPECT_EQ(box.Text() + std::to_string(box.SelStart()), "typed 6");
    box.TypeText("typed ");
    box.SetMaxLength(0);
    box.TypeText("no limit at all now");
    box.SetLocked(true);
    box.TypeText("x");
    EXPECT_EQ(box.Text() + std::to_string(changes), "no limit at all now3");
    std::string got;
    for (auto [start, length] : {std::pair(3L, 2L), {9L, 30L}, {30L, 3L}, {-3L, -1L}}) {
        box.SetSelection(start, length);
        got += std::to_string(box.SelStart()) + " " + std::to_string(box.SelLength()) + " " + box.SelText() +
               "|";
    }
    EXPECT_EQ(got, "3 2 li|9 10 at all now|19 0 |0 0 |");
}

// Check boxes, option buttons and the tab strip click on a real change only (an option set from code
// clicks each time), a button only when it can be pressed; a choice clears only its own option group.
TEST(Clicks, OnRealChangesOnly) {
    Parts form;
    std::string clicks;
    form.chkStatic.Click.Connect([&] { clicks += "chk" + std::to_string(form.chkStatic.Value()) + " "; });
    form.optSub.Click.Connect([&] { clicks += "optSub "; });
    form.optFunction.Click.Connect([&] { clicks += "optFunction "; });
    form.ctlTab.Click.Connect([&](int previous) { clicks += "tab" + std::to_string(previous) + " "; });
    form.cmdOK.Click.Connect([&] { clicks += "cmdOK "; });
    form.chkStatic.SetValue(0);
    form.chkStatic.Press();
    form.chkStatic.Press();
    form.chkStatic.SetValue(2);  // grayed
    form.chkStatic.Press();
    for (auto* option : {&form.optSub, &form.optSub, &form.optPrivate, &form.optPageA, &form.optPageB})
        option->SetValue(true);
    form.optFunction.Press();  // clears optSub without its Click
    std::string values;
    for (auto* option : {&form.optSub, &form.optFunction, &form.optPrivate, &form.optPageA, &form.optPageB})
        values += option->Value() ? "1" : "0";
    EXPECT_EQ(values, "01111");
    for (int tab : {1, 1, 0}) form.ctlTab.SetTab(tab);
    form.cmdOK.Press();
    form.cmdOK.SetEnabled(false);
    form.cmdOK.Press();
    form.cmdOK.SetEnabled(true);
    form.Frame2.SetVisible(false);  // its container
    form.cmdOK.Press();
    EXPECT_EQ(clicks, "chk1 chk0 chk2 chk1 optSub optSub optFunction tab0 tab1 cmdOK ");
    EXPECT_EQ(ErrorOf([&] { form.chkStatic.SetValue(3); }), 380);
    EXPECT_EQ(ErrorOf([&] { form.ctlTab.SetTab(2); }), 380);
}

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

TEST(Focus, RefusedWithError5WhereVbRefusesIt) {
    const struct {
        void (*arrange)(TabDialog&);
        const char* target;
        long error;
    } rows[] = {{[](TabDialog&) {}, "txtName", 0},
                {[](TabDialog& d) { d.txtName.SetEnabled(false); }, "txtName", 5},
                {[](TabDialog& d) { d.Frame1.SetEnabled(false); }, "txtName", 5},
                {[](TabDialog&) {}, "lstProcedures", 5},  // on the other tab page
                {[](TabDialog& d) { d.ctlTab.SetTab(1); }, "lstProcedures", 0},
                {[](TabDialog&) {}, "Label1", 5}};
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        TabDialog dialog;
        dialog.BeginShow();
        rows[i].arrange(dialog);
        Control& target = *dialog.FindControl(rows[i].target);
        EXPECT_EQ(ErrorOf([&] { target.SetFocus(); }), rows[i].error) << i;
        EXPECT_EQ(std::pair(target.CanFocus(), dialog.ActiveControl() == &target),
                  std::pair(rows[i].error == 0, rows[i].error == 0))
            << i;
    }
}

// LostFocus before GotFocus, none for a move to where it is; a press takes the focus before its click
// unless LostFocus keeps it.
TEST(Focus, MovesWithLostFocusThenGotFocusAndPressTakesItBeforeClick) {
    TabDialog dialog;
    dialog.BeginShow();
    Strings order;
    bool keep = true;
    dialog.txtName.LostFocus.Connect([&] {
        order.push_back("LostFocus");
        if (keep) dialog.txtName.SetFocus();
    });
    dialog.cmdOK.GotFocus.Connect([&] { order.push_back("GotFocus"); });
    dialog.cmdOK.Click.Connect([&] { order.push_back("Click"); });
    dialog.txtName.SetFocus();
    dialog.txtName.SetFocus();
    dialog.cmdOK.Press();  // the click is lost with the focus
    EXPECT_EQ(dialog.ActiveControl(), &dialog.txtName);
    keep = false;
    dialog.cmdOK.Press();
    dialog.cmdOK.SetFocus();
    EXPECT_EQ(order, (Strings{"LostFocus", "LostFocus", "GotFocus", "Click"}));
    EXPECT_TRUE(dialog.cmdOK.HasFocus() && !dialog.txtName.HasFocus());
}

TEST(Focus, ShowFocusesFirstFocusableByTabIndexNeverDuringLoadAndUnloadForgetsIt) {
    TabDialog dialog;
    dialog.ctlTab.SetTabIndex(9);  // txtName is next; Label1 before it cannot take it
    long error = 0;
    dialog.Load.Connect([&] { error = ErrorOf([&] { dialog.txtName.SetFocus(); }); });
    dialog.BeginShow();
    EXPECT_EQ(error, 5);  // the form is not visible yet
    EXPECT_EQ(dialog.ActiveControl(), &dialog.txtName);
    dialog.Unload();
    EXPECT_EQ(dialog.ActiveControl(), nullptr);
    Form form("frmTest");  // equal tab indexes go in creation order; disabled ones never
    form.Add<CommandButton>("cmdOff").SetEnabled(false);
    auto& first = form.Add<CommandButton>("cmdFirst");
    form.Add<CommandButton>("cmdSecond").SetTabIndex(0);
    first.SetTabIndex(0);
    form.BeginShow();
    EXPECT_EQ(form.ActiveControl(), &first);
}

}  // namespace
