// The Options dialog's behaviour: opening, the two checks, OK, Cancel, Browse
// and the library dialogs opened from it.
#include "options/frmOptions.h"

#include <cstdlib>
#include <filesystem>

#include "dao/DBEngine.h"
#include "dao/Location.h"
#include "forms/ErrorReport.h"
#include "library/DialogKit.h"
#include "library/basConnect.h"
#include "library/frmEditCategories.h"
#include "library/frmOrganizeProcedures.h"
#include "options/basCommonDialog.h"
#include "settings/Options.h"
#include "vbrt/Text.h"

namespace pv {
namespace {

constexpr const char* kTitle = "Procvault";
constexpr const char* kNoPrefix = "You must enter a prefix for block comment sections.";
constexpr const char* kAddSymbol =
    "You have not begun your comment prefix with the Visual Basic comment symbol. Would you like Procvault "
    "to "
    "add this for you?";
constexpr const char* kNoLocation =
    "There is no location entered for the Procvault database. Please enter the correct location of this "
    "file.";
constexpr const char* kNotFound =
    "This file was not found. Please enter the correct location of the Procvault database.";
constexpr const char* kNotALibrary =
    "The database you entered is not a valid Procvault database. Please enter the path of a valid database.";
constexpr const char* kLibraryFilter = "Databases (*.mdb)|*.mdb|All files (*)|*";

constexpr int kModuleTab = 0;
constexpr int kDatabaseTab = 1;

// OK and Cancel come back however the dialog shown on top of them ends.
class ButtonsDisabled {
public:
    ButtonsDisabled(forms::CommandButton& ok, forms::CommandButton& cancel) : ok_(ok), cancel_(cancel) {
        ok_.SetEnabled(false);
        cancel_.SetEnabled(false);
    }
    ~ButtonsDisabled() {
        ok_.SetEnabled(true);
        cancel_.SetEnabled(true);
    }
    ButtonsDisabled(const ButtonsDisabled&) = delete;
    ButtonsDisabled& operator=(const ButtonsDisabled&) = delete;

private:
    forms::CommandButton& ok_;
    forms::CommandButton& cancel_;
};

bool IsLibraryTable(const std::string& name) {
    return name == "ProcedureHeader" || name == "ProcedureLine" || name == "Category";
}

bool IsSystemTable(const std::string& name) {
    return vbrt::EqualsText(name.substr(0, 4), "msys");
}

std::string HomeFolder() {
    const char* home = std::getenv("HOME");
    return home ? home : "";
}

}  // namespace

void frmOptions::Form_Load() {
    forms::Trap(env_.ui, "Form_Load", [&] {
        txtCommentPrefix.SetText(ReadCommentPrefix(env_.store));
        const std::string strIndentLevel = ReadIndentLevel(env_.store);
        if (strIndentLevel == "0") optAlignLeft.SetValue(true);
        if (strIndentLevel == "1") optAlignIndent.SetValue(true);
        txtProcvaultLocation.SetText(ProcvaultLocation(env_));
        lblAppName.SetCaption("Procvault");
        lblVersion.SetCaption("Version 1.1");
        lblCopyright.SetCaption("Copyright (C) the Procvault developers");
        lblEmailAddress.SetCaption("procvault@example.org");
        ctlTab.SetTab(kModuleTab);
    });
}

void frmOptions::cmdOK_Click() {
    forms::Trap(env_.ui, "cmdOK_Click", [&] {
        if (!OKCommentPrefix() || !OKDatabaseLocation()) return;
        PointerReset pointer(env_);
        env_.ui.SetMousePointer(forms::vbHourglass);
        WriteOption(env_.store, key::CommentPrefix, txtCommentPrefix.Text());
        WriteOption(env_.store, key::IndentLevel, optAlignLeft.Value() ? "0" : "1");
        WriteOption(env_.store, key::ProcvaultLocation, txtProcvaultLocation.Text());
        Unload();
    });
}

void frmOptions::cmdCancel_Click() {
    forms::Trap(env_.ui, "cmdCancel_Click", [&] { Unload(); });
}

void frmOptions::cmdCategories_Click() {
    forms::Trap(env_.ui, "cmdCategories_Click()", [&] {
        if (!OKDatabaseLocation()) return;
        frmEditCategories dialog(env_);
        ShowOverThis(dialog);
    });
}

void frmOptions::cmdProcedures_Click() {
    forms::Trap(env_.ui, "cmdProcedures_Click()", [&] {
        if (!OKDatabaseLocation()) return;
        frmOrganizeProcedures dialog(env_);
        ShowOverThis(dialog);
    });
}

void frmOptions::ShowOverThis(forms::Form& dialog) {
    // Closing this dialog while another sits on top of it would pull the ground from under that one.
    ButtonsDisabled disabled(cmdOK, cmdCancel);
    env_.ui.ShowModal(dialog);
}

void frmOptions::cmdFindProcvault_Click() {
    forms::Trap(env_.ui, "cmdFindProcvault_Click()", [&] {
        const std::string strPath =
            ShowOpenFileDialog(env_, "Select Procvault File", kLibraryFilter, HomeFolder());
        if (!strPath.empty()) txtProcvaultLocation.SetText(strPath);
    });
}

bool frmOptions::OKCommentPrefix() {
    bool result = false;
    forms::Trap(env_.ui, "OKCommentPrefix()", [&] {
        const std::string& text = txtCommentPrefix.Text();
        const auto first = text.find_first_not_of(' ');
        txtCommentPrefix.SetText(first == std::string::npos ? std::string() : text.substr(first));
        const bool empty = txtCommentPrefix.Text().empty();
        if (empty || !IsOneLine(txtCommentPrefix.Text())) {
            env_.ui.Beep();
            env_.ui.MsgBox(empty ? kNoPrefix : kNotOneLine, forms::vbOKOnly | forms::vbInformation, kTitle);
            ctlTab.SetTab(kModuleTab);
            txtCommentPrefix.SetFocus();
            return;
        }
        if (txtCommentPrefix.Text().front() == '\'') {
            result = true;
            return;
        }
        env_.ui.Beep();
        if (env_.ui.MsgBox(kAddSymbol, forms::vbYesNo | forms::vbQuestion, kTitle) == forms::vbYes) {
            txtCommentPrefix.SetText("'" + txtCommentPrefix.Text());
            result = true;
            return;
        }
        ctlTab.SetTab(kModuleTab);
        SelectControl(env_, txtCommentPrefix);
    });
    return result;
}

bool frmOptions::OKDatabaseLocation() {
    // A file the engine cannot open as a library (not a database, held elsewhere) is no usable
    // library either: the failure is reported and the answer is False.
    bool result = false;
    PointerReset pointer(env_);
    forms::Trap(env_.ui, "OKDatabaseLocation()", [&] {
        const bool oneLine = IsOneLine(txtProcvaultLocation.Text());
        const std::string message = oneLine ? CheckLocation(txtProcvaultLocation.Text()) : kNotOneLine;
        result = message.empty();
        if (result) return;
        env_.ui.Beep();
        ctlTab.SetTab(kDatabaseTab);
        env_.ui.MsgBox(message, forms::vbOKOnly | (oneLine ? forms::vbCritical : forms::vbInformation),
                       kTitle);
        SelectControl(env_, txtProcvaultLocation);
    });
    return result;
}

std::string frmOptions::CheckLocation(const std::string& strLocation) {
    if (strLocation.empty()) return kNoLocation;
    env_.ui.SetMousePointer(forms::vbHourglass);
    auto db = OpenLocation(strLocation);
    if (!db) return vbrt::FileNameText(dao::MaskedLocation(strLocation)) + ":\r\n" + kNotFound;
    bool valid = true;
    for (const dao::TableDef& table : db->TableDefs())
        if (!IsLibraryTable(table.Name()) && !IsSystemTable(table.Name())) valid = false;
    db->Close();
    if (valid) return {};
    env_.ui.Beep();
    return kNotALibrary;
}

}  // namespace pv
