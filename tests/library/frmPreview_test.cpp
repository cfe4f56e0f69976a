// The preview window against a real library file: what it shows, and how it follows resizing.
#include "library/frmPreview.h"

#include <gtest/gtest.h>

#include "LibraryDialogFixture.h"

namespace {

class Preview : public librarytest::LibraryDialogTest {
protected:
    // Procedures 4 to 7, each starting with an empty line.
    void SetUp() override {
        LibraryDialogTest::SetUp();
        for (std::string name : {"Four", "Five", "Six", "Seven"})
            daotest::AddProcedure(*file.Open(), {name, "Sub", 2, {"", "Sub " + name + "()", "End Sub"}});
    }
    // The text the user sees, with the normal pointer.
    std::string Shown(const std::vector<long>& keys) {
        std::string text = "<not shown>";
        When<pv::frmPreview>("frmPreview", [&](pv::frmPreview& d) {
            text = d.txtPreview.Text();
            EXPECT_EQ(ui.GetMousePointer(), forms::vbDefault) << "while shown";
        });
        pv::frmPreview dialog(env);
        dialog.Preview(keys);
        return text;
    }
};

TEST_F(Preview, StoredOrderWithoutAFirstEmptyLine) {
    EXPECT_EQ(pv::PreviewStatement({7, 3}),
              "SELECT * FROM ProcedureLine WHERE ProcedureHeaderID IN (7, 3) ORDER BY ProcedureLineID");
    EXPECT_EQ(Shown({7, 3}), "Sub OpenLog()\r\nEnd Sub\r\n\r\nSub Seven()\r\nEnd Sub\r\n");
    EXPECT_EQ(Shown({7}), "Sub Seven()\r\nEnd Sub\r\n");
    EXPECT_EQ(Shown({2}), "Sub TrimAll()\r\n\r\nEnd Sub\r\n") << "a Null line is an empty line";
    EXPECT_TRUE(ui.Messages().empty());
    pv::WriteOption(store, pv::key::ProcvaultLocation, file.Path() + ".gone");
    EXPECT_EQ(Shown({1}), "") << "a missing library: told, then an empty window";
    EXPECT_EQ(ui.Messages().at(0).Icon(), forms::vbCritical);
}

struct ResizeRow {
    const char* name;
    std::vector<std::pair<long, long>> drags;  // outer sizes the user drags to, in turn
    std::vector<long> expect;  // outer width, height; text box width, height; button left, top
};

class Resize : public Preview, public testing::WithParamInterface<ResizeRow> {};

// Designed: outer 7005 x 5505 (client 6885 x 5100), text box 6705 x 4335, button at 5580, 4605.
TEST_P(Resize, TextBoxFollowsButtonStaysBottomRightMinimumHeld) {
    pv::frmPreview d(env);
    d.BeginShow();
    EXPECT_EQ((std::pair{d.ScaleWidth(), d.ScaleHeight()}), (std::pair{6885L, 5100L}));
    for (const auto& [w, h] : GetParam().drags) d.ResizeByUser(w, h);
    EXPECT_EQ((std::vector<long>{d.Width(), d.Height(), d.txtPreview.Width(), d.txtPreview.Height(),
                                 d.cmdClose.Left(), d.cmdClose.Top()}),
              GetParam().expect);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Rows, Resize, testing::Values(
    ResizeRow{"GrowBy600", {{7605, 6105}}, {7605, 6105, 7305, 4935, 6180, 5205}},
    ResizeRow{"TooSmallSnapsToMinimum", {{3000, 2000}}, {5000, 3000, 4700, 1830, 3575, 2100}},
    ResizeRow{"GrowAfterSnap", {{3000, 2000}, {5600, 3600}}, {5600, 3600, 5300, 2430, 4175, 2700}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
