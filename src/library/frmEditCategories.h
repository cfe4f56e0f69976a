#pragma once
// The category editor: lists the library's categories and adds, renames and
// removes them. The last category cannot be removed (a rename is offered), nor
// one that procedures still belong to. The list follows the table step by step,
// changed only after the library accepted the change.
#include "forms/Form.h"
#include "settings/Env.h"

namespace pv {

class frmEditCategories : public forms::Form {
public:
    explicit frmEditCategories(Env env);

    void Form_Load();
    void cmdAdd_Click();
    void cmdEdit_Click();
    void cmdRemove_Click();
    void cmdClose_Click();
    void EnableControls();

    forms::Label& Label1;
    forms::ListBox& lstCategories;
    forms::CommandButton& cmdAdd;
    forms::CommandButton& cmdEdit;
    forms::CommandButton& cmdRemove;
    forms::CommandButton& cmdClose;

private:
    std::string AskDescription(const std::string& prompt, const std::string& caption,
                               const std::string& current, bool withDefault);
    void RemoveCategory(int index);
    bool NoneSelected();

    Env env_;
};

}  // namespace pv
