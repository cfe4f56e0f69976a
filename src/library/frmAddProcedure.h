#pragma once
// Stores Subs and Functions of a module of the active project in the library:
// the user picks a module, its procedures and a category. Each procedure
// becomes one header row and one line row per source line, written together
// in one transaction so that the library never holds a procedure in part.
#include <string>

#include "dao/Recordset.h"
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
    void AddProcedures();
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

    Env env_;
    std::string organizerCategory_;
};

// The kind word of a declaration line: "Sub", "Function", or "" for what is
// neither (a Declare, an Event). Scope words and leading blanks are skipped.
std::string StoredKind(const std::string& declaration);

}  // namespace pv
