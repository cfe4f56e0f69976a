#pragma once
// The Options dialog: the block-comment prefix and alignment and the library
// file's path, read when it opens and written, once they pass their checks,
// by OK only; and the hub the category and procedure dialogs open from.
// A dialog object serves one opening.
#include <string>

#include "forms/Form.h"
#include "settings/Env.h"

namespace pv {

class frmOptions : public forms::Form {
public:
    // `mainStubs`: the main dialog's "Add Comment Stubs" box, which the comment-stub
    // dialog opened from here shows or hides; none when the main dialog is not open.
    explicit frmOptions(Env env, forms::CheckBox* mainStubs = nullptr);

    void Form_Load();
    void cmdOK_Click();
    void cmdCancel_Click();
    void cmdCategories_Click();
    void cmdProcedures_Click();
    void cmdFindProcvault_Click();
    void cmdCommentStubs_Click();
    void cmdCustomizeErrorMessage_Click();
    void cmdCompact_Click();

    forms::TabStrip& ctlTab;
    // Tab 0, "&Module Options".
    forms::Frame& Frame9;
    forms::Label& Label4;
    forms::TextBox& txtCommentPrefix;
    forms::Label& Label5;
    forms::OptionButton& optAlignIndent;
    forms::OptionButton& optAlignLeft;
    forms::Frame& Frame8;
    forms::Label& Label3;
    forms::CommandButton& cmdCommentStubs;
    forms::Frame& Frame1;
    forms::Label& Label2;
    forms::CommandButton& cmdCustomizeErrorMessage;
    // Tab 1, "Code &Database Options".
    forms::Frame& Frame5;
    forms::Label& Label11;
    forms::CommandButton& cmdCategories;
    forms::Frame& Frame4;
    forms::Label& Label1;
    forms::CommandButton& cmdProcedures;
    forms::Frame& Frame3;
    forms::Label& Label10;
    forms::TextBox& txtProcvaultLocation;
    forms::CommandButton& cmdFindProcvault;
    forms::Label& Label9;
    forms::CommandButton& cmdCompact;
    // Tab 2, "&About Procvault".
    forms::Frame& Frame6;
    forms::Label& lblAppName;
    forms::Label& lblVersion;
    forms::Label& lblCopyright;
    forms::Label& Label14;
    forms::Label& lblEmailAddress;
    // Below the tabs.
    forms::CommandButton& cmdOK;
    forms::CommandButton& cmdCancel;

private:
    void Design();
    void DesignModuleTab();
    void DesignDatabaseTab();
    void DesignAboutTab();
    void ConnectEvents();
    bool OKCommentPrefix();
    bool OKDatabaseLocation();
    // The location's message, or "" when the file is a usable library.
    std::string CheckLocation(const std::string& strLocation);
    void ShowOverThis(forms::Form& dialog);

    Env env_;
    forms::CheckBox* mainStubs_;
};

}  // namespace pv
