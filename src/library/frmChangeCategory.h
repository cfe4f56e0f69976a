#pragma once
// Moves the procedures selected in the organizer's list to another category.
#include "forms/Form.h"
#include "settings/Env.h"

namespace pv {

class frmChangeCategory : public forms::Form {
public:
    explicit frmChangeCategory(Env env);

    // Fills the category box (without "(All)"), keeps the list and shows the
    // dialog modally; returns when it has closed.
    void ChangeCategory(forms::ListBox& lstProcedureList);
    void cmdOK_Click();
    void cmdCancel_Click();
    void cboNewCategory_LostFocus();

    forms::Label& Label1;
    forms::ComboBox& cboNewCategory;
    forms::CommandButton& cmdOK;
    forms::CommandButton& cmdCancel;

private:
    Env env_;
    forms::ListBox* lstProcedureList_ = nullptr;
};

}  // namespace pv
