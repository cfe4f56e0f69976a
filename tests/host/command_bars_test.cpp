// The host's menu bars: the items the host starts with, where added items go,
// lookups, deletion, and click events that reach only live subscribers.
#include <gtest/gtest.h>

#include "host/VBE.h"
#include "vbrt/VbError.h"

namespace {

std::vector<std::string> Captions(host::CommandBar& bar) {
    std::vector<std::string> captions;
    for (const auto& item : bar.Items())
        captions.push_back((item->BeginGroup() ? "|" : "") + item->Caption());
    return captions;
}

long ErrorOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const vbrt::VbError& e) {
        return e.Number();
    }
    return 0;
}

TEST(HostBars, StartWithTheHostsOwnItems) {
    host::VBE vbe;
    host::CommandBar& code = vbe.CommandBars().Item("Code Window");
    EXPECT_EQ(Captions(code), (std::vector<std::string>{"Cut", "Copy", "Paste", "|Select All"}));
    EXPECT_EQ(code.Controls().Item("Paste")->HostAction(), "paste");
    EXPECT_EQ(code.Controls().Item(4)->HostAction(), "select-all");
    host::CommandBar& addIns = vbe.CommandBars().Item("Add-Ins");
    EXPECT_EQ(Captions(addIns), std::vector<std::string>{"Add-In Manager..."});
    EXPECT_EQ(addIns.Controls().Item(1)->HostAction(), "addin-manager");
}

TEST(HostBars, MissingBarsRaiseInvalidCall) {
    host::VBE vbe(host::VBEOptions{.addInsBar = false, .codeWindowBar = true});
    EXPECT_EQ(ErrorOf([&] { vbe.CommandBars().Item("Add-Ins"); }), 5);
    EXPECT_EQ(ErrorOf([&] { vbe.CommandBars().Item("Standard"); }), 5);
    EXPECT_EQ(vbe.CommandBars().Count(), 1);
}

struct AddRow {
    std::string name;
    int before;
    std::vector<std::string> captions;  // empty when the call raises
};

class ControlsAddTest : public testing::TestWithParam<AddRow> {};

TEST_P(ControlsAddTest, PlacesItemOrRaises) {
    host::VBE vbe;
    host::CommandBar& bar = vbe.CommandBars().Item("Code Window");
    const AddRow& row = GetParam();
    long error = ErrorOf([&] { bar.Controls().Add(host::msoControlButton, row.before)->SetCaption("New"); });
    if (row.captions.empty()) {
        EXPECT_EQ(error, 5);
        EXPECT_EQ(bar.Controls().Count(), 4);
    } else {
        EXPECT_EQ(Captions(bar), row.captions);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Positions, ControlsAddTest,
    testing::Values(AddRow{"ZeroAppends", 0, {"Cut", "Copy", "Paste", "|Select All", "New"}},
                    AddRow{"OneGoesFirst", 1, {"New", "Cut", "Copy", "Paste", "|Select All"}},
                    AddRow{"MiddlePosition", 3, {"Cut", "Copy", "New", "Paste", "|Select All"}},
                    AddRow{"CountPlusOneAppends", 5, {"Cut", "Copy", "Paste", "|Select All", "New"}},
                    AddRow{"PastCountPlusOneRaises", 6, {}}, AddRow{"NegativeRaises", -1, {}}),
    [](const auto& info) { return info.param.name; });

TEST(ControlsItem, FindsFirstByCaptionOrRaises) {
    host::VBE vbe;
    host::CommandBar& bar = vbe.CommandBars().Item("Code Window");
    auto added = bar.Controls().Add(host::msoControlButton, 1);
    added->SetCaption("Copy");
    EXPECT_EQ(bar.Controls().Item("Copy"), added);
    EXPECT_EQ(ErrorOf([&] { bar.Controls().Item("&Procvault..."); }), 5);
    EXPECT_EQ(ErrorOf([&] { bar.Controls().Item(0); }), 5);
}

TEST(ControlDelete, RemovesOnceThenRaises) {
    host::VBE vbe;
    host::CommandBar& bar = vbe.CommandBars().Item("Add-Ins");
    auto item = bar.Controls().Add();
    item->SetCaption("&Procvault...");
    item->Delete();
    EXPECT_TRUE(item->IsDeleted());
    EXPECT_EQ(Captions(bar), std::vector<std::string>{"Add-In Manager..."});
    EXPECT_EQ(ErrorOf([&] { item->Delete(); }), 5);
}

TEST(ControlDelete, ItemHeldOnlyByTheBarCanDeleteItself) {
    host::VBE vbe;
    host::CommandBar& bar = vbe.CommandBars().Item("Add-Ins");
    bar.Controls().Add()->SetCaption("Temporary");
    bar.Controls().Item("Temporary")->Delete();
    EXPECT_EQ(bar.Controls().Count(), 1);
}

TEST(BarChanges, EveryChangeNotifiesListeners) {
    host::VBE vbe;
    host::CommandBar& bar = vbe.CommandBars().Item("Code Window");
    int changes = 0;
    bar.OnChanged([&] { ++changes; });
    auto item = bar.Controls().Add(host::msoControlButton, 1);  // 1
    item->SetCaption("Co&mment Selection");                     // 2
    bar.Controls().Item("Cut")->SetBeginGroup(true);            // 3
    item->Delete();                                             // 4
    EXPECT_EQ(changes, 4);
}

TEST(ClickEvents, ReachEveryLiveSourceOnly) {
    host::VBE vbe;
    auto item = vbe.CommandBars().Item("Add-Ins").Controls().Add();
    std::vector<std::string> clicks;
    auto first = vbe.Events().CommandBarEvents(*item);
    auto second = vbe.Events().CommandBarEvents(*item);
    first->OnClick(
        [&](host::CommandBarControl& c, bool&, bool&) { clicks.push_back("first:" + c.Caption()); });
    second->OnClick([&](host::CommandBarControl&, bool&, bool&) { clicks.push_back("second"); });
    item->SetCaption("&Procvault...");
    item->Execute();
    second.reset();  // the subscriber let go of its source
    item->Execute();
    EXPECT_EQ(clicks, (std::vector<std::string>{"first:&Procvault...", "second", "first:&Procvault..."}));
}

TEST(ClickEvents, SourceOfAnotherItemStaysSilent) {
    host::VBE vbe;
    host::CommandBar& bar = vbe.CommandBars().Item("Code Window");
    auto comment = bar.Controls().Add(host::msoControlButton, 1);
    auto uncomment = bar.Controls().Add(host::msoControlButton, 1);
    int commentClicks = 0;
    auto source = vbe.Events().CommandBarEvents(*comment);
    source->OnClick([&](host::CommandBarControl&, bool&, bool&) { ++commentClicks; });
    uncomment->Execute();
    EXPECT_EQ(commentClicks, 0);
    comment->Execute();
    EXPECT_EQ(commentClicks, 1);
}

}  // namespace
