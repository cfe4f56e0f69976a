// Storing module procedures and organizing the stored ones, as a user would
// through the dialogs, checked against the rows of a real library file.
#include <gtest/gtest.h>

#include "LibraryDialogFixture.h"
#include "library/frmAddProcedure.h"
#include "library/frmChangeCategory.h"
#include "library/frmOrganizeProcedures.h"

namespace {

using librarytest::LibraryDialogTest;
using Strings = std::vector<std::string>;

class StoreDialog : public LibraryDialogTest {
protected:
    // Stores every listed procedure of module `index` of the module box.
    void StoreAllOf(int index, const std::string& organizerCategory = "(All)") {
        When<pv::frmAddProcedure>("frmAddProcedure", [index](pv::frmAddProcedure& dlg) {
            dlg.cboModule.ChooseItem(index);
            dlg.cmdSelectAll.Press();
            dlg.cmdOK.Press();
        });
        pv::frmAddProcedure dialog(env, organizerCategory);
        ui.ShowModal(dialog);
    }
};

TEST_F(StoreDialog, EveryProcedureOfTheExampleProjectIsStoredWithExactlyItsLines) {
    pv::frmAddProcedure probe(env, "(All)");
    probe.BeginShow();
    EXPECT_EQ(Items(probe.cboModule), (Strings{"clsItem", "frmMain", "modStock", "Module1"}));
    const int modules = probe.cboModule.ListCount();
    probe.Unload();
    for (int m = 0; m < modules; ++m) StoreAllOf(m);
    const auto headers =
        Rows("SELECT ProcedureHeaderID, Name, Type FROM ProcedureHeader WHERE ProcedureHeaderID > 3");
    ASSERT_EQ(headers.size(), 13u);  // clsItem's properties are not offered
    for (const auto& header : headers) {
        SCOPED_TRACE(header[1]);
        host::CodeModule* module = nullptr;
        for (long c = 1; c <= vbe.ActiveVBProject().VBComponents().Count(); ++c) {
            host::CodeModule& candidate = vbe.ActiveVBProject().VBComponents().Item(c).CodeModule();
            try {
                candidate.ProcStartLine(header[1], host::vbext_pk_Proc);
                module = &candidate;
            } catch (const vbrt::VbError&) {
            }
        }
        ASSERT_NE(module, nullptr);
        const long first = module->ProcStartLine(header[1], host::vbext_pk_Proc);
        const long bodyLine = module->ProcBodyLine(header[1], host::vbext_pk_Proc);
        EXPECT_EQ(header[2], pv::StoredKind(module->Lines(bodyLine, 1)));
        const auto lines = Rows("SELECT Line FROM ProcedureLine WHERE ProcedureHeaderID = " + header[0] +
                                " ORDER BY ProcedureLineID");
        bool closed = false;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const std::string text = module->Lines(first + static_cast<long>(i), 1);
            EXPECT_EQ(lines[i][0], closed ? "<Null>" : text) << "line " << i;
            closed = closed || text == "End " + header[2];
        }
    }
    EXPECT_EQ(ui.Messages().size(), 0u);
}

struct StoreRow {
    const char* name;
    Strings module;        // visible lines of a module Module9 added to the project
    const char* category;  // organizer's category text
    Strings expectPrompts;
    Strings expectStored;  // Type Name of the procedures stored, then each stored line
};

class StoreRows : public StoreDialog, public testing::WithParamInterface<StoreRow> {};

