#include "library/frmChangeCategory.h"

#include <memory>

#include "forms/ErrorReport.h"
#include "library/DialogKit.h"
#include "library/SelectedIds.h"
#include "library/basConnect.h"

namespace pv {

frmChangeCategory::frmChangeCategory(Env env)
    : forms::Form("frmChangeCategory"),
      Label1(Add<forms::Label>("Label1")),
      cboNewCategory(Add<forms::ComboBox>("cboNewCategory")),
      cmdOK(Add<forms::CommandButton>("cmdOK")),
      cmdCancel(Add<forms::CommandButton>("cmdCancel")),
      env_(env) {
    SetCaption("Change Category");
    Move(0, 0, 4200, 1920);
    Place(Label1, 120, 120, 2415, 255);
    Label1.SetCaption("New Category");
    Place(cboNewCategory, 120, 420, 3855, 315, 0);
    cboNewCategory.SetSorted(true);
    Place(cmdOK, 1560, 960, 1095, 375, 1);
    cmdOK.SetCaption("OK");
    cmdOK.SetDefault(true);
    Place(cmdCancel, 2760, 960, 1215, 375, 2);
    cmdCancel.SetCaption("Cancel");
    cmdCancel.SetCancel(true);
    cmdOK.Click = [this] { cmdOK_Click(); };
    cmdCancel.Click = [this] { cmdCancel_Click(); };
    cboNewCategory.LostFocus = [this] { cboNewCategory_LostFocus(); };
}

void frmChangeCategory::ChangeCategory(forms::ListBox& lstProcedureList) {
    forms::Trap(env_.ui, "ChangeCategory()", [&] {
        RefreshCategoriesList(env_, cboNewCategory);
        RemoveAllEntry(cboNewCategory);
        if (cboNewCategory.ListCount() > 0) cboNewCategory.SetListIndex(0);
        lstProcedureList_ = &lstProcedureList;
        env_.ui.ShowModal(*this);
    });
}

void frmChangeCategory::cmdOK_Click() {
    PointerReset reset(env_);
    forms::Trap(env_.ui, "cmdOK_Click()", [&] {
        // Typed text that names no category (Enter pressed in the box): moving needs a chosen one.
        if (cboNewCategory.ListIndex() < 0) {
            cboNewCategory_LostFocus();
            return;
        }
        env_.ui.SetMousePointer(forms::vbHourglass);
        std::unique_ptr<dao::Database> db;
        if (!OpenProcvaultDB(env_, db) || lstProcedureList_ == nullptr) return;
        const std::string ids = SelectedIdList(*lstProcedureList_);
        if (!ids.empty())
            db->Execute("UPDATE ProcedureHeader SET CategoryID=" +
                        std::to_string(cboNewCategory.ItemData(cboNewCategory.ListIndex())) +
                        " WHERE ProcedureHeaderID IN (" + ids + ")");
        GetProcedures(env_);
        Unload();
        db->Close();
    });
}

void frmChangeCategory::cmdCancel_Click() {
    forms::Trap(env_.ui, "cmdCancel_Click()", [&] { Unload(); });
}

void frmChangeCategory::cboNewCategory_LostFocus() {
    forms::Trap(env_.ui, "cboNewCategory_LostFocus()", [&] {
        if (cboNewCategory.ListIndex() >= 0) return;
        Tell(env_, kSelectAnItem, forms::vbInformation);
        SelectControl(env_, cboNewCategory);
    });
}

}  // namespace pv
