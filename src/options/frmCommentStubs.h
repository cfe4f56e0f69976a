#pragma once
// The comment-stub dialog: whether generated procedures get a comment header
// and which lines it holds. Its two options also show or hide (and untick) the
// main dialog's "Add Comment Stubs" box at once, whether or not OK follows.
// A dialog object serves one opening.
#include "forms/Form.h"
#include "settings/Env.h"

namespace pv {

class frmCommentStubs : public forms::Form {
public:
    // `mainStubs`: the main dialog's check box, or none when the main dialog is not open.
    frmCommentStubs(Env env, forms::CheckBox* mainStubs);

    void Form_Load();
    void optNoCommentStubs_Click();
    void optShowCommentStubs_Click();
    void chkProcedureName_Click();
    void chkCreatedBy_Click();
    void chkDateCreated_Click();
    void chkPurpose_Click();
    void chkParameters_Click();
    void chkOutput_Click();
    void txtCreatedByName_LostFocus();
    void cmdOK_Click();
    void cmdCancel_Click();
    void EnableControls(bool bolEnable);
    bool OKCommentStubs();

    forms::Label& Label12;
    forms::Frame& Frame1;
    forms::OptionButton& optNoCommentStubs;
    forms::OptionButton& optShowCommentStubs;
    forms::CheckBox& chkProcedureName;
    forms::CheckBox& chkCreatedBy;
    forms::TextBox& txtCreatedByName;
    forms::CheckBox& chkDateCreated;
    forms::CheckBox& chkPurpose;
    forms::CheckBox& chkParameters;
    forms::CheckBox& chkOutput;
    forms::Label& lblProcedureName;
    forms::Label& lblCreatedBy;
    forms::Label& lblCreatedByName;
    forms::Label& lblDateCreated;
    forms::Label& lblPurpose;
    forms::Label& lblParameters;
    forms::Label& lblOutput;
    forms::CommandButton& cmdOK;
    forms::CommandButton& cmdCancel;

private:
    void Design();
    void ConnectEvents();
    // A line check box and its preview label, in header order.
    struct Line {
        forms::CheckBox& check;
        forms::Label& preview;
        const char* key;
    };
    Line Lines(int index);
    void ShowPreview(forms::CheckBox& check, forms::Label& preview);

    Env env_;
    forms::CheckBox* mainStubs_;
};

}  // namespace pv
