// The organizer and its change-category dialog as a user meets them, checked against a real library file.
#include "library/frmOrganizeProcedures.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "LibraryDialogFixture.h"
#include "library/frmChangeCategory.h"

namespace {

enum Trouble { kNone, kMissing, kLocked, kHeadersRefused, kTypedCategory, kEarlyCategory };

class Organizer : public librarytest::LibraryDialogTest {
protected:
    // Opens the organizer with `trouble` arranged, runs `act` on it, closes it.
    void Organize(Trouble trouble, std::function<void(pv::frmOrganizeProcedures&)> act) {
        if (trouble == kMissing) PointAt(file.Path() + ".gone");
        if (trouble == kEarlyCategory) daotest::AddCategory(*file.Open(), "_Archive");
        if (trouble == kHeadersRefused)
            RunRaw("CREATE TRIGGER no BEFORE DELETE ON ProcedureHeader BEGIN SELECT RAISE(ABORT, 'no'); END",
                   ServerRefusal("DELETE", "ProcedureHeader"));
        When<pv::frmOrganizeProcedures>("frmOrganizeProcedures", [=, this](pv::frmOrganizeProcedures& d) {
            if (trouble == kTypedCategory) d.cboCategory.TypeText("Nowhere");
            act(d);
            holder.reset();
            d.cmdClose.Press();
        });
        pv::frmOrganizeProcedures dialog(env);
        ui.ShowModal(dialog);
    }
    std::string Headers() { return Column("SELECT Name || ':' || CategoryID FROM ProcedureHeader"); }
};

struct RemoveRow {
    const char* clicks;   // entries clicked: 0 "Function GetValue", 1 "Sub OpenLog", 2 "Sub TrimAll"
    const char* answers;  // Y or N per question; one press of Remove per letter
    Trouble trouble;
    std::string said;
    const char* headers;
    long lines;
    std::string after;  // the selection, the enabled buttons, the typed text selected in the category box
};

TEST_F(Organizer, AddOpensTheStoreDialog) {
    Organize(kNone, [](pv::frmOrganizeProcedures& d) { d.cmdAdd.Press(); });
    const auto shown = ui.ShownForms();
    EXPECT_NE(std::find(shown.begin(), shown.end(), "frmAddProcedure"), shown.end());
}

class RemoveRows : public Organizer, public testing::WithParamInterface<RemoveRow> {};

TEST_P(RemoveRows, AskThenDeleteLinesAndHeadersTogether) {
    const RemoveRow& row = GetParam();
    if (row.trouble == kLocked) PV_FILE_LIBRARY_ONLY();
    std::string after;
    Organize(row.trouble, [&](pv::frmOrganizeProcedures& d) {
        for (const char* c = row.clicks; *c; ++c) d.lstAvailableProcedures.ClickItem(*c - '0');
        if (row.trouble == kLocked) Lock();
        for (const char* a = row.answers; *a; ++a) {
            if (*a != '-') ui.QueueAnswer(*a == 'Y' ? forms::vbYes : forms::vbNo);
            d.cmdRemove.Press();
        }
        for (int i = 0; i < d.lstAvailableProcedures.ListCount(); ++i)
            after += d.lstAvailableProcedures.Selected(i) ? "1" : "0";
        after += std::string(d.cmdAdd.Enabled() ? " add" : "") + (d.cmdRemove.Enabled() ? " remove" : "") +
                 (d.cmdEditCategory.Enabled() ? " category" : "");
        if (row.trouble == kTypedCategory) after += " " + std::to_string(d.cboCategory.SelLength());
    });
    EXPECT_EQ(Said() + " / " + Headers() + std::to_string(daotest::Count(*file.Open(), "ProcedureLine")) +
                  " / " + after,
              row.said + " / " + row.headers + std::to_string(row.lines) + " / " + row.after);
    EXPECT_EQ(ui.GetMousePointer(), forms::vbDefault);
}

const std::string kOne = "?:Are you sure you want to delete the selected procedure?|";
const std::string kMany = "?:Are you sure you want to delete the selected procedures?|";
const std::string kChoose = librarytest::kSelectItem, kInUse = librarytest::kInUse,
                  kMissingFile = "x:@.gone" + librarytest::kNotFound;
const char* kAll = "GetValue:1|TrimAll:2|OpenLog:1|";
const std::string kUsable = " add remove category";

// clang-format off
INSTANTIATE_TEST_SUITE_P(Rows, RemoveRows, testing::Values(
    RemoveRow{"1", "Y", kNone, kOne, "GetValue:1|TrimAll:2|", 5, "00" + kUsable},
    RemoveRow{"02", "Y", kNone, kMany, "OpenLog:1|", 2, "0" + kUsable},
    RemoveRow{"02", "N", kNone, kMany, kAll, 7, "101" + kUsable},
    RemoveRow{"", "-Y", kNone, kChoose + kOne, "TrimAll:2|OpenLog:1|", 5, "00" + kUsable},  // none selected: the first is
    RemoveRow{"012", "Y", kNone, kMany, "", 0, " add"},
    RemoveRow{"", "-", kMissing, kMissingFile, kAll, 7, ""},
    RemoveRow{"0", "Y", kLocked, kOne + kInUse, kAll, 7, "100" + kUsable},
    RemoveRow{"0", "Y", kHeadersRefused, kOne + "x:cmdRemove_Click(): Reserved error (no); there is no message for this error. 3000|",
              kAll, 7, "100" + kUsable},
    RemoveRow{"", "-", kTypedCategory, kChoose + kChoose, kAll, 7, "000" + kUsable + " 7"}));  // refused on every leaving
// clang-format on

struct MoveRow {
    int shown;          // entry chosen in the organizer's box: 0 (All), 1 Files, 2 Strings, 3 Utilities
    const char* typed;  // typed into the new category box after choosing its entry 0
    Trouble trouble;
    std::string
        outcome;  // the new category box's entries and text / the list after / the headers / what was said
};

class MoveRows : public Organizer, public testing::WithParamInterface<MoveRow> {};

TEST_P(MoveRows, MovedProceduresLeaveACategoryListButNotAll) {
    const MoveRow& row = GetParam();
    if (row.trouble == kLocked) PV_FILE_LIBRARY_ONLY();
    std::string offered, shown;
    When<pv::frmChangeCategory>("frmChangeCategory", [&](pv::frmChangeCategory& d) {
        offered = Items(d.cboNewCategory) + d.cboNewCategory.Text();
        d.cboNewCategory.ChooseItem(0);
        if (*row.typed) d.cboNewCategory.TypeText(row.typed);
        if (row.trouble == kLocked) Lock();
        d.cmdOK.Press();
        if (d.IsLoaded()) shown = "open ";
    });
    Organize(row.trouble, [&](pv::frmOrganizeProcedures& d) {
        d.cboCategory.ChooseItem(row.shown);
        d.lstAvailableProcedures.ClickItem(0);
        d.cmdEditCategory.Press();
        shown += Items(d.lstAvailableProcedures);
        if (!d.cmdClose.Enabled()) shown += "close disabled";
    });
    EXPECT_EQ(offered + " / " + shown + " / " + Headers() + "/ " + Said(), row.outcome);
}

const std::string kOffered = "Files|Strings|Utilities|Files / ",
                  kShown = "Function GetValue|Sub OpenLog|Sub TrimAll|";

// clang-format off
INSTANTIATE_TEST_SUITE_P(Rows, MoveRows, testing::Values(
    MoveRow{0, "", kNone, kOffered + kShown + " / GetValue:3|TrimAll:2|OpenLog:1|/ "},
    MoveRow{3, "", kNone, kOffered + "Sub OpenLog| / GetValue:3|TrimAll:2|OpenLog:1|/ "},
    MoveRow{3, "Nowhere", kNone, kOffered + "open Function GetValue|Sub OpenLog| / " + kAll + "/ " + kChoose},
    MoveRow{0, "", kLocked, kOffered + "open " + kShown + " / " + kAll + "/ " + kInUse},
    // A category sorted before (All) is offered first.
    MoveRow{1, "", kEarlyCategory, "_Archive|Files|Strings|Utilities|_Archive / " + kShown + " / GetValue:4|TrimAll:2|OpenLog:1|/ "}));
// clang-format on

}  // namespace
