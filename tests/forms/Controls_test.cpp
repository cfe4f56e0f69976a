// Property changes: one notice per actual change and none for a no-op; text
// boxes, check boxes, option groups, buttons and the tab control.
#include <gtest/gtest.h>

#include "NoticeRecorder.h"
#include "forms/Form.h"

using namespace forms;
using formstest::ErrorOf;

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
};

struct NoticeRow {
    const char* name;
    const char* control;  // "" is the form itself
    void (*change)(Parts&);
    Prop prop;
};

class ChangeNotices : public ::testing::TestWithParam<NoticeRow> {};

// Each change twice: the first gives exactly one notice of its kind, the repeat none at all.
TEST_P(ChangeNotices, OncePerChangeNoneForRepeat) {
    Parts parts;
    Control* target = *GetParam().control ? parts.FindControl(GetParam().control) : &parts;
    ASSERT_NE(target, nullptr);
    formstest::NoticeRecorder notices(*target);
    GetParam().change(parts);
    EXPECT_EQ(notices.Count(GetParam().prop), 1);
    notices.notices.clear();
    GetParam().change(parts);
    EXPECT_TRUE(notices.notices.empty()) << notices.notices.size() << " notices on a repeat";
}

INSTANTIATE_TEST_SUITE_P(
    Forms, ChangeNotices,
    ::testing::Values(
        NoticeRow{"Caption", "Label1", [](Parts& p) { p.Label1.SetCaption("Name"); }, Prop::Caption},
        NoticeRow{"FormCaption", "", [](Parts& p) { p.SetCaption("Procvault"); }, Prop::Caption},
        NoticeRow{"Text", "txtName", [](Parts& p) { p.txtName.SetText("abc"); }, Prop::Text},
        NoticeRow{"Enabled", "txtName", [](Parts& p) { p.txtName.SetEnabled(false); }, Prop::Enabled},
        NoticeRow{"Visible", "txtName", [](Parts& p) { p.txtName.SetVisible(false); }, Prop::Visible},
        NoticeRow{"Geometry", "txtName", [](Parts& p) { p.txtName.Move(120, 240, 3000, 315); },
                  Prop::Geometry},
        NoticeRow{"MaxLength", "txtName", [](Parts& p) { p.txtName.SetMaxLength(30); }, Prop::MaxLength},
        NoticeRow{"CheckValue", "chkStatic", [](Parts& p) { p.chkStatic.SetValue(1); }, Prop::Value},
        NoticeRow{"OptionValue", "optSub", [](Parts& p) { p.optSub.SetValue(true); }, Prop::Value},
        NoticeRow{"ListIndex", "lstItems", [](Parts& p) { p.lstItems.SetListIndex(1); }, Prop::ListIndex},
        NoticeRow{"Selected", "lstMulti", [](Parts& p) { p.lstMulti.SetSelected(0, true); }, Prop::Selected},
        NoticeRow{"ListText", "lstItems", [](Parts& p) { p.lstItems.SetList(0, "z"); }, Prop::List},
        NoticeRow{"Tab", "ctlTab", [](Parts& p) { p.ctlTab.SetTab(1); }, Prop::Tab},
        NoticeRow{"ComboText", "cboCategory", [](Parts& p) { p.cboCategory.SetText("x"); }, Prop::Text},
        NoticeRow{"Selection", "txtName", [](Parts& p) { p.txtName.SetSelection(1, 3); }, Prop::Selection}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ListNotices, AddItemGivesOneListNotice) {
    Parts parts;
    formstest::NoticeRecorder notices(parts.lstItems);
    parts.lstItems.AddItem("c");
    EXPECT_EQ(notices.notices, std::vector<Prop>{Prop::List});
}

TEST(TextBoxTyping, MaxLengthLimitsTypingOnlyAndLockedRefusesIt) {
    Parts parts;
    auto& box = parts.txtName;
    box.SetMaxLength(6);
    box.SetText("longer than six");  // code may exceed it
    EXPECT_EQ(box.Text(), "longer than six");
    box.TypeText("typed too long");
    EXPECT_EQ(box.Text(), "typed ");
    EXPECT_EQ(box.SelStart(), 6);
    box.SetMaxLength(0);
    box.TypeText("no limit at all now");
    EXPECT_EQ(box.Text(), "no limit at all now");
    box.SetLocked(true);
    box.TypeText("x");
    EXPECT_EQ(box.Text(), "no limit at all now");
}

TEST(TextBoxChange, RaisedOnlyWhenTheTextDiffers) {
    Parts parts;
    int changes = 0;
    parts.txtName.Change.Connect([&] { ++changes; });
    parts.txtName.SetText("a");
    parts.txtName.SetText("a");
    parts.txtName.TypeText("a");
    parts.txtName.TypeText("ab");
    EXPECT_EQ(changes, 2);
}

TEST(TextSelection, ClampsToTheText) {
    const struct {
        const char* name;
        long start, length, wantStart, wantLength;
        const char* selText;
    } rows[] = {{"Inside", 1, 2, 1, 2, "bc"},
                {"Whole", 0, 6, 0, 6, "abcdef"},
                {"LengthTooLong", 4, 10, 4, 2, "ef"},
                {"StartPastEnd", 9, 3, 6, 0, ""},
                {"Negative", -3, -1, 0, 0, ""}};
    for (const auto& row : rows) {
        Parts parts;
        parts.txtName.SetText("abcdef");
        parts.txtName.SetSelection(row.start, row.length);
        EXPECT_EQ(parts.txtName.SelStart(), row.wantStart) << row.name;
        EXPECT_EQ(parts.txtName.SelLength(), row.wantLength) << row.name;
        EXPECT_EQ(parts.txtName.SelText(), row.selText) << row.name;
    }
}

TEST(CheckBoxValue, ClickOnChangeAndPressToggles) {
    Parts parts;
    auto& box = parts.chkStatic;
    int clicks = 0;
    box.Click.Connect([&] { ++clicks; });
    box.SetValue(0);
    EXPECT_EQ(clicks, 0);
    box.Press();
    EXPECT_EQ(box.Value(), 1);
    box.Press();
    EXPECT_EQ(box.Value(), 0);
    box.SetValue(2);
    box.Press();
    EXPECT_EQ(box.Value(), 1);
    EXPECT_EQ(clicks, 4);
    EXPECT_EQ(ErrorOf([&] { box.SetValue(3); }), 380);
}

TEST(OptionButtonGroups, ChoiceClearsOnlyItsOwnGroupAndClicksOnlyTheChosen) {
    Parts form;
    std::vector<std::string> clicks;
    form.optSub.Click.Connect([&] { clicks.push_back("optSub"); });
    form.optFunction.Click.Connect([&] { clicks.push_back("optFunction"); });
    for (auto* option : {&form.optSub, &form.optSub, &form.optPrivate, &form.optPageA, &form.optPageB})
        option->SetValue(true);
    form.optFunction.Press();  // clears optSub without its Click
    EXPECT_EQ(clicks, (std::vector<std::string>{"optSub", "optSub", "optFunction"}));
    EXPECT_FALSE(form.optSub.Value());
    EXPECT_TRUE(form.optFunction.Value());
    EXPECT_TRUE(form.optPrivate.Value());
    EXPECT_TRUE(form.optPageA.Value());
    EXPECT_TRUE(form.optPageB.Value());
    form.optFunction.SetValue(false);
    EXPECT_FALSE(form.optFunction.Value());
    EXPECT_EQ(clicks.size(), 3u);
}

TEST(TabStripTab, ClickWithPreviousOnlyOnRealChange) {
    Parts parts;
    std::vector<int> previous;
    parts.ctlTab.Click.Connect([&](int tab) { previous.push_back(tab); });
    for (int tab : {1, 1, 0}) parts.ctlTab.SetTab(tab);
    EXPECT_EQ(previous, (std::vector<int>{0, 1}));
    EXPECT_EQ(parts.ctlTab.TabCaption(1), "Two");
    EXPECT_EQ(ErrorOf([&] { parts.ctlTab.SetTab(-1); }), 380);
    EXPECT_EQ(ErrorOf([&] { parts.ctlTab.SetTab(2); }), 380);
}

TEST(ButtonPress, DisabledOrHiddenButtonDoesNotClick) {
    Parts form;
    auto& button = form.Add<CommandButton>("cmdOK", &form.Frame2);
    int clicks = 0;
    button.Click.Connect([&] { ++clicks; });
    button.Press();
    button.SetEnabled(false);
    button.Press();
    button.SetEnabled(true);
    form.Frame2.SetVisible(false);
    button.Press();
    EXPECT_EQ(clicks, 1);
}

}  // namespace
