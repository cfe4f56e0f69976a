#include "library/frmEditCategories.h"

#include <memory>

#include "dao/Errors.h"
#include "dao/JetSql.h"
#include "dao/Recordset.h"
#include "forms/ErrorReport.h"
#include "library/DialogKit.h"
#include "library/basConnect.h"
#include "library/frmInput.h"

namespace pv {
namespace {

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

}  // namespace

frmEditCategories::frmEditCategories(Env env)
    : forms::Form("frmEditCategories"),
      Label1(Add<forms::Label>("Label1")),
      lstCategories(Add<forms::ListBox>("lstCategories")),
      cmdAdd(Add<forms::CommandButton>("cmdAdd")),
      cmdEdit(Add<forms::CommandButton>("cmdEdit")),
      cmdRemove(Add<forms::CommandButton>("cmdRemove")),
      cmdClose(Add<forms::CommandButton>("cmdClose")),
      env_(env) {
    SetCaption("Categories");
    Move(0, 0, 4935, 3615);
    Place(Label1, 120, 120, 3615, 255);
    Label1.SetCaption("Add, remove and edit categories:");
    Place(lstCategories, 120, 420, 3255, 2595, 0);
    lstCategories.SetSorted(true);
    Place(cmdAdd, 3480, 420, 1215, 375, 1);
    cmdAdd.SetCaption("&Add...");
    Place(cmdEdit, 3480, 900, 1215, 375, 2);
    cmdEdit.SetCaption("&Edit...");
    Place(cmdRemove, 3480, 1380, 1215, 375, 3);
    cmdRemove.SetCaption("&Remove");
    Place(cmdClose, 3480, 2640, 1215, 375, 4);
    cmdClose.SetCaption("&Close");
    cmdClose.SetCancel(true);
    Load = [this] { Form_Load(); };
    cmdAdd.Click = [this] { cmdAdd_Click(); };
    cmdEdit.Click = [this] { cmdEdit_Click(); };
    cmdRemove.Click = [this] { cmdRemove_Click(); };
    cmdClose.Click = [this] { cmdClose_Click(); };
}

void frmEditCategories::Form_Load() {
    forms::Trap(env_.ui, "Form_Load()", [&] {
        lstCategories.Clear();
        std::unique_ptr<dao::Database> db;
        if (!OpenProcvaultDB(env_, db)) {
            cmdAdd.SetEnabled(false);
            cmdEdit.SetEnabled(false);
            cmdRemove.SetEnabled(false);
            return;
        }
        WaitCursor wait(env_.ui);
        auto rs = db->OpenRecordset("Category", dao::dbOpenSnapshot);
        for (; !rs->Eof(); rs->MoveNext()) {
            lstCategories.AddItem(rs->Fields("CategoryDesc").Value().ToText());
            lstCategories.SetItemData(lstCategories.NewIndex(), rs->Fields("CategoryID").Value().AsLong());
        }
        EnableControls();
        db->Close();
    });
}

void frmEditCategories::EnableControls() {
    forms::Trap(env_.ui, "EnableControls()", [&] {
        const bool hasItems = lstCategories.ListCount() > 0;
        cmdAdd.SetEnabled(true);
        cmdEdit.SetEnabled(hasItems);
        cmdRemove.SetEnabled(hasItems);
    });
}

// Close stays disabled while the input dialog is up over the editor.
std::string frmEditCategories::AskDescription(const std::string& prompt, const std::string& caption,
                                              const std::string& current, bool withDefault) {
    cmdClose.SetEnabled(false);
    frmInput input(env_);
    const std::string answer =
        withDefault ? input.GetInput(prompt, caption, current, false) : input.GetInput(prompt, caption);
    cmdClose.SetEnabled(true);
    return answer;
}

void frmEditCategories::cmdAdd_Click() {
    forms::Trap(env_.ui, "cmdAdd_Click()", [&] {
        const std::string desc =
            AskDescription("Enter a description for the new category:", "Add New Category", "", false);
        if (desc.empty()) return;
        std::unique_ptr<dao::Database> db;
        if (!OpenProcvaultDB(env_, db)) return;
        auto rs = db->OpenRecordset("SELECT * FROM Category WHERE CategoryDesc=" + dao::QuoteText(desc),
                                    dao::dbOpenDynaset);
        if (rs->Eof()) {
            rs->AddNew();
            rs->Collect("CategoryDesc", desc);
            const long id = rs->Fields("CategoryID").Value().AsLong();
            rs->Update();
            lstCategories.AddItem(desc);
            lstCategories.SetItemData(lstCategories.NewIndex(), id);
            EnableControls();
        } else {
            Tell(env_, "There is already a category " + Quoted(desc) + ".", forms::vbExclamation);
        }
        rs->Close();
        db->Close();
    });
}

bool frmEditCategories::NoneSelected() {
    if (lstCategories.ListIndex() >= 0) return false;
    Tell(env_, kSelectAnItem, forms::vbInformation);
    return true;
}

void frmEditCategories::cmdEdit_Click() {
    PointerReset reset(env_);
    forms::Trap(env_.ui, "cmdEdit_Click()", [&] {
        if (NoneSelected()) return;
        const int index = lstCategories.ListIndex();
        const std::string current = lstCategories.List(index);
        const std::string answer =
            AskDescription("Enter the new description for the category:", "Edit Category", current, true);
        if (answer.empty() || answer == current) return;
        std::unique_ptr<dao::Database> db;
        if (!OpenProcvaultDB(env_, db)) return;
        env_.ui.SetMousePointer(forms::vbHourglass);
        db->Execute("UPDATE Category SET CategoryDesc=" + dao::QuoteText(answer) +
                    " WHERE CategoryID=" + std::to_string(lstCategories.ItemData(index)));
        // Re-filed under its new text, as the sorted list keeps its order.
        const long id = lstCategories.ItemData(index);
        lstCategories.RemoveItem(index);
        lstCategories.AddItem(answer);
        lstCategories.SetItemData(lstCategories.NewIndex(), id);
        lstCategories.SetListIndex(lstCategories.NewIndex());
        db->Close();
    });
}

void frmEditCategories::cmdRemove_Click() {
    PointerReset reset(env_);
    const auto inUse = [&](const vbrt::VbError& e) {
        if (e.Number() != dao::jet::RelatedRecordsExist) return false;
        Tell(env_,
             "You cannot remove this category as there are procedures grouped within it. Change the "
             "procedures to be within another category and try again.",
             forms::vbInformation);
        return true;
    };
    forms::Trap(
        env_.ui, "cmdRemove_Click()",
        [&] {
            if (!NoneSelected()) RemoveCategory(lstCategories.ListIndex());
        },
        inUse);
}

void frmEditCategories::RemoveCategory(int index) {
    const std::string id = std::to_string(lstCategories.ItemData(index));
    std::unique_ptr<dao::Database> db;
    if (!OpenProcvaultDB(env_, db)) return;
    auto others =
        db->OpenRecordset("SELECT CategoryID FROM Category WHERE CategoryID <> " + id, dao::dbOpenSnapshot);
    if (others->Eof()) {
        others->Close();
        db->Close();
        if (AskYesNo(env_, "You cannot delete the one remaining category. Would you like to rename it?"))
            cmdEdit_Click();
        return;
    }
    others->Close();
    if (!AskYesNo(env_, "Are you sure you want to remove this category from the list?")) return;
    env_.ui.SetMousePointer(forms::vbHourglass);
    auto rs = db->OpenRecordset("SELECT * FROM Category WHERE CategoryID=" + id, dao::dbOpenDynaset);
    rs->Delete();
    lstCategories.RemoveItem(index);
    rs->Close();
    db->Close();
}

void frmEditCategories::cmdClose_Click() {
    forms::Trap(env_.ui, "cmdClose_Click()", [&] { Unload(); });
}

}  // namespace pv
