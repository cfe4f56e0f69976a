#pragma once
// The procedure organizer: the stored procedures filtered by category and
// kind; adds procedures from a module, removes them, and moves them to
// another category. Reads go through LibraryProcedures, reloaded after every
// change; a removal deletes lines and headers together or not at all.
#include <string>

#include "forms/Form.h"
#include "settings/Env.h"

namespace pv {

class frmOrganizeProcedures : public forms::Form {
public:
    explicit frmOrganizeProcedures(Env env);

    void Form_Load();
    void optShowAll_Click();
    void optShowSubs_Click();
    void optShowFunctions_Click();
    void cboCategory_Click();
    void cboCategory_KeyDown();
    void cboCategory_LostFocus();
    void cmdAdd_Click();
    void cmdRemove_Click();
    void cmdEditCategory_Click();
    void cmdClose_Click();
    void EnableControls();

    forms::Label& Label1;
    forms::Label& Label2;
    forms::ComboBox& cboCategory;
    forms::ListBox& lstAvailableProcedures;
    forms::Frame& Frame1;
    forms::OptionButton& optShowAll;
    forms::OptionButton& optShowSubs;
    forms::OptionButton& optShowFunctions;
    forms::CommandButton& cmdAdd;
    forms::CommandButton& cmdRemove;
    forms::CommandButton& cmdEditCategory;
    forms::CommandButton& cmdClose;

private:
    void Design();
    void ConnectEvents();
    std::string FilterWord() const;
    void RefreshList(const std::string& filter);
    void RemoveSelected();

    Env env_;
    bool bolCategoryKeyDown = false;
};

}  // namespace pv
