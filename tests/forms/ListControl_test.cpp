// The item store of list and combo boxes: sorted filing, NewIndex, ItemData,
// insertion and removal around ListIndex, and the property errors.
#include <gtest/gtest.h>

#include "NoticeRecorder.h"
#include "forms/Form.h"
#include "vbrt/VbError.h"

using forms::ComboBox;
using forms::Form;
using forms::ListBox;
using forms::Prop;

namespace {

long ErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const vbrt::VbError& e) {
        return e.Number();
    }
    return 0;
}

std::vector<std::string> Entries(const forms::ListControl& list) {
    std::vector<std::string> out;
    for (int i = 0; i < list.ListCount(); ++i) out.push_back(list.List(i));
    return out;
}

struct SortRow {
    std::string name;
    std::vector<std::string> added;
    std::vector<std::string> expected;
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
    [](const auto& info) { return info.param.name; });

TEST(ListItemData, AddressedThroughNewIndex) {
    Form form("frmTest");
    auto& combo = form.Add<ComboBox>("cboCategory");
    combo.SetSorted(true);
    const std::vector<std::pair<std::string, long>> rows = {
        {"Strings", 7}, {"(All)", 0}, {"Dates", 3}, {"arrays", 9}};
    for (const auto& [text, id] : rows) {
        combo.AddItem(text);
        combo.SetItemData(combo.NewIndex(), id);
    }
    ASSERT_EQ(Entries(combo), (std::vector<std::string>{"(All)", "arrays", "Dates", "Strings"}));
    EXPECT_EQ(combo.ItemData(0), 0);
    EXPECT_EQ(combo.ItemData(1), 9);
    EXPECT_EQ(combo.ItemData(2), 3);
    EXPECT_EQ(combo.ItemData(3), 7);
}

TEST(ListUnsorted, AppendsOrInsertsAtIndex) {
    Form form("frmTest");
    auto& list = form.Add<ListBox>("lstItems");
    list.AddItem("b");
    list.AddItem("a");
    list.AddItem("first", 0);
    list.AddItem("last", 3);
    EXPECT_EQ(Entries(list), (std::vector<std::string>{"first", "b", "a", "last"}));
    EXPECT_EQ(list.NewIndex(), 3);
    EXPECT_EQ(ErrorOf([&] { list.AddItem("x", 5); }), 5);
    EXPECT_EQ(ErrorOf([&] { list.AddItem("x", -2); }), 5);
    EXPECT_EQ(list.ListCount(), 4);
}

TEST(ListErrors, OutOfRangeIndexes) {
    Form form("frmTest");
    auto& list = form.Add<ListBox>("lstItems");
    list.AddItem("only");
    const std::vector<std::pair<std::string, std::function<void()>>> cases = {
        {"List(1)", [&] { (void)list.List(1); }},         {"List(-1)", [&] { (void)list.List(-1); }},
        {"ItemData(1)", [&] { (void)list.ItemData(1); }}, {"SetItemData(2)", [&] { list.SetItemData(2, 4); }},
        {"SetList(1)", [&] { list.SetList(1, "x"); }},    {"RemoveItem(1)", [&] { list.RemoveItem(1); }},
        {"Selected(3)", [&] { (void)list.Selected(3); }},
    };
    for (const auto& [name, action] : cases) EXPECT_EQ(ErrorOf(action), 381) << name;
    EXPECT_EQ(ErrorOf([&] { list.SetListIndex(1); }), 380);
    EXPECT_EQ(ErrorOf([&] { list.SetListIndex(-2); }), 380);
    try {
        (void)list.List(4);
    } catch (const vbrt::VbError& e) {
        EXPECT_EQ(e.Description(), "Invalid property array index");
    }
}

TEST(ListIndexTracking, FollowsItsEntryAcrossInsertAndRemove) {
    Form form("frmTest");
    auto& list = form.Add<ListBox>("lstItems");
    list.SetSorted(true);
    for (const char* text : {"b", "d", "f"}) list.AddItem(text);
    list.SetListIndex(1);  // "d"
    list.AddItem("a");
    EXPECT_EQ(list.List(list.ListIndex()), "d");
    list.AddItem("z");
    EXPECT_EQ(list.ListIndex(), 2);
    list.RemoveItem(0);
    EXPECT_EQ(list.List(list.ListIndex()), "d");
    EXPECT_EQ(list.NewIndex(), -1);
    list.RemoveItem(list.ListIndex());
    EXPECT_EQ(list.ListIndex(), -1);
}

TEST(ListClear, EmptiesAndDeselects) {
    Form form("frmTest");
    auto& combo = form.Add<ComboBox>("cboCategory");
    combo.AddItem("one");
    combo.SetListIndex(0);
    ASSERT_EQ(combo.Text(), "one");
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

struct ClickRow {
    std::string name;
    int before;  // ListIndex before (-1 or an entry)
    int set;
    int clicks;
};

class ListIndexClick : public ::testing::TestWithParam<ClickRow> {};

TEST_P(ListIndexClick, RaisesClickAsVbDoes) {
    Form form("frmTest");
    auto& list = form.Add<ListBox>("lstItems");
    for (const char* text : {"a", "b", "c"}) list.AddItem(text);
    if (GetParam().before >= 0) list.SetListIndex(GetParam().before);
    formstest::EventLog log;
    log.Watch(list.Click, "Click");
    list.SetListIndex(GetParam().set);
    EXPECT_EQ(log.Count("Click"), GetParam().clicks);
    EXPECT_EQ(list.ListIndex(), GetParam().set);
}

INSTANTIATE_TEST_SUITE_P(Lists, ListIndexClick,
                         ::testing::Values(ClickRow{"NoneToEntry", -1, 1, 1},
                                           ClickRow{"EntryToOther", 0, 2, 1},
                                           ClickRow{"SameEntryAgain", 1, 1, 1},
                                           ClickRow{"EntryToNone", 1, -1, 1},
                                           ClickRow{"NoneToNone", -1, -1, 0}),
                         [](const auto& info) { return info.param.name; });

}  // namespace
