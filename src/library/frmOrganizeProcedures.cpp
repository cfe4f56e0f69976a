#include "library/frmOrganizeProcedures.h"

#include <memory>

#include "dao/Database.h"
#include "forms/ErrorReport.h"
#include "library/DialogKit.h"
#include "library/SelectedIds.h"
#include "library/basConnect.h"
#include "library/frmAddProcedure.h"
#include "library/frmChangeCategory.h"

namespace pv {

frmOrganizeProcedures::frmOrganizeProcedures(Env env)
    : forms::Form("frmOrganizeProcedures"),
      Label1(Add<forms::Label>("Label1")),
      Label2(Add<forms::Label>("Label2")),
      cboCategory(Add<forms::ComboBox>("cboCategory")),
      lstAvailableProcedures(Add<forms::ListBox>("lstAvailableProcedures")),
      Frame1(Add<forms::Frame>("Frame1")),
      optShowAll(Add<forms::OptionButton>("optShowAll", &Frame1)),
      optShowSubs(Add<forms::OptionButton>("optShowSubs", &Frame1)),
      optShowFunctions(Add<forms::OptionButton>("optShowFunctions", &Frame1)),
      cmdAdd(Add<forms::CommandButton>("cmdAdd")),
      cmdRemove(Add<forms::CommandButton>("cmdRemove")),
      cmdEditCategory(Add<forms::CommandButton>("cmdEditCategory")),
      cmdClose(Add<forms::CommandButton>("cmdClose")),
      env_(env) {
    Design();
    ConnectEvents();
}

void frmOrganizeProcedures::Design() {
    SetCaption("Organize Procedures");
    Move(0, 0, 6135, 5040);
    Place(Label1, 120, 120, 5775, 255);
    Label1.SetCaption("Add, remove, and change the category of procedures:");
    Place(Label2, 120, 450, 975, 255);  // centred on the box beside it
    Label2.SetCaption("Category");
    Place(cboCategory, 1140, 420, 3135, 315, 0);
    cboCategory.SetSorted(true);
    Place(lstAvailableProcedures, 120, 840, 4155, 2985, 1);
    lstAvailableProcedures.SetSorted(true);
    lstAvailableProcedures.SetMultiSelect(1);
    Place(Frame1, 120, 3900, 4155, 615);
    Place(optShowAll, 120, 270, 855, 255, 2);
    optShowAll.SetCaption("A&ll");
    Place(optShowSubs, 1140, 270, 1095, 255, 3);
    optShowSubs.SetCaption("S&ubs");
    Place(optShowFunctions, 2400, 270, 1455, 255, 4);
    optShowFunctions.SetCaption("Func&tions");
    Place(cmdAdd, 4440, 840, 1455, 375, 5);
    cmdAdd.SetCaption("&Add...");
    Place(cmdRemove, 4440, 1320, 1455, 375, 6);
    cmdRemove.SetCaption("&Remove");
    Place(cmdEditCategory, 4440, 1800, 1455, 375, 7);
    cmdEditCategory.SetCaption("Cate&gory...");
    Place(cmdClose, 4440, 4140, 1455, 375, 8);
    cmdClose.SetCaption("&Close");
    cmdClose.SetCancel(true);
}

void frmOrganizeProcedures::ConnectEvents() {
    Load = [this] { Form_Load(); };
    optShowAll.Click = [this] { optShowAll_Click(); };
    optShowSubs.Click = [this] { optShowSubs_Click(); };
    optShowFunctions.Click = [this] { optShowFunctions_Click(); };
    cboCategory.Click = [this] { cboCategory_Click(); };
    cboCategory.KeyDown = [this](int, int) { cboCategory_KeyDown(); };
    cboCategory.LostFocus = [this] { cboCategory_LostFocus(); };
    cmdAdd.Click = [this] { cmdAdd_Click(); };
    cmdRemove.Click = [this] { cmdRemove_Click(); };
    cmdEditCategory.Click = [this] { cmdEditCategory_Click(); };
    cmdClose.Click = [this] { cmdClose_Click(); };
}

void frmOrganizeProcedures::Form_Load() {
    forms::Trap(env_.ui, "Form_Load()", [&] {
        const bool loaded = LibraryProcedures.size() <= 1 ? GetProcedures(env_) : true;
        optShowAll.SetValue(true);
        if (loaded) {
            RefreshCategoriesList(env_, cboCategory);
            RefreshList("All");
            return;
        }
        cboCategory.Clear();
        lstAvailableProcedures.Clear();
        cmdAdd.SetEnabled(false);
        cmdRemove.SetEnabled(false);
        cmdEditCategory.SetEnabled(false);
    });
}

std::string frmOrganizeProcedures::FilterWord() const {
    if (optShowAll.Value()) return "All";
    return optShowFunctions.Value() ? "Functions" : "Subs";
}

void frmOrganizeProcedures::RefreshList(const std::string& filter) {
    RefreshAvailableProceduresList(env_, lstAvailableProcedures, cboCategory, filter);
    EnableControls();
}

void frmOrganizeProcedures::EnableControls() {
    forms::Trap(env_.ui, "EnableControls()", [&] {
        const bool hasItems = lstAvailableProcedures.ListCount() > 0;
        cmdRemove.SetEnabled(hasItems);
        cmdEditCategory.SetEnabled(hasItems);
    });
}

void frmOrganizeProcedures::optShowAll_Click() {
    forms::Trap(env_.ui, "optShowAll_Click()", [&] { RefreshList("All"); });
}

void frmOrganizeProcedures::optShowSubs_Click() {
    forms::Trap(env_.ui, "optShowSubs_Click()", [&] { RefreshList("Subs"); });
}

void frmOrganizeProcedures::optShowFunctions_Click() {
    forms::Trap(env_.ui, "optShowFunctions_Click()", [&] { RefreshList("Functions"); });
}

void frmOrganizeProcedures::cboCategory_Click() {
    forms::Trap(env_.ui, "cboCategory_Click()", [&] {
        RefreshList(FilterWord());
        bolCategoryKeyDown = false;
    });
}

void frmOrganizeProcedures::cboCategory_KeyDown() {
    bolCategoryKeyDown = true;
}

void frmOrganizeProcedures::cboCategory_LostFocus() {
    forms::Trap(env_.ui, "cboCategory_LostFocus()", [&] {
        if (NothingChosen(cboCategory)) {
            Tell(env_, kSelectAnItem, forms::vbInformation);
            SelectControl(env_, cboCategory);
        } else if (bolCategoryKeyDown) {
            RefreshList(FilterWord());
            bolCategoryKeyDown = false;
        }
    });
}

void frmOrganizeProcedures::cmdAdd_Click() {
    forms::Trap(env_.ui, "cmdAdd_Click()", [&] {
        frmAddProcedure dialog(env_, cboCategory.Text());
        env_.ui.ShowModal(dialog);
        RefreshList(FilterWord());
    });
}

void frmOrganizeProcedures::cmdRemove_Click() {
    PointerReset reset(env_);
    forms::Trap(env_.ui, "cmdRemove_Click()", [&] {
        const int count = lstAvailableProcedures.SelCount();
        if (lstAvailableProcedures.ListCount() == 0) return;
        if (count == 0) {
            Tell(env_, kSelectAnItem, forms::vbInformation);
            lstAvailableProcedures.SetSelected(0, true);
            return;
        }
        if (!AskYesNo(env_, count == 1 ? "Are you sure you want to delete the selected procedure?"
                                       : "Are you sure you want to delete the selected procedures?"))
            return;
        RemoveSelected();
    });
}

// Lines and headers go together or not at all: a failure between the two
// statements would otherwise leave headers without their lines.
void frmOrganizeProcedures::RemoveSelected() {
    std::unique_ptr<dao::Database> db;
    if (!OpenProcvaultDB(env_, db)) return;
    env_.ui.SetMousePointer(forms::vbHourglass);
    const std::string ids = SelectedIdList(lstAvailableProcedures);
    {
        dao::Transaction transaction(*db);
        db->Execute("DELETE * FROM ProcedureLine WHERE ProcedureHeaderID IN (" + ids + ")");
        db->Execute("DELETE * FROM ProcedureHeader WHERE ProcedureHeaderID IN (" + ids + ")");
        transaction.Commit();
    }
    GetProcedures(env_);
    RefreshList(FilterWord());
    db->Close();
}

void frmOrganizeProcedures::cmdEditCategory_Click() {
    forms::Trap(env_.ui, "cmdEditCategory_Click()", [&] {
        if (lstAvailableProcedures.SelCount() == 0) {
            Tell(env_, kSelectItems, forms::vbInformation);
            return;
        }
        cmdClose.SetEnabled(false);
        frmChangeCategory dialog(env_);
        dialog.ChangeCategory(lstAvailableProcedures);
        cmdClose.SetEnabled(true);
        RefreshList(FilterWord());
    });
}

void frmOrganizeProcedures::cmdClose_Click() {
    forms::Trap(env_.ui, "cmdClose_Click()", [&] { Unload(); });
}

}  // namespace pv
