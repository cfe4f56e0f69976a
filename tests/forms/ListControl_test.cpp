// List and combo boxes: sorted filing, NewIndex, ItemData, ListIndex across
// insertion and removal, the property errors, and selection as a user clicks
// and as code sets it.
#include <gtest/gtest.h>

#include "NoticeRecorder.h"
#include "forms/Form.h"

using namespace forms;
using formstest::ErrorOf;
using Strings = std::vector<std::string>;

namespace {

Strings Entries(const ListControl& list) {
    Strings out;
    for (int i = 0; i < list.ListCount(); ++i) out.push_back(list.List(i));
    return out;
}

std::vector<int> SelectedEntries(const ListBox& list) {
    std::vector<int> out;
    for (int i = 0; i < list.ListCount(); ++i)
        if (list.Selected(i)) out.push_back(i);
    return out;
}

// A list of four names and a sorted combo of three categories, logging their events.
class Lists : public ::testing::Test {
protected:
    Lists() {
        for (const char* text : {"Alpha", "Bravo", "Charlie", "Delta"}) list.AddItem(text);
        combo.SetSorted(true);
        for (const char* text : {"(All)", "Dates", "Strings"}) combo.AddItem(text);
        log.Watch(list.Click, "Click");
        log.Watch(list.DblClick, "DblClick");
        log.Watch(combo.Click, "cboClick");
        log.Watch(combo.Change, "cboChange");
        combo.KeyDown.Connect([this](int key, int shift) {
            log.entries.push_back("KeyDown" + std::to_string(key) + "/" + std::to_string(shift));
        });
    }
    Form form{"frmTest"};
    ListBox& list = form.Add<ListBox>("lstProcedures");
    ComboBox& combo = form.Add<ComboBox>("cboCategory");
    formstest::EventLog log;
};

struct SortRow {
    const char* name;
    Strings added, expected;
    std::vector<int> newIndexes;
};

class SortedInsertion : public ::testing::TestWithParam<SortRow> {};

TEST_P(SortedInsertion, FilesEachEntryAtItsPlace) {
    Form form("frmTest");
    auto& list = form.Add<ListBox>("lstItems");
    list.SetSorted(true);
    std::vector<int> newIndexes;
    for (const auto& text : GetParam().added) {
        list.AddItem(text);
        newIndexes.push_back(list.NewIndex());
    }
    EXPECT_EQ(Entries(list), GetParam().expected);
    EXPECT_EQ(newIndexes, GetParam().newIndexes);
}

INSTANTIATE_TEST_SUITE_P(
    Lists, SortedInsertion,
    ::testing::Values(
        SortRow{"Alphabetical",
                {"Delta", "Alpha", "Charlie", "Bravo"},
                {"Alpha", "Bravo", "Charlie", "Delta"},
                {0, 0, 1, 1}},
        SortRow{"BlanksAndUnderscoreThenDigitsThenLetters",
                {"nc3", "NC", "N2", "N_2", "N 1"},
                {"N 1", "N_2", "N2", "NC", "nc3"},
                {0, 0, 0, 0, 0}},
        SortRow{"AllHeadsLettersAndDigits", {"Zeta", "(All)", "1st"}, {"(All)", "1st", "Zeta"}, {0, 0, 1}},
        SortRow{"CaseOnlyDifferencesKeepTheirOrder", {"abc", "ABC", "Abc"}, {"abc", "ABC", "Abc"}, {0, 1, 2}},
        SortRow{"AccentedNextToTheirBaseLetter",
                {"zebra", "\311clair", "eclair2", "Apple", "\351t\351"},
                {"Apple", "\311clair", "eclair2", "\351t\351", "zebra"},
                {0, 0, 1, 0, 3}},
        SortRow{"LetterCaseIgnored",
                {"beta", "Alpha", "Gamma", "delta"},
                {"Alpha", "beta", "delta", "Gamma"},
                {0, 0, 2, 2}},
        SortRow{"EqualTextGoesAfter", {"same", "SAME", "Same"}, {"same", "SAME", "Same"}, {0, 1, 2}},
        SortRow{"AllHeadsCategories",
                {"Utilities", "(All)", "Arrays"},
                {"(All)", "Arrays", "Utilities"},
                {0, 0, 1}},
        SortRow{
            "PropertyPartsAmongNames", {"Hello", "Get Value", "Go"}, {"Get Value", "Go", "Hello"}, {0, 0, 1}},
        SortRow{"PrefixBeforeLonger", {"Abc", "Ab", "Abcd"}, {"Ab", "Abc", "Abcd"}, {0, 0, 2}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Lists, ItemDataAddressedThroughNewIndex) {
    for (const auto& [text, id] : std::vector<std::pair<std::string, long>>{{"Zips", 7}, {"arrays", 9}}) {
        combo.AddItem(text);
        combo.SetItemData(combo.NewIndex(), id);
    }
    ASSERT_EQ(Entries(combo), (Strings{"(All)", "arrays", "Dates", "Strings", "Zips"}));
    EXPECT_EQ(combo.ItemData(1), 9);
    EXPECT_EQ(combo.ItemData(2), 0);
    EXPECT_EQ(combo.ItemData(4), 7);
}

TEST_F(Lists, UnsortedAppendsOrInsertsAtIndex) {
    list.AddItem("first", 0);
    list.AddItem("last", 5);
    EXPECT_EQ(Entries(list), (Strings{"first", "Alpha", "Bravo", "Charlie", "Delta", "last"}));
    EXPECT_EQ(list.NewIndex(), 5);
    EXPECT_EQ(ErrorOf([&] { list.AddItem("x", 7); }), 5);
    EXPECT_EQ(ErrorOf([&] { list.AddItem("x", -2); }), 5);
    EXPECT_EQ(list.ListCount(), 6);
}

TEST_F(Lists, OutOfRangeIndexesRaise381Or380) {
    const std::vector<std::pair<std::string, std::function<void()>>> cases = {
        {"List(4)", [&] { (void)list.List(4); }},         {"List(-1)", [&] { (void)list.List(-1); }},
        {"ItemData(4)", [&] { (void)list.ItemData(4); }}, {"SetItemData(5)", [&] { list.SetItemData(5, 4); }},
        {"SetList(4)", [&] { list.SetList(4, "x"); }},    {"RemoveItem(4)", [&] { list.RemoveItem(4); }},
        {"Selected(6)", [&] { (void)list.Selected(6); }},
    };
    for (const auto& [name, action] : cases) EXPECT_EQ(ErrorOf(action), 381) << name;
    EXPECT_EQ(ErrorOf([&] { list.SetListIndex(4); }), 380);
    EXPECT_EQ(ErrorOf([&] { list.SetListIndex(-2); }), 380);
    try {
        (void)list.List(4);
    } catch (const vbrt::VbError& e) {
        EXPECT_EQ(e.Description(), "Invalid property array index");
    }
}

TEST_F(Lists, ListIndexAndSelectionFollowTheirEntryAcrossInsertAndRemove) {
    list.SetSorted(true);
    list.SetListIndex(1);  // "Bravo"
    list.AddItem("Aardvark");
    EXPECT_EQ(list.List(list.ListIndex()), "Bravo");
    list.AddItem("Zulu");
    EXPECT_EQ(list.ListIndex(), 2);
    list.RemoveItem(0);
    EXPECT_EQ(list.List(list.ListIndex()), "Bravo");
    EXPECT_EQ(list.NewIndex(), -1);
    list.SetMultiSelect(1);
    list.SetSelected(2, true);  // Charlie
    list.AddItem("Able");
    EXPECT_EQ(SelectedEntries(list), std::vector<int>{3});
    list.RemoveItem(list.ListIndex());
    EXPECT_EQ(list.ListIndex(), -1);
    EXPECT_EQ(Entries(list)[SelectedEntries(list).at(0)], "Charlie");
}

TEST_F(Lists, ClearEmptiesAndDeselectsOnce) {
    combo.SetListIndex(0);
    formstest::NoticeRecorder notices(combo);
    combo.Clear();
    EXPECT_EQ(combo.ListCount(), 0);
    EXPECT_EQ(combo.ListIndex(), -1);
    EXPECT_EQ(combo.Text(), "");
    EXPECT_EQ(notices.Count(Prop::List), 1);
    EXPECT_EQ(notices.Count(Prop::ListIndex), 1);
    notices.notices.clear();
    combo.Clear();
    EXPECT_TRUE(notices.notices.empty());
}

TEST(ListIndexClick, RaisesClickOnEveryCodeSetExceptNoneToNone) {
    const struct {
        const char* name;
        int before, set, clicks;  // before: ListIndex first set, -1 for none
    } rows[] = {{"NoneToEntry", -1, 1, 1},
                {"EntryToOther", 0, 2, 1},
                {"SameEntryAgain", 1, 1, 1},
                {"EntryToNone", 1, -1, 1},
                {"NoneToNone", -1, -1, 0}};
    for (const auto& row : rows) {
        Form form("frmTest");
        auto& list = form.Add<ListBox>("lstItems");
        for (const char* text : {"a", "b", "c"}) list.AddItem(text);
        if (row.before >= 0) list.SetListIndex(row.before);
        int clicks = 0;
        list.Click.Connect([&] { ++clicks; });
        list.SetListIndex(row.set);
        EXPECT_EQ(clicks, row.clicks) << row.name;
        EXPECT_EQ(list.ListIndex(), row.set) << row.name;
    }
}

TEST(SimpleMultiSelect, EachClickTogglesOneEntry) {
    const struct {
        const char* name;
        std::vector<int> clicks, selected;
        int listIndex;
    } rows[] = {{"Nothing", {}, {}, -1},
                {"One", {2}, {2}, 2},
                {"Several", {3, 0, 2}, {0, 2, 3}, 2},
                {"ToggledOff", {1, 2, 1}, {2}, 1},
                {"AllOffAgain", {0, 0}, {}, 0}};
    for (const auto& row : rows) {
        Form form("frmTest");
        auto& list = form.Add<ListBox>("lstProcedures");
        list.SetMultiSelect(1);
        for (const char* text : {"a", "b", "c", "d"}) list.AddItem(text);
        int clicks = 0;
        list.Click.Connect([&] { ++clicks; });
        for (int i : row.clicks) list.ClickItem(i);
        EXPECT_EQ(SelectedEntries(list), row.selected) << row.name;
        EXPECT_EQ(list.ListIndex(), row.listIndex) << row.name;
        EXPECT_EQ(list.SelCount(), static_cast<int>(row.selected.size())) << row.name;
        EXPECT_EQ(clicks, static_cast<int>(row.clicks.size())) << row.name;
    }
}

TEST_F(Lists, SingleSelectKeepsListIndexAndSelectedTogether) {
    list.ClickItem(1);
    list.ClickItem(2);
    EXPECT_EQ(SelectedEntries(list), std::vector<int>{2});
    list.SetSelected(0, true);
    EXPECT_EQ(list.ListIndex(), 0);
    list.SetSelected(3, false);  // not the selected one: no change
    EXPECT_EQ(list.ListIndex(), 0);
    list.SetSelected(0, false);
    EXPECT_EQ(list.ListIndex(), -1);
    EXPECT_EQ(log.Count("Click"), 4);
}

TEST_F(Lists, MultiSelectSetSelectedClicksOnChangeAndListIndexSelects) {
    list.SetMultiSelect(1);
    formstest::NoticeRecorder notices(list);
    for (auto [i, on] : std::vector<std::pair<int, bool>>{{1, true}, {1, true}, {3, true}, {1, false}})
        list.SetSelected(i, on);
    EXPECT_EQ(SelectedEntries(list), std::vector<int>{3});
    EXPECT_EQ(log.Count("Click"), 3);
    EXPECT_EQ(notices.Count(Prop::Selected), 3);
    EXPECT_EQ(list.ListIndex(), -1);
    list.SetListIndex(0);
    EXPECT_EQ(SelectedEntries(list), (std::vector<int>{0, 3}));
}

TEST_F(Lists, DoubleClickNeverDeselects) {
    list.SetMultiSelect(1);
    list.ClickItem(2);
    list.DoubleClickItem(2);
    EXPECT_EQ(SelectedEntries(list), std::vector<int>{2});
    list.DoubleClickItem(0);
    EXPECT_EQ(SelectedEntries(list), (std::vector<int>{0, 2}));
    EXPECT_EQ(list.ListIndex(), 0);
    EXPECT_EQ(log.entries, (Strings{"Click", "Click", "DblClick", "Click", "DblClick"}));
}

TEST_F(Lists, DisabledListIgnoresTheUserButNotCode) {
    list.SetEnabled(false);
    list.ClickItem(1);
    list.DoubleClickItem(1);
    EXPECT_EQ(list.ListIndex(), -1);
    EXPECT_TRUE(log.entries.empty());
    list.SetListIndex(1);
    EXPECT_EQ(list.ListIndex(), 1);
}

TEST_F(Lists, ComboChoiceShowsTheEntryAndClicksMinusOneEmpties) {
    combo.ChooseItem(1);
    EXPECT_EQ(combo.Text(), "Dates");
    EXPECT_EQ(combo.ListIndex(), 1);
    combo.SetListIndex(2);
    EXPECT_EQ(combo.Text(), "Strings");
    combo.SetListIndex(-1);
    EXPECT_EQ(combo.Text(), "");
    EXPECT_EQ(log.entries, (Strings{"cboClick", "cboClick", "cboClick"}));
}

TEST_F(Lists, ComboTypingDropsTheSelection) {
    combo.SetListIndex(0);
    log.entries.clear();
    combo.TypeText("Dat", 84);
    EXPECT_EQ(combo.Text(), "Dat");
    EXPECT_EQ(combo.ListIndex(), -1);
    EXPECT_EQ(combo.SelStart(), 3);
    EXPECT_EQ(combo.SelLength(), 0);
    combo.TypeText("dates");
    EXPECT_EQ(combo.ListIndex(), -1);
    EXPECT_EQ(log.entries, (Strings{"KeyDown84/0", "cboChange", "KeyDown0/0", "cboChange"}));
    combo.SetText("Other");  // from code: Change once, never Click
    combo.SetText("Other");
    EXPECT_EQ(log.Count("cboChange"), 3);
    EXPECT_EQ(log.Count("cboClick"), 0);
}

TEST_F(Lists, DropDownListOnlyTakesItsEntries) {
    combo.SetStyle(2);
    combo.SetText("strings");
    EXPECT_EQ(combo.ListIndex(), 2);
    EXPECT_EQ(combo.Text(), "Strings");
    EXPECT_EQ(ErrorOf([&] { combo.SetText("Nope"); }), 383);
    combo.RemoveItem(2);
    EXPECT_EQ(combo.Text(), "");
}

}  // namespace
