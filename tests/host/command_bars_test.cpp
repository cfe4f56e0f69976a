// The host's menu bars: the items the host starts with, where added items go,
// lookups, deletion, and click events that reach only live subscribers.
#include <gtest/gtest.h>

#include "host/TestModules.h"

namespace {

using hosttest::ErrorOf;
using Captions = std::vector<std::string>;

Captions CaptionsOf(host::CommandBar& bar) {
    Captions captions;
    for (const auto& item : bar.Items())
        captions.push_back((item->BeginGroup() ? "|" : "") + item->Caption());
    return captions;
}

TEST(HostBars, StartWithTheHostsOwnItems) {
    host::VBE vbe;
    host::CommandBar& code = vbe.CommandBars().Item("Code Window");
    EXPECT_EQ(CaptionsOf(code), (Captions{"Cut", "Copy", "Paste", "|Select All"}));
    EXPECT_EQ(code.Controls().Item("Paste")->HostAction(), "paste");
    EXPECT_EQ(code.Controls().Item(4)->HostAction(), "select-all");
    host::CommandBar& addIns = vbe.CommandBars().Item("Add-Ins");
    EXPECT_EQ(CaptionsOf(addIns), Captions{"Add-In Manager..."});
    EXPECT_EQ(addIns.Controls().Item(1)->HostAction(), "addin-manager");
}

TEST(HostBars, MissingBarsRaiseInvalidCall) {
    host::VBE vbe(host::VBEOptions{.addInsBar = false, .codeWindowBar = true});
    EXPECT_EQ(ErrorOf([&] { vbe.CommandBars().Item("Add-Ins"); }).Number(), 5);
    EXPECT_EQ(ErrorOf([&] { vbe.CommandBars().Item("Standard"); }).Number(), 5);
    EXPECT_EQ(vbe.CommandBars().Count(), 1);
}

struct AddRow {
    std::string name;
    int before;
    Captions captions;
    long error = 0;
};

class ControlsAddTest : public testing::TestWithParam<AddRow> {};

TEST_P(ControlsAddTest, PlacesItemOrRaises) {
    host::VBE vbe;
    host::CommandBar& bar = vbe.CommandBars().Item("Code Window");
    const AddRow& row = GetParam();
    auto error = ErrorOf([&] { bar.Controls().Add(host::msoControlButton, row.before)->SetCaption("New"); });
    EXPECT_EQ(error.Number(), row.error);
    EXPECT_EQ(CaptionsOf(bar), row.captions);
}

INSTANTIATE_TEST_SUITE_P(
    Positions, ControlsAddTest,
    testing::Values(AddRow{"ZeroAppends", 0, {"Cut", "Copy", "Paste", "|Select All", "New"}},
                    AddRow{"OneGoesFirst", 1, {"New", "Cut", "Copy", "Paste", "|Select All"}},
                    AddRow{"MiddlePosition", 3, {"Cut", "Copy", "New", "Paste", "|Select All"}},
                    AddRow{"CountPlusOneAppends", 5, {"Cut", "Copy", "Paste", "|Select All", "New"}},
                    AddRow{"PastCountPlusOneRaises", 6, {"Cut", "Copy", "Paste", "|Select All"}, 5},
                    AddRow{"NegativeRaises", -1, {"Cut", "Copy", "Paste", "|Select All"}, 5}),
    hosttest::RowName);

TEST(ControlsItem, FindsFirstByCaptionOrRaises) {
    host::VBE vbe;
    host::CommandBar& bar = vbe.CommandBars().Item("Code Window");
    auto added = bar.Controls().Add(host::msoControlButton, 1);
    added->SetCaption("Copy");
    EXPECT_EQ(bar.Controls().Item("Copy"), added);
    EXPECT_EQ(ErrorOf([&] { bar.Controls().Item("&Procvault..."); }).Number(), 5);
    EXPECT_EQ(ErrorOf([&] { bar.Controls().Item(0); }).Number(), 5);
}

TEST(ControlDelete, RemovesOnceNotifyingEveryChange) {
    host::VBE vbe;
    host::CommandBar& bar = vbe.CommandBars().Item("Add-Ins");
    int changes = 0;
    bar.OnChanged([&] { ++changes; });
    auto item = bar.Controls().Add();                               // 1
    item->SetCaption("&Procvault...");                              // 2
    bar.Controls().Item("Add-In Manager...")->SetBeginGroup(true);  // 3
    item->Delete();                                                 // 4
    EXPECT_TRUE(item->IsDeleted());
    EXPECT_EQ(ErrorOf([&] { item->Delete(); }).Number(), 5);
    bar.Controls().Add()->SetCaption("Temporary");  // 5, 6
    bar.Controls().Item("Temporary")->Delete();     // 7: held only by the bar while it deletes itself
    EXPECT_EQ(CaptionsOf(bar), Captions{"|Add-In Manager..."});
    EXPECT_EQ(changes, 7);
}

TEST(ClickEvents, ReachEveryLiveSourceOfThatItemOnly) {
    host::VBE vbe;
    host::CommandBar& bar = vbe.CommandBars().Item("Add-Ins");
    auto item = bar.Controls().Add();
    auto other = bar.Controls().Add();
    std::vector<std::string> clicks;
    auto first = vbe.Events().CommandBarEvents(*item);
    auto second = vbe.Events().CommandBarEvents(*item);
    first->OnClick(
        [&](host::CommandBarControl& c, bool&, bool&) { clicks.push_back("first:" + c.Caption()); });
    second->OnClick([&](host::CommandBarControl&, bool&, bool&) { clicks.push_back("second"); });
    other->Execute();
    item->SetCaption("&Procvault...");
    item->Execute();
    second.reset();  // the subscriber let go of its source
    item->Execute();
    EXPECT_EQ(clicks, (std::vector<std::string>{"first:&Procvault...", "second", "first:&Procvault..."}));
}

}  // namespace
