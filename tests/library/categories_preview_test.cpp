// The category editor with its input dialog, and the preview window, as a
// user meets them, against a real library file.
#include <gtest/gtest.h>

#include "LibraryDialogFixture.h"
#include "library/frmEditCategories.h"
#include "library/frmInput.h"
#include "library/frmPreview.h"
#include "vbrt/Text.h"

namespace {

using librarytest::LibraryDialogTest;
using Strings = std::vector<std::string>;

struct CategoryRow {
    const char* name;
    const char* button;              // cmdAdd, cmdEdit or cmdRemove
    int select;                      // entry clicked first (-1 none): 0 Files, 1 Strings, 2 Utilities
    std::vector<const char*> typed;  // answers typed into the input dialogs, in order ("" = Cancel)
    std::vector<int> answers;        // Yes/No answers
    bool onlyOneCategory;            // the library keeps only Utilities (and its procedures' moved)
    Strings expectPrompts;
    Strings expectCategories;  // descriptions in the table afterwards, by key
};

class CategoryRows : public LibraryDialogTest, public testing::WithParamInterface<CategoryRow> {};

TEST_P(CategoryRows, ChangeTheTableAndTheListTogether) {
    const CategoryRow& row = GetParam();
    if (row.onlyOneCategory) {
        auto db = file.Open();
        db->Execute("UPDATE ProcedureHeader SET CategoryID=1");
        db->Execute("DELETE * FROM Category WHERE CategoryID <> 1");
    }
    for (int answer : row.answers) ui.QueueAnswer(answer);
    std::size_t next = 0;
    Strings defaults;
    When<pv::frmInput>("frmInput", [&](pv::frmInput& input) {
        defaults.push_back(input.Caption() + ":" + input.txtInput.Text());
        const std::string typed = row.typed.at(next++);
        if (typed.empty()) return input.cmdCancel.Press();
        input.txtInput.SetText(typed == std::string("<empty>") ? "" : typed);
        input.cmdOK.Press();
        if (input.IsLoaded()) input.cmdCancel.Press();  // refused: give up
    });
    Strings shown;
    When<pv::frmEditCategories>("frmEditCategories", [&](pv::frmEditCategories& dlg) {
        if (row.select >= 0) dlg.lstCategories.ClickItem(row.select);
        static_cast<forms::CommandButton*>(dlg.FindControl(row.button))->Press();
        shown = Items(dlg.lstCategories);
    });
    pv::frmEditCategories dialog(env);
    ui.ShowModal(dialog);
    Strings categories;
    for (const auto& r : Rows("SELECT CategoryDesc FROM Category ORDER BY CategoryID"))
        categories.push_back(r[0]);
    EXPECT_EQ(Prompts(), row.expectPrompts);
    EXPECT_EQ(categories, row.expectCategories);
    std::sort(categories.begin(), categories.end(),
              [](const std::string& a, const std::string& b) { return vbrt::UCase(a) < vbrt::UCase(b); });
    EXPECT_EQ(shown, categories) << "the list follows the table";
}

const char* kSelect = "You must select an item from the list.";
const char* kRemove = "Are you sure you want to remove this category from the list?";
const char* kInUse =
    "You cannot remove this category as there are procedures grouped within it. Change the procedures to be "
    "within another category and try again.";
const char* kLast = "You cannot delete the one remaining category. Would you like to rename it?";
const char* kValue = "You must enter a value.";

INSTANTIATE_TEST_SUITE_P(
    Rows, CategoryRows,
    testing::Values(
        CategoryRow{
            "AddNew", "cmdAdd", -1, {"Tools"}, {}, false, {}, {"Utilities", "Strings", "Files", "Tools"}},
        CategoryRow{"AddWithQuotesAndAColumnName",
                    "cmdAdd",
                    -1,
                    {"Say \"hi\""},
                    {},
                    false,
                    {},
                    {"Utilities", "Strings", "Files", "Say \"hi\""}},
        CategoryRow{"AddCaseOnlyDifferenceRefused",
                    "cmdAdd",
                    -1,
                    {"FILES"},
                    {},
                    false,
                    {"There is already a category \"FILES\"."},
                    {"Utilities", "Strings", "Files"}},
        CategoryRow{"AddEmptyAnswerAsksForAValue",
                    "cmdAdd",
                    -1,
                    {"<empty>"},
                    {},
                    false,
                    {kValue},
                    {"Utilities", "Strings", "Files"}},
        CategoryRow{"AddOneBlankAccepted",
                    "cmdAdd",
                    -1,
                    {" "},
                    {},
                    false,
                    {},
                    {"Utilities", "Strings", "Files", " "}},
        CategoryRow{
            "AddCancelTouchesNothing", "cmdAdd", -1, {""}, {}, false, {}, {"Utilities", "Strings", "Files"}},
        CategoryRow{"RenameNothingSelected",
                    "cmdEdit",
                    -1,
                    {},
                    {},
                    false,
                    {kSelect},
                    {"Utilities", "Strings", "Files"}},
        CategoryRow{"RenameToSameTextDoesNothing",
                    "cmdEdit",
                    0,
                    {"Files"},
                    {},
                    false,
                    {},
                    {"Utilities", "Strings", "Files"}},
        CategoryRow{"RenameCaseVariantIsWritten",
                    "cmdEdit",
                    0,
                    {"FILES"},
                    {},
                    false,
                    {},
                    {"Utilities", "Strings", "FILES"}},
        CategoryRow{
            "RemoveAskedYes", "cmdRemove", 0, {}, {forms::vbYes}, false, {kRemove}, {"Utilities", "Strings"}},
        CategoryRow{"RemoveAskedNo",
                    "cmdRemove",
                    0,
                    {},
                    {forms::vbNo},
                    false,
                    {kRemove},
                    {"Utilities", "Strings", "Files"}},
        CategoryRow{"RemoveWithProceduresRefused",
                    "cmdRemove",
                    2,
                    {},
                    {forms::vbYes},
                    false,
                    {kRemove, kInUse},
                    {"Utilities", "Strings", "Files"}},
        CategoryRow{
            "LastOneOffersRenameYes", "cmdRemove", 0, {"Misc"}, {forms::vbYes}, true, {kLast}, {"Misc"}},
        CategoryRow{
            "LastOneOffersRenameNo", "cmdRemove", 0, {}, {forms::vbNo}, true, {kLast}, {"Utilities"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(LibraryDialogTest, EditorOnAMissingLibraryOffersOnlyClose) {
    pv::WriteOption(store, pv::key::ProcvaultLocation, file.Path() + ".gone");
    pv::frmEditCategories dialog(env);
    dialog.BeginShow();
    EXPECT_EQ(dialog.lstCategories.ListCount(), 0);
    EXPECT_FALSE(dialog.cmdAdd.Enabled() || dialog.cmdEdit.Enabled() || dialog.cmdRemove.Enabled());
    EXPECT_TRUE(dialog.cmdClose.Enabled());
    dialog.Unload();
}

TEST_F(LibraryDialogTest, InputPrefilledForRenameAndCloseDisabledMeanwhile) {
    std::string caption, text, prompt;
    bool closeEnabled = true;
    pv::frmEditCategories* editor = nullptr;
    When<pv::frmInput>("frmInput", [&](pv::frmInput& input) {
        caption = input.Caption();
        prompt = input.lblPrompt.Caption();
        text = input.txtInput.Text();
        closeEnabled = editor->cmdClose.Enabled();
        input.cmdCancel.Press();
    });
    When<pv::frmEditCategories>("frmEditCategories", [&](pv::frmEditCategories& dlg) {
        editor = &dlg;
        dlg.lstCategories.ClickItem(1);
        dlg.cmdEdit.Press();
        EXPECT_TRUE(dlg.cmdClose.Enabled());
    });
    pv::frmEditCategories dialog(env);
    ui.ShowModal(dialog);
    EXPECT_EQ(caption, "Edit Category");
    EXPECT_EQ(prompt, "Enter the new description for the category:");
    EXPECT_EQ(text, "Strings");
    EXPECT_FALSE(closeEnabled);
}

class Preview : public LibraryDialogTest {
protected:
    std::string Shown(const std::vector<long>& keys) {
        std::string text;
        When<pv::frmPreview>("frmPreview", [&](pv::frmPreview& dlg) { text = dlg.txtPreview.Text(); });
        pv::frmPreview dialog(env);
        dialog.Preview(keys);
        return text;
    }
};

TEST_F(Preview, LinesComeInStoredOrderAndOnlyAFirstEmptyLineIsLeftOut) {
    daotest::AddProcedure(*file.Open(), {"Blank", "Sub", 1, {"", "Sub Blank()", "End Sub"}});
    EXPECT_EQ(Shown({3, 1}), "Public Function GetValue()\r\nEnd Function\r\nSub OpenLog()\r\nEnd Sub\r\n");
    EXPECT_EQ(Shown({4}), "Sub Blank()\r\nEnd Sub\r\n");
    EXPECT_EQ(Shown({4, 2}), "Sub TrimAll()\r\n\r\nEnd Sub\r\n\r\nSub Blank()\r\nEnd Sub\r\n");
    pv::WriteOption(store, pv::key::ProcvaultLocation, file.Path() + ".gone");
    EXPECT_EQ(Shown({1}), "");
    EXPECT_EQ(ui.Messages().back().Icon(), forms::vbCritical);
    EXPECT_EQ(ui.GetMousePointer(), forms::vbDefault);
}

struct ResizeRow {
    const char* name;
    long width, height;  // outer size the user drags to
    long expectWidth, expectHeight, textWidth, textHeight, buttonLeft, buttonTop;
};

class ResizeRows : public Preview, public testing::WithParamInterface<ResizeRow> {};

TEST_P(ResizeRows, TextBoxFollowsButtonStaysBottomRightMinimumHeld) {
    const ResizeRow& r = GetParam();
    pv::frmPreview dialog(env);
    dialog.BeginShow();
    const long w0 = dialog.Width(), h0 = dialog.Height();
    dialog.ResizeByUser(r.width < 0 ? w0 - r.width : r.width, r.height < 0 ? h0 - r.height : r.height);
    EXPECT_EQ((std::vector<long>{dialog.Width(), dialog.Height(), dialog.txtPreview.Width(),
                                 dialog.txtPreview.Height(), dialog.cmdClose.Left(), dialog.cmdClose.Top()}),
              (std::vector<long>{r.expectWidth < 0 ? w0 - r.expectWidth : r.expectWidth,
                                 r.expectHeight < 0 ? h0 - r.expectHeight : r.expectHeight, r.textWidth,
                                 r.textHeight, r.buttonLeft, r.buttonTop}));
    dialog.Unload();
}

// Negative sizes: that much larger than the designed window.
INSTANTIATE_TEST_SUITE_P(
    Rows, ResizeRows,
    testing::Values(ResizeRow{"GrowBy600", -600, -600, -600, -600, 7305, 4935, 6180, 5205},
                    ResizeRow{"NarrowerThanMinimumSnaps", 3000, 2000, 5000, 3000, 6705 + 5000 - 7005,
                              4335 + 3000 - 5505, 5580 + 5000 - 7005, 4605 + 3000 - 5505}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
