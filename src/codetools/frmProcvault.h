#pragma once
// The main dialog: "&New Procedure" generates a procedure in the active code
// module, "&Existing Procedures" adds error handling to the procedures that
// lack it, "Add From &Procvault" copies library procedures in. One OK acts on
// the tab made current last. A dialog object serves one opening.
#include <string>

#include "forms/Form.h"
#include "settings/Env.h"
#include "vbrt/VbError.h"

namespace pv {

// The host's failure 50003 gets its own message (titled "Procvault") instead of
// the standard report; true when `e` was that failure and has been shown.
bool ReportServicePackError(forms::Ui& ui, const vbrt::VbError& e);

class frmProcvault : public forms::Form {
public:
    explicit frmProcvault(Env env);

    // Fills the dialog from the active code module and shows it modally;
    // returns once it has closed. A failure is reported and nothing is shown.
    void OpenProcvault();
    // Adds to lstProcedures an entry for every procedure of the active code
    // module without error handling. Members the host cannot place are skipped;
    // other failures are raised to the caller.
    void BuildProcedureList();

    void ctlTab_Click(int previousTab);
    void cmdOK_Click();
    void cmdCancel_Click();
    void cmdOptions_Click();
    void cmdSelectAll_Click();
    void cmdDeselectAll_Click();
    void lstProcedures_DblClick();
    bool OKToAdd();
    void EnableControls();

    // The library tab.
    void optShowAll_Click();
    void optShowFunctions_Click();
    void optShowSubs_Click();
    void cboCategory_Click();
    void cboCategory_KeyDown(int keyCode, int shift);
    void cboCategory_LostFocus();
    void cmdCMSelectAll_Click();
    void cmdCMDeselectAll_Click();
    void cmdPreview_Click();
    void lstAvailableProcedures_DblClick();
    // Appends the selected library procedures, in the order they were stored,
    // after the active module's last line and puts the caret on the last one.
    // When none of them is in the library any more, nothing moves.
    void AddFromProcvault();

    void GetExistingProcedureDetails(int intIndex, std::string& strName, std::string& strType,
                                     long& lngStartLine);
    void GetNewProcedureDetails(std::string& strProcName, std::string& strScope, std::string& strProcType);
    const std::string& CurrentTab() const { return strCurrentTab; }

    forms::TabStrip& ctlTab;
    // Tab 0.
    forms::PictureBox& Picture1;
    forms::Frame& Frame1;
    forms::Label& Label1;
    forms::TextBox& txtProcName;
    forms::Frame& Frame2;
    forms::OptionButton& optSub;
    forms::OptionButton& optFunction;
    forms::OptionButton& optProperty;
    forms::Frame& Frame3;
    forms::OptionButton& optPrivate;
    forms::OptionButton& optPublic;
    forms::OptionButton& optFriend;
    forms::CheckBox& chkStatic;
    // Tab 1.
    forms::PictureBox& Picture2;
    forms::Label& Label3;
    forms::ListBox& lstProcedures;
    forms::CommandButton& cmdSelectAll;
    forms::CommandButton& cmdDeselectAll;
    forms::CheckBox& chkShowCommentStubs;
    // Tab 2.
    forms::PictureBox& Picture3;
    forms::Label& Label4;
    forms::ListBox& lstAvailableProcedures;
    forms::Label& Label2;
    forms::ComboBox& cboCategory;
    forms::Frame& Frame4;
    forms::OptionButton& optShowAll;
    forms::OptionButton& optShowFunctions;
    forms::OptionButton& optShowSubs;
    forms::CommandButton& cmdCMSelectAll;
    forms::CommandButton& cmdCMDeselectAll;
    forms::CommandButton& cmdPreview;
    // Below the tabs.
    forms::CommandButton& cmdOK;
    forms::CommandButton& cmdCancel;
    forms::CommandButton& cmdOptions;

private:
    void Design();
    void ConnectEvents();
    void TryAddEntry(const std::string& strName, int kind, const std::string& strEntry);
    void AddToSelectedProcedures();
    void AddNewProcedure();
    void ShowLibraryTab();
    void ConnectLibraryEvents();
    // "All", "Functions" or "Subs", from the kind filter's option buttons.
    std::string KindFilter() const;
    void RefreshLibraryList(const std::string& strKindFilter);
    void InsertLibraryProcedures(const std::string& strKeys);
    bool Refuse(const std::string& message);
    bool OKToAddExisting();
    bool OKToAddNew();
    bool OKToAddFromLibrary();
    int CurrentTabNumber() const;
    void SetCurrentTab(int tab);

    Env env_;
    std::string strCurrentTab = "0";
    bool bolCategoryTyped = false;
};

}  // namespace pv