TEST_P(StoreRows, StoreWhatTheUserChose) {
    const StoreRow& row = GetParam();
    testsupport::TempDir dir;
    std::string bytes = "Attribute VB_Name = \"Module9\"\r\n";
    for (const auto& line : row.module) bytes += line + "\r\n";
    testsupport::WriteBytes(dir / "Module9.bas", bytes);
    vbe.OpenProject(dir / "Module9.bas");
    When<pv::frmAddProcedure>("frmAddProcedure", [](pv::frmAddProcedure& dlg) {
        dlg.cmdSelectAll.Press();
        dlg.cmdOK.Press();
    });
    pv::frmAddProcedure dialog(env, row.category);
    ui.ShowModal(dialog);
    EXPECT_EQ(Prompts(), row.expectPrompts);
    Strings stored;
    for (const auto& r :
         Rows("SELECT h.Type, h.Name, c.CategoryDesc, l.Line FROM ProcedureHeader h, Category c, "
              "ProcedureLine l WHERE h.ProcedureHeaderID > 3 AND c.CategoryID = h.CategoryID AND "
              "l.ProcedureHeaderID = h.ProcedureHeaderID ORDER BY l.ProcedureLineID"))
        stored.push_back(r[0] + " " + r[1] + " [" + r[2] + "] " + r[3]);
    EXPECT_EQ(stored, row.expectStored);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, StoreRows,
    testing::Values(
        StoreRow{"StaticSubStoredAsSubInTheOrganizersCategory",
                 {"Private Static Sub Tally()", "End Sub"},
                 "Strings",
                 {},
                 {"Sub Tally [Strings] Private Static Sub Tally()", "Sub Tally [Strings] End Sub"}},
        StoreRow{"EndLineWithACommentKeepsEveryLine",
                 {"Sub A()", "End Sub ' done", "' after"},
                 "(All)",
                 {},
                 {"Sub A [Files] Sub A()", "Sub A [Files] End Sub ' done", "Sub A [Files] ' after"}},
        StoreRow{"NoSubsOrFunctionsStoresNothingSilently",
                 {"Private Declare Function GetTickCount Lib \"kernel32\" () As Long", "Dim x As Long"},
                 "(All)",
                 {},
                 {}},
        StoreRow{"CopiesPerBranchAreStoredWholeUpToTheEndIf",
                 {"#If VBA7 Then", "Sub P()", "End Sub", "#Else", "Sub P()", "End Sub", "#End If", "' tail"},
                 "(All)",
                 {},
                 {"Sub P [Files] #If VBA7 Then", "Sub P [Files] Sub P()", "Sub P [Files] End Sub",
                  "Sub P [Files] #Else", "Sub P [Files] Sub P()", "Sub P [Files] End Sub",
                  "Sub P [Files] #End If", "Sub P [Files] <Null>"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(StoreDialog, RefusesTypedCategoryAndLibraryWithoutCategories) {
    When<pv::frmAddProcedure>("frmAddProcedure", [](pv::frmAddProcedure& dlg) {
        dlg.cboModule.ChooseItem(3);  // Module1
        dlg.lstProcedures.ClickItem(0);
        dlg.cboCategory.TypeText("Nowhere");
        dlg.cmdOK.Press();
    });
    pv::frmAddProcedure typed(env, "(All)");
    ui.ShowModal(typed);
    auto db = file.Open();
    db->Execute("DELETE * FROM ProcedureHeader");
    db->Execute("DELETE * FROM Category");
    When<pv::frmAddProcedure>("frmAddProcedure", [](pv::frmAddProcedure& dlg) {
        dlg.cboModule.ChooseItem(3);
        dlg.lstProcedures.ClickItem(0);
        dlg.cmdOK.Press();
    });
    pv::frmAddProcedure none(env, "(All)");
    ui.ShowModal(none);
    EXPECT_EQ(Rows("SELECT * FROM ProcedureHeader WHERE ProcedureHeaderID > 3").size(), 0u);
    const std::string select = "You must select an item from the list.";
    EXPECT_EQ(
        Prompts(),
        (Strings{
            select,
            "You cannot add a procedure without a category. You must add a new category and try again."}));
}

class Organizer : public LibraryDialogTest {
protected:
    // Opens the organizer, runs `act` on it, closes it.
    void Organize(std::function<void(pv::frmOrganizeProcedures&)> act) {
        When<pv::frmOrganizeProcedures>("frmOrganizeProcedures", [act](pv::frmOrganizeProcedures& dlg) {
            act(dlg);
            dlg.cmdClose.Press();
        });
        pv::frmOrganizeProcedures dialog(env);
        ui.ShowModal(dialog);
    }
    Strings Headers() {
        Strings out;
        for (const auto& r : Rows("SELECT Name, CategoryID FROM ProcedureHeader"))
            out.push_back(r[0] + ":" + r[1]);
        return out;
    }
};

struct RemoveRow {
    const char* name;
    std::vector<int> clicks;  // entries of "Function GetValue", "Sub OpenLog", "Sub TrimAll"
    int answer;
    Strings expectPrompts;
    Strings expectHeaders;
    long expectLines;
};

class RemoveRows : public Organizer, public testing::WithParamInterface<RemoveRow> {};

TEST_P(RemoveRows, AskThenDeleteLinesAndHeadersTogether) {
    const RemoveRow& row = GetParam();
    ui.QueueAnswer(row.answer);
    std::vector<bool> selectedAfter;
    Organize([&](pv::frmOrganizeProcedures& dlg) {
        for (int i : row.clicks) dlg.lstAvailableProcedures.ClickItem(i);
        dlg.cmdRemove.Press();
        for (int i = 0; i < dlg.lstAvailableProcedures.ListCount(); ++i)
            selectedAfter.push_back(dlg.lstAvailableProcedures.Selected(i));
    });
    EXPECT_EQ(Prompts(), row.expectPrompts);
    EXPECT_EQ(Headers(), row.expectHeaders);
    EXPECT_EQ(daotest::Count(*file.Open(), "ProcedureLine"), row.expectLines);
    if (row.answer == forms::vbNo) {
        std::vector<bool> expected(3, false);
        for (int i : row.clicks) expected[i] = true;
        EXPECT_EQ(selectedAfter, expected);
    }
}

const char* kOne = "Are you sure you want to delete the selected procedure?";
const char* kMany = "Are you sure you want to delete the selected procedures?";

INSTANTIATE_TEST_SUITE_P(
    Rows, RemoveRows,
    testing::Values(
        RemoveRow{"OneSelectedAsksSingular", {1}, forms::vbYes, {kOne}, {"GetValue:1", "TrimAll:2"}, 5},
        RemoveRow{"TwoSelectedAskPlural", {0, 2}, forms::vbYes, {kMany}, {"OpenLog:1"}, 2},
        RemoveRow{"NoDeletesNothingAndKeepsTheSelection",
                  {0, 2},
                  forms::vbNo,
                  {kMany},
                  {"GetValue:1", "TrimAll:2", "OpenLog:1"},
                  7},
        RemoveRow{"NoneSelectedSaysSoAndSelectsTheFirst",
                  {},
                  forms::vbYes,
                  {"You must select an item from the list."},
                  {"GetValue:1", "TrimAll:2", "OpenLog:1"},
                  7}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Organizer, RemovingTheWholeShownListDisablesRemoveAndCategoryButNotAdd) {
    bool remove = true, category = true, add = false;
    ui.QueueAnswer(forms::vbYes);
    Organize([&](pv::frmOrganizeProcedures& dlg) {
        dlg.optShowFunctions.Press();
        dlg.lstAvailableProcedures.ClickItem(0);
        dlg.cmdRemove.Press();
        remove = dlg.cmdRemove.Enabled();
        category = dlg.cmdEditCategory.Enabled();
        add = dlg.cmdAdd.Enabled();
    });
    EXPECT_FALSE(remove);
    EXPECT_FALSE(category);
    EXPECT_TRUE(add);
}

struct MoveRow {
    const char* name;
    int shownCategory;  // entry of the organizer's box: 0 (All), 1 Files, 2 Strings, 3 Utilities
    Strings expectShownAfter;
};

class MoveRows : public Organizer, public testing::WithParamInterface<MoveRow> {};

TEST_P(MoveRows, MovedProceduresLeaveACategoryListButNotAll) {
    const MoveRow& row = GetParam();
    Strings offered, shown;
    When<pv::frmChangeCategory>("frmChangeCategory", [&](pv::frmChangeCategory& dlg) {
        offered = Items(dlg.cboNewCategory);
        offered.push_back("selected:" + dlg.cboNewCategory.Text());
        dlg.cboNewCategory.ChooseItem(0);  // Files
        dlg.cmdOK.Press();
    });
    Organize([&](pv::frmOrganizeProcedures& dlg) {
        dlg.cboCategory.ChooseItem(row.shownCategory);
        dlg.lstAvailableProcedures.ClickItem(0);
        dlg.cmdEditCategory.Press();
        shown = Items(dlg.lstAvailableProcedures);
    });
    EXPECT_EQ(offered, (Strings{"Files", "Strings", "Utilities", "selected:Files"}));
    EXPECT_EQ(shown, row.expectShownAfter);
    EXPECT_EQ(Headers()[0], "GetValue:3");
}

INSTANTIATE_TEST_SUITE_P(
    Rows, MoveRows,
    testing::Values(MoveRow{"WhileAllIsShown", 0, {"Function GetValue", "Sub OpenLog", "Sub TrimAll"}},
                    MoveRow{"WhileUtilitiesIsShown", 3, {"Sub OpenLog"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Organizer, CategoryBoxLeftWithTypedTextSaysSoAndKeepsTheList) {
    Strings before, after, prompts;
    long selLength = 0;
    Organize([&](pv::frmOrganizeProcedures& dlg) {
        before = Items(dlg.lstAvailableProcedures);
        dlg.cboCategory.SetFocus();
        dlg.cboCategory.TypeText("Nowhere");
        dlg.lstAvailableProcedures.SetFocus();
        after = Items(dlg.lstAvailableProcedures);
        selLength = dlg.cboCategory.SelLength();
        prompts = Prompts();
    });
    EXPECT_EQ(prompts, Strings{"You must select an item from the list."});
    EXPECT_EQ(after, before);
    EXPECT_EQ(selLength, 7);
}

TEST_F(Organizer, AMissingLibraryLeavesEverythingEmptyAndDisabled) {
    pv::WriteOption(store, pv::key::ProcvaultLocation, file.Path() + ".gone");
    bool add = true;
    int entries = -1;
    Organize([&](pv::frmOrganizeProcedures& dlg) {
        add = dlg.cmdAdd.Enabled();
        entries = dlg.lstAvailableProcedures.ListCount() + dlg.cboCategory.ListCount();
    });
    EXPECT_FALSE(add);
    EXPECT_EQ(entries, 0);
    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_EQ(ui.Messages()[0].Icon(), forms::vbCritical);
}

}  // namespace
