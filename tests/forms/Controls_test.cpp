// Property changes (one notice per actual change, none for a no-op), text boxes,
// check boxes, option groups, buttons and the tab control; where the focus may
// go, the order of LostFocus and GotFocus, and the focus a form gives when shown.
#include <gtest/gtest.h>

#include <sstream>

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
        for (const char* text : {"a", "b"}) lstItems.AddItem(text);
        lstMulti.SetMultiSelect(1);
        lstMulti.AddItem("a");
        optPageA.SetTabPage(0);
        optPageB.SetTabPage(1);
        txtName.SetText("hello");
    }
    TabStrip& ctlTab = Add<TabStrip>("ctlTab");
    Label& Label1 = Add<Label>("Label1");
    TextBox& txtName = Add<TextBox>("txtName");
    CheckBox& chkStatic = Add<CheckBox>("chkStatic");
    ListBox& lstItems = Add<ListBox>("lstItems");
    ListBox& lstMulti = Add<ListBox>("lstMulti");
    ComboBox& cboCategory = Add<ComboBox>("cboCategory");
    Frame& Frame2 = Add<Frame>("Frame2");
    Frame& Frame3 = Add<Frame>("Frame3");
    OptionButton& optSub = Add<OptionButton>("optSub", &Frame2);
    OptionButton& optFunction = Add<OptionButton>("optFunction", &Frame2);
    OptionButton& optPrivate = Add<OptionButton>("optPrivate", &Frame3);
    OptionButton& optPageA = Add<OptionButton>("optPageA");
    OptionButton& optPageB = Add<OptionButton>("optPageB");
    CommandButton& cmdOK = Add<CommandButton>("cmdOK", &Frame2);
};

// Each change twice: the first gives exactly one notice of its kind, the repeat none at all.
TEST(ChangeNotices, OncePerChangeNoneForRepeat) {
    const struct {
        const char* control;  // "" is the form itself
        void (*change)(Parts&);
        Prop prop;
    } rows[] = {{"Label1", [](Parts& p) { p.Label1.SetCaption("Name"); }, Prop::Caption},
                {"", [](Parts& p) { p.SetCaption("Procvault"); }, Prop::Caption},
                {"txtName", [](Parts& p) { p.txtName.SetText("abc"); }, Prop::Text},
                {"txtName", [](Parts& p) { p.txtName.SetEnabled(false); }, Prop::Enabled},
                {"txtName", [](Parts& p) { p.txtName.SetVisible(false); }, Prop::Visible},
                {"txtName", [](Parts& p) { p.txtName.Move(120, 240, 3000, 315); }, Prop::Geometry},
                {"txtName", [](Parts& p) { p.txtName.SetMaxLength(30); }, Prop::MaxLength},
                {"txtName", [](Parts& p) { p.txtName.SetSelection(1, 3); }, Prop::Selection},
                {"chkStatic", [](Parts& p) { p.chkStatic.SetValue(1); }, Prop::Value},
                {"optSub", [](Parts& p) { p.optSub.SetValue(true); }, Prop::Value},
                {"lstItems", [](Parts& p) { p.lstItems.SetListIndex(1); }, Prop::ListIndex},
                {"lstMulti", [](Parts& p) { p.lstMulti.SetSelected(0, true); }, Prop::Selected},
                {"lstItems", [](Parts& p) { p.lstItems.SetList(0, "z"); }, Prop::List},
                {"ctlTab", [](Parts& p) { p.ctlTab.SetTab(1); }, Prop::Tab},
                {"cboCategory", [](Parts& p) { p.cboCategory.SetText("x"); }, Prop::Text}};
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        Parts parts;
        Control* target = *rows[i].control ? parts.FindControl(rows[i].control) : &parts;
        formstest::NoticeRecorder notices(*target);
        rows[i].change(parts);
        EXPECT_EQ(notices.Count(rows[i].prop), 1) << i;
        notices.notices.clear();
        rows[i].change(parts);
        EXPECT_TRUE(notices.notices.empty()) << i << ": " << notices.notices.size() << " notices on a repeat";
    }
}

TEST(TextBox, MaxLengthLimitsTypingOnlyLockedRefusesItAndChangeOnlyOnADifference) {
    Parts parts;
    auto& box = parts.txtName;
    int changes = 0;
    box.Change.Connect([&] { ++changes; });
    box.SetMaxLength(6);
    box.SetText("longer than six");  // code may exceed it
    box.SetText("longer than six");
    EXPECT_EQ(box.Text(), "longer than six");
    box.TypeText("typed too long");
    EXPECT_EQ(std::pair(box.Text(), box.SelStart()), std::pair(std::string("typed "), 6L));
    box.TypeText("typed ");
    box.SetMaxLength(0);
    box.TypeText("no limit at all now");
    box.SetLocked(true);
    box.TypeText("x");
    EXPECT_EQ(box.Text(), "no limit at all now");
    EXPECT_EQ(changes, 3);
}

