#pragma once
// The error-message dialog: edits the statement every generated error handler
// carries after its error label, shown in the place it takes in a picture of
// the generated block. A dialog object serves one opening.
#include "forms/Form.h"
#include "settings/Env.h"

namespace pv {

class frmCustomizeErrorMessage : public forms::Form {
public:
    explicit frmCustomizeErrorMessage(Env env);

    void Form_Load();
    void cmdRestoreDefault_Click();
    void cmdOK_Click();
    void cmdCancel_Click();
    bool OKErrorMessage();

    forms::Frame& Frame1;
    forms::Label& Label1;
    forms::Label& lblInstructions;
    forms::Label& Label2;
    forms::Label& Label3;
    forms::Label& Label4;
    forms::Label& Label5;
    forms::Label& Label6;
    forms::TextBox& txtErrorMsg;
    forms::Label& Label7;
    forms::Label& Label8;
    forms::CommandButton& cmdRestoreDefault;
    forms::CommandButton& cmdOK;
    forms::CommandButton& cmdCancel;

private:
    void Design();

    Env env_;
};

}  // namespace pv
