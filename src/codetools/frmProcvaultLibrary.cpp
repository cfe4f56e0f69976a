// The main dialog's "Add From &Procvault" tab: showing the library's
// procedures filtered by category and kind, previewing them, and copying the
// chosen ones to the end of the active code module.
#include <string>
#include <vector>

#include "codetools/frmProcvault.h"
#include "forms/ErrorReport.h"
#include "host/VBE.h"
#include "library/basConnect.h"
#include "library/frmPreview.h"
#include "vbrt/VbError.h"

namespace pv {
namespace {

constexpr const char* kTitle = "Procvault";

void SelectAll(forms::ListBox& list, bool value) {
    for (int i = 0; i < list.ListCount(); ++i) list.SetSelected(i, value);
}

std::vector<long> SelectedKeys(const forms::ListBox& list) {
    std::vector<long> keys;
    for (int i = 0; i < list.ListCount(); ++i)
        if (list.Selected(i)) keys.push_back(list.ItemData(i));
    return keys;
}

// The keys in list order, joined by "," as the statements take them.
std::string KeyList(const std::vector<long>& keys) {
    std::string list;
    for (const long key : keys) list += std::to_string(key) + ",";
    if (!list.empty()) list.pop_back();
    return list;
}

// A NUL in a stored line (a library edited by another program) would leave a module
// that can no longer be read.
void CheckInsertable(const std::string& strText, const std::string& strName) {
    if (strText.find('\0') != std::string::npos)
        vbrt::Raise(vbrt::err::InvalidCall,
                    "The stored procedure '" + strName +
                        "' has a line holding a NUL character; nothing was inserted.");
}

}  // namespace

void frmProcvault::ConnectLibraryEvents() {
    optShowAll.Click = [this] { optShowAll_Click(); };
    optShowFunctions.Click = [this] { optShowFunctions_Click(); };
    optShowSubs.Click = [this] { optShowSubs_Click(); };
    cboCategory.Click = [this] { cboCategory_Click(); };
    cboCategory.KeyDown = [this](int keyCode, int shift) { cboCategory_KeyDown(keyCode, shift); };
    cboCategory.LostFocus = [this] { cboCategory_LostFocus(); };
    cmdCMSelectAll.Click = [this] { cmdCMSelectAll_Click(); };
    cmdCMDeselectAll.Click = [this] { cmdCMDeselectAll_Click(); };
    cmdPreview.Click = [this] { cmdPreview_Click(); };
    lstAvailableProcedures.DblClick = [this] { lstAvailableProcedures_DblClick(); };
}

void frmProcvault::ShowLibraryTab() {
    // Read once per opening of the dialog: it starts from the single empty element.
    const bool bolLoaded = LibraryProcedures.size() > 1 || GetProcedures(env_);
    optShowAll.SetValue(true);
    if (bolLoaded) {
        RefreshCategoriesList(env_, cboCategory);
        RefreshLibraryList("All");
    } else {
        lstAvailableProcedures.Clear();
        cboCategory.Clear();
    }
    EnableControls();
}

std::string frmProcvault::KindFilter() const {
    if (optShowAll.Value()) return "All";
    if (optShowFunctions.Value()) return "Functions";
    if (optShowSubs.Value()) return "Subs";
    return "";
}

void frmProcvault::RefreshLibraryList(const std::string& strKindFilter) {
    RefreshAvailableProceduresList(env_, lstAvailableProcedures, cboCategory, strKindFilter);
}

void frmProcvault::optShowAll_Click() {
    forms::Trap(env_.ui, "optShowAll_Click", [&] {
        RefreshLibraryList("All");
        EnableControls();
    });
}

void frmProcvault::optShowFunctions_Click() {
    forms::Trap(env_.ui, "optShowFunctions_Click", [&] {
        RefreshLibraryList("Functions");
        EnableControls();
    });
}

void frmProcvault::optShowSubs_Click() {
    forms::Trap(env_.ui, "optShowSubs_Click", [&] {
        RefreshLibraryList("Subs");
        EnableControls();
    });
}

void frmProcvault::cboCategory_Click() {
    forms::Trap(env_.ui, "cboCategory_Click", [&] {
        RefreshLibraryList(KindFilter());
        bolCategoryTyped = false;
        EnableControls();
    });
}

void frmProcvault::cboCategory_KeyDown(int /*keyCode*/, int /*shift*/) {
    bolCategoryTyped = true;
}

void frmProcvault::cboCategory_LostFocus() {
    forms::Trap(env_.ui, "cboCategory_LostFocus", [&] {
        if (cboCategory.ListCount() > 0 && cboCategory.ListIndex() < 0) {
            env_.ui.Beep();
            env_.ui.MsgBox("You must select an item from the list.", forms::vbOKOnly | forms::vbInformation,
                           kTitle);
            SelectControl(env_, cboCategory);
        } else if (bolCategoryTyped) {
            RefreshLibraryList(KindFilter());
            bolCategoryTyped = false;
            EnableControls();
        }
    });
}

void frmProcvault::cmdCMSelectAll_Click() {
    forms::Trap(env_.ui, "cmdCMSelectAll_Click", [&] { SelectAll(lstAvailableProcedures, true); });
}

void frmProcvault::cmdCMDeselectAll_Click() {
    forms::Trap(env_.ui, "cmdCMDeselectAll_Click", [&] { SelectAll(lstAvailableProcedures, false); });
}

void frmProcvault::cmdPreview_Click() {
    forms::Trap(env_.ui, "cmdPreview_Click", [&] {
        const std::vector<long> arrSelected = SelectedKeys(lstAvailableProcedures);
        if (arrSelected.empty()) {
            env_.ui.Beep();
            env_.ui.MsgBox("You must select an item(s) from the list.",
                           forms::vbOKOnly | forms::vbInformation, kTitle);
            return;
        }
        frmPreview preview(env_);
        preview.Preview(arrSelected);
    });
}

void frmProcvault::lstAvailableProcedures_DblClick() {
    forms::Trap(env_.ui, "lstAvailableProcedures_DblClick", [&] {
        if (!OKToAdd()) return;
        AddFromProcvault();
        Unload();
    });
}

void frmProcvault::AddFromProcvault() {
    forms::Trap(env_.ui, "AddFromProcvault()", [&] {
        const std::string strKeys = KeyList(SelectedKeys(lstAvailableProcedures));
        // Nothing chosen: no statement to build (the dialog's check stops this before).
        if (strKeys.empty()) return;
        InsertLibraryProcedures(strKeys);
    });
}

void frmProcvault::InsertLibraryProcedures(const std::string& strKeys) {
    std::unique_ptr<dao::Database> db;
    if (!OpenProcvaultDB(env_, db)) return;
    WaitCursor wait(env_.ui);
    auto headers = db->OpenRecordset(
        "SELECT ProcedureHeaderID, Name FROM ProcedureHeader WHERE ProcedureHeaderID IN (" + strKeys + ")",
        dao::dbOpenSnapshot);
    auto lines = db->OpenRecordset(
        "SELECT ProcedureLineID, ProcedureHeaderID, Line FROM ProcedureLine WHERE "
        "ProcedureHeaderID In (" +
            strKeys + ") ORDER BY ProcedureLineID",
        dao::dbOpenSnapshot);
    const dao::Field headerId = headers->Fields("ProcedureHeaderID");
    const dao::Field headerName = headers->Fields("Name");
    const dao::Field lineHeaderId = lines->Fields("ProcedureHeaderID");
    const dao::Field line = lines->Fields("Line");
    // All are read and checked before any goes in: a refused one leaves the module as it was.
    std::vector<std::string> texts;
    for (; !headers->Eof(); headers->MoveNext()) {
        const long lngHeader = headerId.Value().AsLong();
        // Lines left behind by a procedure no longer stored would stop the walk for every later one.
        while (!lines->Eof() && lineHeaderId.Value().AsLong() < lngHeader) lines->MoveNext();
        std::string& strText = texts.emplace_back();
        for (; !lines->Eof() && lineHeaderId.Value().AsLong() == lngHeader; lines->MoveNext())
            strText += line.Value().ToText() + "\r\n";
        CheckInsertable(strText, headerName.Value().ToText());
    }
    db->Close();
    host::CodeModule& module = Vbe().ActiveCodePane().CodeModule();
    long n = 0;  // 0: nothing inserted, the caret stays where it is
    for (const std::string& strText : texts) {
        n = module.CountOfLines() + 1;
        module.InsertLines(n, strText);
    }
    if (n > 0) module.CodePane().SetSelection(n, 1, n, 1);
}

}  // namespace pv
