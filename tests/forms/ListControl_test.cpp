// List and combo boxes: sorted filing, NewIndex, ItemData, ListIndex across insertion and removal, the
// property errors, and selection as a user clicks and as code sets it.
#include <gtest/gtest.h>

#include <sstream>

#include "NoticeRecorder.h"
#include "forms/Form.h"

using namespace forms;
using formstest::ErrorOf;
using Strings = std::vector<std::string>;

namespace {

std::string Entries(const ListControl& list) {
    std::string out;
    for (int i = 0; i < list.ListCount(); ++i) out += (i ? "|" : "") + list.List(i);
    return out;
}

// A list of four names and a sorted combo of three categories, logging their events.
struct ListDialog {
    ListDialog() {
        for (const char* text : {"Alpha", "Bravo", "Charlie", "Delta"}) list.AddItem(text);
        combo.SetSorted(true);
        for (const char* text : {"(All)", "Dates", "Strings"}) combo.AddItem(text);
        list.Click.Connect([this] { log.push_back("C"); });
        list.DblClick.Connect([this] { log.push_back("D"); });
        combo.Click.Connect([this] { log.push_back("cboClick"); });
        combo.Change.Connect([this] { log.push_back("cboChange"); });
    }
    // The list's events so far, its selected entries, @ListIndex and, when multi-select, #SelCount.
    std::string Outcome() {
        std::string out = "|";
        for (const auto& entry : log) out.insert(out.size() - 1, entry);
        for (int i = 0; i < list.ListCount(); ++i)
            if (list.Selected(i)) out += std::to_string(i) + " ";
        out += "@" + std::to_string(list.ListIndex());
        return list.MultiSelect() ? out + " #" + std::to_string(list.SelCount()) : out;
    }
    Form form{"frmTest"};
    ListBox& list = form.Add<ListBox>("lstProcedures");
    ComboBox& combo = form.Add<ComboBox>("cboCategory");
    Strings log;
};

// Each added entry's NewIndex, then the entries in order.
TEST(SortedList, FilesEachEntryAtItsPlaceIgnoringLetterCase) {
    const std::pair<std::string, std::string> rows[] = {
        {"beta|Alpha|Gamma|delta", "0 0 2 2 Alpha|beta|delta|Gamma"},
        {"nc3|NC|N2|N_2|N 1", "0 0 0 0 0 N 1|N_2|N2|NC|nc3"},  // blank and underscore, digits, letters
        {"abc|ABC|Abc", "0 1 2 abc|ABC|Abc"},  // equal but for case: after those already there
        {"zebra|\311clair|eclair2|Apple|\351t\351", "0 0 1 0 3 Apple|\311clair|eclair2|\351t\351|zebra"},
        {"Abc|Ab|Abcd", "0 0 2 Ab|Abc|Abcd"}};
    for (const auto& [added, want] : rows) {
        Form form("frmTest");
        auto& list = form.Add<ListBox>("lstItems");
        list.SetSorted(true);
        std::string got, text;
        for (std::istringstream in(added); std::getline(in, text, '|');) {
            list.AddItem(text);
            got += std::to_string(list.NewIndex()) + " ";
        }
        EXPECT_EQ(got + Entries(list), want);
    }
}

TEST(Lists, InsertAtIndexIndexesOutsideRaiseAndListIndexFollowsItsEntry) {
    ListDialog d;
    ListBox& list = d.list;
    list.AddItem("first", 0);
    list.AddItem("last", 5);
    EXPECT_EQ(Entries(list), "first|Alpha|Bravo|Charlie|Delta|last");
    EXPECT_EQ(list.NewIndex(), 5);
    const std::pair<long, std::function<void()>> calls[] = {
        {5, [&] { list.AddItem("x", 7); }},   {5, [&] { list.AddItem("x", -2); }},
        {381, [&] { list.SetList(6, "x"); }}, {381, [&] { list.RemoveItem(-1); }},
        {380, [&] { list.SetListIndex(6); }}, {380, [&] { list.SetListIndex(-2); }}};
    for (std::size_t i = 0; i < std::size(calls); ++i)
        EXPECT_EQ(ErrorOf(calls[i].second), calls[i].first) << i;
    EXPECT_EQ(formstest::Raised([&] { (void)list.List(6); }).Description(), "Invalid property array index");
    list.RemoveItem(5);
    list.RemoveItem(0);
    list.SetSorted(true);  // ListIndex and the selection follow their entry across insert and remove
    list.SetListIndex(1);  // "Bravo"
    list.AddItem("Aardvark");
    list.AddItem("Zulu");
    list.RemoveItem(0);
    EXPECT_EQ(std::pair(list.List(list.ListIndex()), list.NewIndex()), std::pair(std::string("Bravo"), -1));
    list.SetMultiSelect(1);
    list.SetSelected(2, true);  // Charlie
    list.AddItem("Able");
    list.RemoveItem(list.ListIndex());
    d.log.clear();
    EXPECT_EQ(Entries(list) + " " + d.Outcome(), "Able|Alpha|Charlie|Delta|Zulu |2 @-1 #1");
}

TEST(Lists, ItemDataThroughNewIndexAndClearNoticesOnce) {
    ListDialog d;
    d.combo.SetListIndex(0);
    d.combo.AddItem("Zips");
    d.combo.SetItemData(d.combo.NewIndex(), 7);
    d.combo.AddItem("arrays");
    d.combo.SetItemData(d.combo.NewIndex(), 9);
    formstest::NoticeRecorder notices(d.combo);
    std::string data = std::to_string(d.combo.ItemData(1)) + std::to_string(d.combo.ItemData(2)) +
                       std::to_string(d.combo.ItemData(4)) + " " + Entries(d.combo);
    d.combo.Clear();
    d.combo.Clear();  // nothing left to clear: no notice
    EXPECT_EQ(data + " [" + d.combo.Text() + "] " + std::to_string(d.combo.ListIndex()) + " " +
                  std::to_string(notices.Count(Prop::List)) + std::to_string(notices.Count(Prop::ListIndex)),
              "907 (All)|arrays|Dates|Strings|Zips [] -1 11");
}

// Scripts of actions on the list, each = its outcome: m (MultiSelect 1), x (disabled), cN and dN (the user
// clicks or double-clicks entry N), +N and -N (Selected(N) from code), iN (ListIndex from code). From code,
// every set clicks but none to none; a single-select list keeps Selected and ListIndex together; a simple
// multi-select one toggles an entry per click, clicks only on a change, and ListIndex adds to the
// selection; a double click never deselects; a disabled list ignores the user, not code.
TEST(Lists, SelectionFollowsClicksAndCode) {
    std::istringstream rows(
        "i1=C|1 @1, i0 i2=CC|2 @2, i1 i1=CC|1 @1, i1 i-1=CC|@-1, i-1=|@-1, c1 c2=CC|2 @2, c1 +0=CC|0 @0, "
        "+0 -3=C|0 @0, +0 -0=CC|@-1, m=|@-1 #0, m c2=C|2 @2 #1, m c3 c0 c2=CCC|0 2 3 @2 #3, "
        "m c1 c2 c1=CCC|2 @1 #1, m c0 c0=CC|@0 #0, m +1 +1 +3 -1 i0=CCCC|0 3 @0 #2, "
        "m c2 d2 d0=CCDCD|0 2 @0 #2, x c1 d1=|@-1, x i1=C|1 @1");
    for (std::string script, want;
         std::getline(rows >> std::ws, script, '=') && std::getline(rows, want, ',');) {
        ListDialog d;
        std::istringstream in(script);
        for (std::string step; in >> step;) {
            int n = step.size() > 1 ? std::stoi(step.substr(1)) : 0;
            if (step[0] == 'm') d.list.SetMultiSelect(1);
            if (step[0] == 'x') d.list.SetEnabled(false);
            if (step[0] == 'c') d.list.ClickItem(n);
            if (step[0] == 'd') d.list.DoubleClickItem(n);
            if (step[0] == '+' || step[0] == '-') d.list.SetSelected(n, step[0] == '+');
            if (step[0] == 'i') d.list.SetListIndex(n);
        }
        EXPECT_EQ(d.Outcome(), want) << script;
    }
}

// A choice shows its entry and clicks; a drop-down list takes only its own entries; typing drops the
// selection and changes, never clicks.
TEST(Combos, ChoiceTypingAndDropDownList) {
    ListDialog d;
    d.combo.ChooseItem(1);
    EXPECT_EQ(d.combo.Text() + std::to_string(d.combo.ListIndex()), "Dates1");
    d.combo.SetListIndex(-1);
    EXPECT_EQ(d.combo.Text(), "");
    d.combo.SetListIndex(0);
    d.combo.TypeText("Dat", 84);
    EXPECT_EQ(d.combo.Text() + std::to_string(d.combo.ListIndex()) + std::to_string(d.combo.SelStart()) +
                  std::to_string(d.combo.SelLength()),
              "Dat-130");
    d.combo.SetText("Other");  // from code: Change once
    d.combo.SetText("Other");
    EXPECT_EQ(d.log, (Strings{"cboClick", "cboClick", "cboClick", "cboChange", "cboChange"}));
    d.combo.SetStyle(2);
    d.combo.SetText("strings");
    EXPECT_EQ(d.combo.Text() + std::to_string(d.combo.ListIndex()), "Strings2");
    EXPECT_EQ(ErrorOf([&] { d.combo.SetText("Nope"); }), 383);
    d.combo.RemoveItem(2);
    EXPECT_EQ(d.combo.Text(), "");
}

}  // namespace
