// The main dialog's behaviour: opening, tab changes, validation and OK.
#include "codetools/frmProcvault.h"

#include <charconv>

#include "codetools/ErrorHandling.h"
#include "codetools/NewProcedure.h"
#include "codetools/ProcAnalysis.h"
#include "forms/ErrorReport.h"
#include "host/VBE.h"
#include "library/basConnect.h"
#include "options/frmOptions.h"
#include "settings/Options.h"

namespace pv {
namespace {

constexpr const char* kTitle = "Procvault";
constexpr long kServicePackError = 50003;

bool IgnoreNotFocusable(const vbrt::VbError& e) {
    return e.Number() == vbrt::err::InvalidCall;
}

void SelectAll(forms::ListBox& list, bool value) {
    for (int i = 0; i < list.ListCount(); ++i) list.SetSelected(i, value);
}

}  // namespace

bool ReportServicePackError(forms::Ui& ui, const vbrt::VbError& e) {
    if (e.Number() != kServicePackError) return false;
    ui.Beep();
    ui.MsgBox(
        "Error 50003: Unexpected Error. Ensure you have run Visual Basic Service Pack 3 before "
        "attempting to useProcvault",
        forms::vbCritical, kTitle);
    return true;
}

void frmProcvault::OpenProcvault() {
    forms::Trap(
        env_.ui, "OpenProcvault",
        [&] {
            BuildProcedureList();
            const bool hasEntries = lstProcedures.ListCount() > 0;
            cmdSelectAll.SetEnabled(hasEntries);
            cmdDeselectAll.SetEnabled(hasEntries);
            chkShowCommentStubs.SetVisible(ReadFlag(env_.store, key::ShowCommentStubs, "0"));
            if (!hasEntries) {
                ctlTab.SetTab(0);
                SetCurrentTab(0);
            } else {
                ctlTab.SetTab(1);
                SetCurrentTab(1);
                lstProcedures.SetSelected(0, true);
            }
            // The library tab reads the library afresh the first time it is shown.
            ResetLibraryProcedures();
            env_.ui.ShowModal(*this);
        },
        [&](const vbrt::VbError& e) { return ReportServicePackError(env_.ui, e); });
}

void frmProcvault::ctlTab_Click(int /*previousTab*/) {
    // Error 5: the name box cannot take the focus while the dialog is not yet visible.
    forms::Trap(
        env_.ui, "ctlTab_Click",
        [&] {
            switch (ctlTab.Tab()) {
                case 0:
                    SetCurrentTab(0);
                    txtProcName.SetFocus();
                    break;
                case 1: {
                    SetCurrentTab(1);
                    cmdCMSelectAll.SetEnabled(false);
                    cmdCMDeselectAll.SetEnabled(false);
                    const bool hasEntries = lstProcedures.ListCount() > 0;
                    cmdSelectAll.SetEnabled(hasEntries);
                    cmdDeselectAll.SetEnabled(hasEntries);
                    break;
                }
                default:
                    SetCurrentTab(2);
                    ShowLibraryTab();
                    cmdSelectAll.SetEnabled(false);
                    cmdDeselectAll.SetEnabled(false);
                    EnableControls();
                    break;
            }
        },
        IgnoreNotFocusable);
}

void frmProcvault::cmdOK_Click() {
    forms::Trap(env_.ui, "cmdOK_Click", [&] {
        if (!OKToAdd()) return;
        switch (CurrentTabNumber()) {
            case 0:
                AddNewProcedure();
                Unload();
                break;
            case 1:
                AddToSelectedProcedures();
                break;
            default:
                AddFromProcvault();
                Unload();
                break;
        }
    });
}

void frmProcvault::AddNewProcedure() {
    std::string strProcName, strScope, strProcType;
    GetNewProcedureDetails(strProcName, strScope, strProcType);
    if (strProcType == "Property") {
        AddToNewProcedure(env_, strScope, strProcType, strProcName, "Get ", "", " As Variant");
        AddToNewProcedure(env_, strScope, strProcType, strProcName, "Let ", "varArgument", "");
    } else {
        AddToNewProcedure(env_, strScope, strProcType, strProcName, "", "", "");
    }
}

void frmProcvault::cmdCancel_Click() {
    forms::Trap(env_.ui, "cmdCancel_Click", [&] { Unload(); });
}

void frmProcvault::cmdOptions_Click() {
    forms::Trap(env_.ui, "cmdOptions_Click()", [&] {
        frmOptions options(env_, &chkShowCommentStubs);
        env_.ui.ShowModal(options);
        // The categories or the library's location may have changed; the procedures are not read again.
        if (ctlTab.Tab() != 2) return;
        RefreshCategoriesList(env_, cboCategory);
        RefreshLibraryList(KindFilter());
        EnableControls();
    });
}

void frmProcvault::cmdSelectAll_Click() {
    forms::Trap(env_.ui, "cmdSelectAll_Click", [&] { SelectAll(lstProcedures, true); });
}

void frmProcvault::cmdDeselectAll_Click() {
    forms::Trap(env_.ui, "cmdDeselectAll_Click", [&] { SelectAll(lstProcedures, false); });
}

void frmProcvault::lstProcedures_DblClick() {
    forms::Trap(env_.ui, "lstProcedures_DblClick", [&] {
        if (OKToAdd()) AddToSelectedProcedures();
    });
}

void frmProcvault::EnableControls() {
    forms::Trap(env_.ui, "EnableControls()", [&] {
        const bool hasEntries = lstAvailableProcedures.ListCount() > 0;
        cmdCMSelectAll.SetEnabled(hasEntries);
        cmdCMDeselectAll.SetEnabled(hasEntries);
        cmdPreview.SetEnabled(hasEntries);
    });
}

void frmProcvault::SetCurrentTab(int tab) {
    strCurrentTab = std::to_string(tab);
}

int frmProcvault::CurrentTabNumber() const {
    int number = 0;
    const auto [end, ec] =
        std::from_chars(strCurrentTab.data(), strCurrentTab.data() + strCurrentTab.size(), number);
    return ec == std::errc() ? number : 0;
}

bool frmProcvault::Refuse(const std::string& message) {
    env_.ui.Beep();
    env_.ui.MsgBox(message, forms::vbInformation + forms::vbOKOnly, kTitle);
    return false;
}

bool frmProcvault::OKToAdd() {
    bool result = false;
    forms::Trap(env_.ui, "OKToAdd", [&] {
        switch (CurrentTabNumber()) {
            case 0:
                result = OKToAddNew();
                break;
            case 1:
                result = OKToAddExisting();
                break;
            default:
                result = OKToAddFromLibrary();
                break;
        }
    });
    return result;
}

bool frmProcvault::OKToAddExisting() {
    if (lstProcedures.ListCount() == 0) return Refuse("There are no existing procedures.");
    if (lstProcedures.SelCount() == 0) {
        Refuse("You must select a procedure from the list.");
        lstProcedures.SetSelected(0, true);
        return false;
    }
    return true;
}

bool frmProcvault::OKToAddNew() {
    const std::string& name = txtProcName.Text();
    if (InvalidProcedureName(env_, name)) {
        Refuse("Invalid procedure name.");
        SelectControl(env_, txtProcName);
        return false;
    }
    bool bolIsVariable = false;
    if (DuplicateProcedureName(env_, name, bolIsVariable)) {
        Refuse(bolIsVariable ? "A variable of this name already exists."
                             : "A procedure of this name already exists.");
        SelectControl(env_, txtProcName);
        return false;
    }
    return true;
}

bool frmProcvault::OKToAddFromLibrary() {
    if (lstAvailableProcedures.ListCount() == 0) return Refuse("There are no available procedures to add.");
    if (lstAvailableProcedures.SelCount() == 0) {
        Refuse("You must select a procedure from the list.");
        lstAvailableProcedures.SetSelected(0, true);
        return false;
    }
    return true;
}

void frmProcvault::GetNewProcedureDetails(std::string& strProcName, std::string& strScope,
                                          std::string& strProcType) {
    forms::Trap(env_.ui, "GetNewProcedureDetails", [&] {
        strProcName = txtProcName.Text();
        strScope = optPrivate.Value() ? "Private" : optPublic.Value() ? "Public" : "Friend";
        if (chkStatic.Value() == 1) strScope += " Static";
        strProcType = optSub.Value() ? "Sub" : optFunction.Value() ? "Function" : "Property";
    });
}

}  // namespace pv
