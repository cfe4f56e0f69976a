// The category editor and its input dialog as a user meets them, against a real library file.
#include "library/frmEditCategories.h"

#include <gtest/gtest.h>

#include "LibraryDialogFixture.h"
#include "library/frmInput.h"

namespace {

using librarytest::LibraryDialogTest;

struct Row {
    const char* name;
    const char* extra;  // a category added first; "-": Utilities, holding every procedure, is the only one
    int select;         // entry clicked (sorted: 0 Files, 1 Strings, 2 Utilities; -1 none)
    const char* button;
    std::vector<const char*> typed;  // one answer per input dialog; nullptr presses Cancel
    const char* yesNo;               // "Y"/"N" answers to the questions, in order
    bool offline;                    // the library goes away while the input dialog is up
    std::string said;
    std::string inputs;  // each input dialog: caption=text shown, "+open" when OK was refused
    std::string table;   // descriptions afterwards, in the list's order
};

class Categories : public LibraryDialogTest, public testing::WithParamInterface<Row> {};

TEST_P(Categories, TableAndListChangeTogether) {
    const Row& row = GetParam();
    const std::string extra = row.extra;
    if (extra == "-")
        RunRaw("UPDATE ProcedureHeader SET CategoryID=1; DELETE FROM Category WHERE CategoryID>1");
    if (!extra.empty() && extra != "-") daotest::AddCategory(*file.Open(), extra);
    for (const char* c = row.yesNo; *c; ++c) ui.QueueAnswer(*c == 'Y' ? forms::vbYes : forms::vbNo);
    std::size_t next = 0;
    std::string inputs;
    pv::frmEditCategories dialog(env);
    When<pv::frmInput>("frmInput", [&](pv::frmInput& input) {
        inputs += (inputs.empty() ? "" : "|") + input.Caption() + "=" + input.txtInput.Text() +
                  (dialog.cmdClose.Enabled() ? "+close enabled" : "");
        if (row.offline) PointAt("");
        const char* typed = row.typed.at(next++);
        if (typed) input.txtInput.TypeText(typed);
        (typed ? input.cmdOK : input.cmdCancel).Press();
        if (!input.IsLoaded()) return;
        inputs += "+open";
        input.cmdCancel.Press();
    });
    dialog.BeginShow();
    if (row.select >= 0) dialog.lstCategories.ClickItem(row.select);
    static_cast<forms::CommandButton*>(dialog.FindControl(row.button))->Press();
    EXPECT_EQ(
        Said() + " / " + inputs + " / " + Column("SELECT CategoryDesc FROM Category ORDER BY CategoryDesc"),
        row.said + " / " + row.inputs + " / " + row.table);
    EXPECT_EQ(Items(dialog.lstCategories), row.table) << "the list follows the table";
    EXPECT_TRUE(dialog.cmdClose.Enabled() && ui.GetMousePointer() == forms::vbDefault);
}

TEST_F(LibraryDialogTest, UnreachableLibraryLeavesOnlyClose) {
    PointAt(file.Path() + ".gone");
    pv::frmEditCategories d(env);
    d.BeginShow();
    EXPECT_EQ((std::vector<long>{d.lstCategories.ListCount(), d.cmdAdd.Enabled(), d.cmdEdit.Enabled(),
                                 d.cmdRemove.Enabled(), d.cmdClose.Enabled()}),
              (std::vector<long>{0, 0, 0, 0, 1}));
}

// clang-format off
const std::string kAll = "Files|Strings|Utilities|", kAdd = "Add New Category=", kEdit = "Edit Category=";
const std::string kRemove = "?:Are you sure you want to remove this category from the list?|";
const std::string kLast = "?:You cannot delete the one remaining category. Would you like to rename it?|";
const char* kInUse = "i:You cannot remove this category as there are procedures grouped within it. "
                     "Change the procedures to be within another category and try again.|";

INSTANTIATE_TEST_SUITE_P(Rows, Categories, testing::Values(
    Row{"AddCaseOnlyDifferenceRefused", "", -1, "cmdAdd", {"FILES"}, "", 0, "!:There is already a category \"FILES\".|", kAdd, kAll},
    Row{"AddQuotesFoundAsTyped", "Say \"hi\"", -1, "cmdAdd", {"say \"HI\""}, "", 0,
        "!:There is already a category \"say \"HI\"\".|", kAdd, "Files|Say \"hi\"|Strings|Utilities|"},
    Row{"AddColumnNameStoredAsTyped", "", -1, "cmdAdd", {"CategoryDesc"}, "", 0, "", kAdd, "CategoryDesc|" + kAll},
    Row{"AddEmptyAnswerKeepsInputOpen", "", -1, "cmdAdd", {""}, "", 0, "i:You must enter a value.|", kAdd + "+open", kAll},
    Row{"AddOneBlankAccepted", "", -1, "cmdAdd", {" "}, "", 0, "", kAdd, " |" + kAll},
    Row{"AddCancelTouchesNothing", "", -1, "cmdAdd", {nullptr}, "", 1, "", kAdd, kAll},
    Row{"RenameToSameTextDoesNothing", "", 0, "cmdEdit", {"Files"}, "", 1, "", kEdit + "Files", kAll},
    Row{"RenameCaseVariantIsWritten", "", 0, "cmdEdit", {"FILES"}, "", 0, "", kEdit + "Files", "FILES|Strings|Utilities|"},
    Row{"Remove", "", 0, "cmdRemove", {}, "Y", 0, kRemove, "", "Strings|Utilities|"},
    Row{"RemoveWithProceduresRefused", "", 2, "cmdRemove", {}, "Y", 0, kRemove + kInUse, "", kAll},
    Row{"LastOneRenameYes", "-", 0, "cmdRemove", {"Misc"}, "Y", 0, kLast, kEdit + "Utilities", "Misc|"},
    Row{"LastOneRenameNo", "-", 0, "cmdRemove", {}, "N", 0, kLast, "", "Utilities|"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
