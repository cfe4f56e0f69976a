#pragma once
// Stores Subs and Functions of a module of the active project in the library:
// the user picks a module, its procedures and a category. Each procedure
// becomes one header row and one line row per source line; one OK writes all
// of them in one transaction, so the library never holds a procedure in part.
#include <string>

#include "dao/Database.h"
#include "forms/Form.h"
#include "settings/Env.h"

namespace pv {

class frmAddProcedure : public forms::Form {
public:
    // `organizerCategoryText`: what the organizer's category box shows, used
    // to preselect the same category here.
    frmAddProcedure(Env env, std::string organizerCategoryText);

    void Form_Load();
    void cboModule_Click();
    void cboModule_LostFocus();
    void cboCategory_LostFocus();
    void cmdSelectAll_Click();
    void cmdDeselectAll_Click();
    void cmdOK_Click();
    void lstProcedures_DblClick();
    void cmdCancel_Click();
    void RefreshProceduresList();
    bool OKToAdd();
    // Stores every selected procedure and closes the dialog; on a failure
    // nothing is stored and the dialog stays open.
    void AddProcedures();
    // Raises its failures, so that the caller's transaction drops the procedure whole.
    void AddSingleProcedure(const std::string& strEntry, dao::Recordset& rsHeader, dao::Recordset& rsLine);

    forms::Label& Label1;
    forms::ComboBox& cboModule;
    forms::Label& Label2;
    forms::ComboBox& cboCategory;
    forms::ListBox& lstProcedures;
    forms::CommandButton& cmdSelectAll;
    forms::CommandButton& cmdDeselectAll;
    forms::CommandButton& cmdOK;
    forms::CommandButton& cmdCancel;

private:
    void Design();
    void ConnectEvents();
    void PreselectCategory();
    void FillModules();
    bool StoreSelected(dao::Database& db);

    Env env_;
    std::string organizerCategory_;
};

}  // namespace pv
