// Property changes: one notice per actual change and none for a no-op; text
// boxes, check boxes, option groups and the tab control.
#include <gtest/gtest.h>

#include "NoticeRecorder.h"
#include "forms/Form.h"
#include "vbrt/VbError.h"

using namespace forms;

namespace {

struct Parts : Form {
    Parts() : Form("frmParts") {
        ctlTab.SetTabs({"One", "Two"});
        lstItems.AddItem("a");
        lstItems.AddItem("b");
        lstMulti.SetMultiSelect(1);
        lstMulti.AddItem("a");
    }
    TabStrip& ctlTab = Add<TabStrip>("ctlTab");
    Label& Label1 = Add<Label>("Label1");
    TextBox& txtName = Add<TextBox>("txtName");
    CheckBox& chkStatic = Add<CheckBox>("chkStatic");
    OptionButton& optSub = Add<OptionButton>("optSub");
    ListBox& lstItems = Add<ListBox>("lstItems");
    ListBox& lstMulti = Add<ListBox>("lstMulti");
    ComboBox& cboCategory = Add<ComboBox>("cboCategory");
};

struct NoticeRow {
    std::string name;
    std::function<Control&(Parts&)> target;
    std::function<void(Parts&)> change;
    Prop prop;
};

class ChangeNotices : public ::testing::TestWithParam<NoticeRow> {};

// Each change twice: the first gives exactly one notice of its kind, the repeat none at all.
TEST_P(ChangeNotices, OncePerChangeNoneForRepeat) {
    Parts parts;
    Control& target = GetParam().target(parts);
    formstest::NoticeRecorder notices(target);
    GetParam().change(parts);
    EXPECT_EQ(notices.Count(GetParam().prop), 1);
    notices.notices.clear();
    GetParam().change(parts);
    EXPECT_TRUE(notices.notices.empty()) << notices.notices.size() << " notices on a repeat";
}

Control& Name(Parts& p) {
    return p.txtName;
}
Control& Items(Parts& p) {
    return p.lstItems;
}

INSTANTIATE_TEST_SUITE_P(
    Forms, ChangeNotices,
    ::testing::Values(
        NoticeRow{"Caption", [](Parts& p) -> Control& { return p.Label1; },
                  [](Parts& p) { p.Label1.SetCaption("Name"); }, Prop::Caption},
        NoticeRow{"FormCaption", [](Parts& p) -> Control& { return p; },
                  [](Parts& p) { p.SetCaption("Procvault"); }, Prop::Caption},
        NoticeRow{"Text", Name, [](Parts& p) { p.txtName.SetText("abc"); }, Prop::Text},
        NoticeRow{"Enabled", Name, [](Parts& p) { p.txtName.SetEnabled(false); }, Prop::Enabled},
        NoticeRow{"Visible", Name, [](Parts& p) { p.txtName.SetVisible(false); }, Prop::Visible},
        NoticeRow{"Geometry", Name, [](Parts& p) { p.txtName.Move(120, 240, 3000, 315); }, Prop::Geometry},
        NoticeRow{"MaxLength", Name, [](Parts& p) { p.txtName.SetMaxLength(30); }, Prop::MaxLength},
        NoticeRow{"CheckValue", [](Parts& p) -> Control& { return p.chkStatic; },
                  [](Parts& p) { p.chkStatic.SetValue(1); }, Prop::Value},
        NoticeRow{"OptionValue", [](Parts& p) -> Control& { return p.optSub; },
                  [](Parts& p) { p.optSub.SetValue(true); }, Prop::Value},
        NoticeRow{"ListIndex", Items, [](Parts& p) { p.lstItems.SetListIndex(1); }, Prop::ListIndex},
        NoticeRow{"Selected", [](Parts& p) -> Control& { return p.lstMulti; },
                  [](Parts& p) { p.lstMulti.SetSelected(0, true); }, Prop::Selected},
        NoticeRow{"ListText", Items, [](Parts& p) { p.lstItems.SetList(0, "z"); }, Prop::List},
        NoticeRow{"Tab", [](Parts& p) -> Control& { return p.ctlTab; }, [](Parts& p) { p.ctlTab.SetTab(1); },
                  Prop::Tab},
        NoticeRow{"ComboText", [](Parts& p) -> Control& { return p.cboCategory; },
                  [](Parts& p) { p.cboCategory.SetText("x"); }, Prop::Text},
        NoticeRow{"Selection", Name,
                  [](Parts& p) {
                      p.txtName.SetText("hello");
                      p.txtName.SetSelection(1, 3);
                  },
                  Prop::Selection}),
    [](const auto& info) { return info.param.name; });

TEST(ListNotices, AddItemGivesOneListNotice) {
    Parts parts;
    formstest::NoticeRecorder notices(parts.lstItems);
    parts.lstItems.AddItem("c");
    EXPECT_EQ(notices.notices, std::vector<Prop>{Prop::List});
}

TEST(TextBoxLength, MaxLengthLimitsTypingOnly) {
    Parts parts;
    auto& box = parts.txtName;
    box.SetMaxLength(6);
    box.SetText("longer than six");
    EXPECT_EQ(box.Text(), "longer than six");
    box.TypeText("typed too long");
    EXPECT_EQ(box.Text(), "typed ");
    EXPECT_EQ(box.SelStart(), 6);
    box.SetMaxLength(0);
    box.TypeText("no limit at all now");
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

TEST(TextBoxChange, LockedBoxRefusesTyping) {
    Parts parts;
    parts.txtName.SetLocked(true);
    parts.txtName.TypeText("x");
    EXPECT_EQ(parts.txtName.Text(), "");
}

struct SelectionRow {
    std::string name;
    long start, length;
    long wantStart, wantLength;
    std::string selText;
};

class TextSelection : public ::testing::TestWithParam<SelectionRow> {};

TEST_P(TextSelection, ClampsToTheText) {
    Parts parts;
    parts.txtName.SetText("abcdef");
    parts.txtName.SetSelection(GetParam().start, GetParam().length);
    EXPECT_EQ(parts.txtName.SelStart(), GetParam().wantStart);
    EXPECT_EQ(parts.txtName.SelLength(), GetParam().wantLength);
    EXPECT_EQ(parts.txtName.SelText(), GetParam().selText);
}

INSTANTIATE_TEST_SUITE_P(Forms, TextSelection,
                         ::testing::Values(SelectionRow{"Inside", 1, 2, 1, 2, "bc"},
                                           SelectionRow{"Whole", 0, 6, 0, 6, "abcdef"},
                                           SelectionRow{"LengthTooLong", 4, 10, 4, 2, "ef"},
                                           SelectionRow{"StartPastEnd", 9, 3, 6, 0, ""},
                                           SelectionRow{"Negative", -3, -1, 0, 0, ""}),
                         [](const auto& info) { return info.param.name; });

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
    EXPECT_THROW(box.SetValue(3), vbrt::VbError);
}

// Two frames of option buttons plus one loose button per tab page of the form.
struct OptionGroups : Form {
    OptionGroups() : Form("frmOptions") {
        ctlTab.SetTabs({"A", "B"});
        optPageA.SetTabPage(0);
        optPageB.SetTabPage(1);
    }
    TabStrip& ctlTab = Add<TabStrip>("ctlTab");
    Frame& Frame2 = Add<Frame>("Frame2");
    Frame& Frame3 = Add<Frame>("Frame3");
    OptionButton& optSub = Add<OptionButton>("optSub", &Frame2);
    OptionButton& optFunction = Add<OptionButton>("optFunction", &Frame2);
    OptionButton& optPrivate = Add<OptionButton>("optPrivate", &Frame3);
    OptionButton& optPublic = Add<OptionButton>("optPublic", &Frame3);
    OptionButton& optPageA = Add<OptionButton>("optPageA");
    OptionButton& optPageB = Add<OptionButton>("optPageB");
};

TEST(OptionButtonGroups, ChoiceClearsOnlyItsOwnGroup) {
    OptionGroups form;
    form.optSub.SetValue(true);
    form.optPrivate.SetValue(true);
    form.optPageA.SetValue(true);
    form.optPageB.SetValue(true);
    form.optFunction.Press();
    EXPECT_FALSE(form.optSub.Value());
    EXPECT_TRUE(form.optFunction.Value());
    EXPECT_TRUE(form.optPrivate.Value());
    EXPECT_TRUE(form.optPageA.Value());
    EXPECT_TRUE(form.optPageB.Value());
}

TEST(OptionButtonGroups, ClickEvenWhenAlreadyChosenButNotWhenCleared) {
    OptionGroups form;
    std::vector<std::string> clicks;
    form.optSub.Click.Connect([&] { clicks.push_back("optSub"); });
    form.optFunction.Click.Connect([&] { clicks.push_back("optFunction"); });
    form.optSub.SetValue(true);
    form.optSub.SetValue(true);
    form.optFunction.SetValue(true);  // clears optSub without its Click
    form.optFunction.SetValue(false);
    EXPECT_EQ(clicks, (std::vector<std::string>{"optSub", "optSub", "optFunction"}));
    EXPECT_FALSE(form.optFunction.Value());
    EXPECT_FALSE(form.optSub.Value());
}

TEST(TabStripTab, ClickWithPreviousOnlyOnRealChange) {
    Parts parts;
    std::vector<int> previous;
    parts.ctlTab.Click.Connect([&](int tab) { previous.push_back(tab); });
    parts.ctlTab.SetTab(1);
    parts.ctlTab.SetTab(1);
    parts.ctlTab.SetTab(0);
    EXPECT_EQ(previous, (std::vector<int>{0, 1}));
    EXPECT_EQ(parts.ctlTab.TabCaption(1), "Two");
    for (int bad : {-1, 2}) {
        try {
            parts.ctlTab.SetTab(bad);
            ADD_FAILURE() << bad;
        } catch (const vbrt::VbError& e) {
            EXPECT_EQ(e.Number(), 380);
        }
    }
}

TEST(ButtonPress, DisabledOrHiddenButtonDoesNotClick) {
    Form form("frmTest");
    auto& frame = form.Add<Frame>("Frame1");
    auto& button = form.Add<CommandButton>("cmdOK", &frame);
    int clicks = 0;
    button.Click.Connect([&] { ++clicks; });
    button.Press();
    button.SetEnabled(false);
    button.Press();
    button.SetEnabled(true);
    frame.SetVisible(false);
    button.Press();
    EXPECT_EQ(clicks, 1);
}

}  // namespace