// Asked start and length = what the box then has.
TEST(TextBox, SelectionClampsToTheText) {
    std::istringstream rows("1 2=1 2 bc, 0 6=0 6 abcdef, 4 10=4 2 ef, 9 3=6 0 , -3 -1=0 0 ");
    for (std::string asked, want;
         std::getline(rows >> std::ws, asked, '=') && std::getline(rows, want, ',');) {
        Parts parts;
        parts.txtName.SetText("abcdef");
        parts.txtName.SetSelection(std::stol(asked), std::stol(asked.substr(asked.find(' '))));
        auto& box = parts.txtName;
        EXPECT_EQ(
            std::to_string(box.SelStart()) + " " + std::to_string(box.SelLength()) + " " + box.SelText(),
            want);
    }
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
    form.optFunction.SetValue(false);
    EXPECT_FALSE(form.optFunction.Value());
    for (int tab : {1, 1, 0}) form.ctlTab.SetTab(tab);
    EXPECT_EQ(form.ctlTab.TabCaption(1), "Two");
    form.cmdOK.Press();
    form.cmdOK.SetEnabled(false);
    form.cmdOK.Press();
    form.cmdOK.SetEnabled(true);
    form.Frame2.SetVisible(false);  // its container
    form.cmdOK.Press();
    EXPECT_EQ(clicks, "chk1 chk0 chk2 chk1 optSub optSub optFunction tab0 tab1 cmdOK ");
    EXPECT_EQ(ErrorOf([&] { form.chkStatic.SetValue(3); }), 380);
    EXPECT_EQ(ErrorOf([&] { form.ctlTab.SetTab(-1); }), 380);
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
                {[](TabDialog& d) { d.Unload(); }, "txtName", 5},
                {[](TabDialog& d) { d.txtName.SetEnabled(false); }, "txtName", 5},
                {[](TabDialog& d) { d.cmdOK.SetVisible(false); }, "cmdOK", 5},
                {[](TabDialog& d) { d.Frame1.SetEnabled(false); }, "txtName", 5},
                {[](TabDialog& d) { d.Frame1.SetVisible(false); }, "txtName", 5},
                {[](TabDialog&) {}, "lstProcedures", 5},  // on the other tab page
                {[](TabDialog& d) { d.ctlTab.SetTab(1); }, "txtName", 5},
                {[](TabDialog& d) { d.ctlTab.SetTab(1); }, "lstProcedures", 0},
                {[](TabDialog& d) { d.ctlTab.SetVisible(false); }, "txtName", 5},
                {[](TabDialog&) {}, "Label1", 5},
                {[](TabDialog&) {}, "Frame1", 5}};
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        TabDialog dialog;
        dialog.BeginShow();
        rows[i].arrange(dialog);
        Control& target = *dialog.FindControl(rows[i].target);
        EXPECT_EQ(ErrorOf([&] { target.SetFocus(); }), rows[i].error) << i;
        EXPECT_EQ(target.CanFocus(), rows[i].error == 0) << i;
        EXPECT_EQ(dialog.ActiveControl() == &target, rows[i].error == 0) << i;
    }
}

TEST(Focus, MovesWithLostFocusThenGotFocusAndNotices) {
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
    EXPECT_EQ(log.entries, (Strings{"txtName.LostFocus", "cmdOK.GotFocus"}));
    EXPECT_TRUE(dialog.cmdOK.HasFocus());
    EXPECT_FALSE(dialog.txtName.HasFocus());
    EXPECT_EQ(nameNotices.Count(Prop::Focus), 2);  // gained, then lost
    EXPECT_EQ(okNotices.Count(Prop::Focus), 1);
}

TEST(Focus, PressTakesItBeforeClickUnlessLostFocusKeepsIt) {
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
    dialog.cmdOK.Press();  // the click is lost with the focus
    EXPECT_EQ(dialog.ActiveControl(), &dialog.txtName);
    keep = false;
    dialog.cmdOK.Press();
    EXPECT_EQ(order, (Strings{"LostFocus", "LostFocus", "GotFocus", "Click"}));
    EXPECT_EQ(dialog.ActiveControl(), &dialog.cmdOK);
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
    EXPECT_EQ(ErrorOf([&] { dialog.cmdOK.SetFocus(); }), 5);
    Form form("frmTest");  // equal tab indexes go in creation order; disabled ones never
    form.Add<CommandButton>("cmdOff").SetEnabled(false);
    auto& first = form.Add<CommandButton>("cmdFirst");
    form.Add<CommandButton>("cmdSecond").SetTabIndex(0);
    first.SetTabIndex(0);
    form.BeginShow();
    EXPECT_EQ(form.ActiveControl(), &first);
    Form empty("frmEmpty");
    empty.Add<Label>("Label1");
    empty.BeginShow();
    EXPECT_TRUE(empty.IsShown());
    EXPECT_EQ(empty.ActiveControl(), nullptr);
}

}  // namespace
