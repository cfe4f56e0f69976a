// Selection in list boxes (single and multi-select) and combo boxes, as a user
// clicks and as code sets it.
#include <gtest/gtest.h>

#include "NoticeRecorder.h"
#include "forms/Form.h"
#include "vbrt/VbError.h"

using forms::ComboBox;
using forms::Form;
using forms::ListBox;
using forms::Prop;

namespace {

std::vector<int> SelectedEntries(const ListBox& list) {
    std::vector<int> out;
    for (int i = 0; i < list.ListCount(); ++i)
        if (list.Selected(i)) out.push_back(i);
    return out;
}

class ListFixture : public ::testing::Test {
protected:
    ListFixture() : list(form.Add<ListBox>("lstProcedures")) {
        for (const char* text : {"Alpha", "Bravo", "Charlie", "Delta"}) list.AddItem(text);
        log.Watch(list.Click, "Click");
        log.Watch(list.DblClick, "DblClick");
    }
    Form form{"frmTest"};
    ListBox& list;
    formstest::EventLog log;
};

struct ToggleRow {
    std::string name;
    std::vector<int> clicks;
    std::vector<int> selected;
    int listIndex;
};

class SimpleMultiSelect : public ::testing::TestWithParam<ToggleRow> {};

TEST_P(SimpleMultiSelect, EachClickTogglesOneEntry) {
    Form form("frmTest");
    auto& list = form.Add<ListBox>("lstProcedures");
    list.SetMultiSelect(1);
    for (const char* text : {"a", "b", "c", "d"}) list.AddItem(text);
    int clicks = 0;
    list.Click.Connect([&] { ++clicks; });
    for (int i : GetParam().clicks) list.ClickItem(i);
    EXPECT_EQ(SelectedEntries(list), GetParam().selected);
    EXPECT_EQ(list.ListIndex(), GetParam().listIndex);
    EXPECT_EQ(list.SelCount(), static_cast<int>(GetParam().selected.size()));
    EXPECT_EQ(clicks, static_cast<int>(GetParam().clicks.size()));
}

INSTANTIATE_TEST_SUITE_P(Lists, SimpleMultiSelect,
                         ::testing::Values(ToggleRow{"Nothing", {}, {}, -1}, ToggleRow{"One", {2}, {2}, 2},
                                           ToggleRow{"Several", {3, 0, 2}, {0, 2, 3}, 2},
                                           ToggleRow{"ToggledOff", {1, 2, 1}, {2}, 1},
                                           ToggleRow{"AllOffAgain", {0, 0}, {}, 0}),
                         [](const auto& info) { return info.param.name; });

TEST_F(ListFixture, SingleSelectKeepsListIndexAndSelectedTogether) {
    list.ClickItem(1);
    list.ClickItem(2);
    EXPECT_EQ(SelectedEntries(list), std::vector<int>{2});
    EXPECT_EQ(list.ListIndex(), 2);
    list.SetSelected(0, true);
    EXPECT_EQ(list.ListIndex(), 0);
    list.SetSelected(3, false);  // not the selected one: no change
    EXPECT_EQ(list.ListIndex(), 0);
    list.SetSelected(0, false);
    EXPECT_EQ(list.ListIndex(), -1);
    EXPECT_EQ(log.Count("Click"), 4);
}

TEST_F(ListFixture, SetSelectedRaisesClickOnlyOnChange) {
    list.SetMultiSelect(1);
    formstest::NoticeRecorder notices(list);
    list.SetSelected(1, true);
    list.SetSelected(1, true);
    list.SetSelected(3, true);
    list.SetSelected(1, false);
    EXPECT_EQ(SelectedEntries(list), std::vector<int>{3});
    EXPECT_EQ(log.Count("Click"), 3);
    EXPECT_EQ(notices.Count(Prop::Selected), 3);
    EXPECT_EQ(list.ListIndex(), -1);
}

TEST_F(ListFixture, ListIndexFromCodeSelectsInMultiSelectList) {
    list.SetMultiSelect(1);
    list.SetSelected(3, true);
    list.SetListIndex(0);
    EXPECT_EQ(SelectedEntries(list), (std::vector<int>{0, 3}));
}

TEST_F(ListFixture, SelectionFlagsMoveWithTheirEntries) {
    list.SetMultiSelect(1);
    list.SetSorted(true);
    list.ClickItem(1);  // Bravo
    list.AddItem("Aardvark");
    EXPECT_EQ(SelectedEntries(list), std::vector<int>{2});
    list.RemoveItem(0);
    EXPECT_EQ(SelectedEntries(list), std::vector<int>{1});
    EXPECT_EQ(list.List(list.ListIndex()), "Bravo");
}

TEST_F(ListFixture, DoubleClickNeverDeselects) {
    list.SetMultiSelect(1);
    list.ClickItem(2);
    list.DoubleClickItem(2);
    EXPECT_EQ(SelectedEntries(list), std::vector<int>{2});
    list.DoubleClickItem(0);
    EXPECT_EQ(SelectedEntries(list), (std::vector<int>{0, 2}));
    EXPECT_EQ(list.ListIndex(), 0);
    EXPECT_EQ(log.entries, (std::vector<std::string>{"Click", "Click", "DblClick", "Click", "DblClick"}));
}

TEST_F(ListFixture, DisabledListIgnoresTheUser) {
    list.SetEnabled(false);
    list.ClickItem(1);
    list.DoubleClickItem(1);
    EXPECT_EQ(list.ListIndex(), -1);
    EXPECT_TRUE(log.entries.empty());
    list.SetListIndex(1);  // code still can
    EXPECT_EQ(list.ListIndex(), 1);
}

class ComboFixture : public ::testing::Test {
protected:
    ComboFixture() : combo(form.Add<ComboBox>("cboCategory")) {
        combo.SetSorted(true);
        for (const char* text : {"(All)", "Dates", "Strings"}) combo.AddItem(text);
        log.Watch(combo.Click, "Click");
        log.Watch(combo.Change, "Change");
        combo.KeyDown.Connect([this](int key, int shift) {
            log.entries.push_back("KeyDown" + std::to_string(key) + "/" + std::to_string(shift));
        });
    }
    Form form{"frmTest"};
    ComboBox& combo;
    formstest::EventLog log;
};

TEST_F(ComboFixture, ChoosingShowsTheEntryAndClicks) {
    combo.ChooseItem(1);
    EXPECT_EQ(combo.Text(), "Dates");
    EXPECT_EQ(combo.ListIndex(), 1);
    combo.SetListIndex(2);
    EXPECT_EQ(combo.Text(), "Strings");
    EXPECT_EQ(log.entries, (std::vector<std::string>{"Click", "Click"}));
}

TEST_F(ComboFixture, TypingDropsTheSelection) {
    combo.SetListIndex(0);
    log.entries.clear();
    combo.TypeText("Dat", 84);
    EXPECT_EQ(combo.Text(), "Dat");
    EXPECT_EQ(combo.ListIndex(), -1);
    EXPECT_EQ(combo.SelStart(), 3);
    EXPECT_EQ(combo.SelLength(), 0);
    combo.TypeText("dates");
    EXPECT_EQ(combo.ListIndex(), -1);
    EXPECT_EQ(log.entries, (std::vector<std::string>{"KeyDown84/0", "Change", "KeyDown0/0", "Change"}));
}

TEST_F(ComboFixture, TextFromCodeRaisesChange) {
    combo.SetText("Other");
    combo.SetText("Other");
    EXPECT_EQ(log.Count("Change"), 1);
    EXPECT_EQ(log.Count("Click"), 0);
    EXPECT_EQ(combo.ListIndex(), -1);
}

TEST_F(ComboFixture, DropDownListOnlyTakesItsEntries) {
    combo.SetStyle(2);
    combo.SetText("strings");
    EXPECT_EQ(combo.ListIndex(), 2);
    EXPECT_EQ(combo.Text(), "Strings");
    try {
        combo.SetText("Nope");
        ADD_FAILURE() << "no error";
    } catch (const vbrt::VbError& e) {
        EXPECT_EQ(e.Number(), 383);
    }
    combo.RemoveItem(2);
    EXPECT_EQ(combo.Text(), "");
}

TEST_F(ComboFixture, ListIndexMinusOneEmptiesTheText) {
    combo.SetListIndex(1);
    combo.SetListIndex(-1);
    EXPECT_EQ(combo.Text(), "");
    EXPECT_EQ(log.Count("Click"), 2);
}

}  // namespace
