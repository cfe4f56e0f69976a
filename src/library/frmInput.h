#pragma once
// A small general-purpose question: a prompt, one line of text (50 characters
// at most), OK and Cancel. An empty answer is refused unless allowed.
// GetInput shows it modally and hands back the answer, or "" after Cancel.
#include <optional>
#include <string>

#include "forms/Form.h"
#include "settings/Env.h"

namespace pv {

class frmInput : public forms::Form {
public:
    explicit frmInput(Env env);

    std::string GetInput(const std::string& strPrompt, const std::string& strCaption,
                         std::optional<std::string> varDefault = std::nullopt,
                         std::optional<bool> varAllowNullString = std::nullopt);
    void cmdOK_Click();
    void cmdCancel_Click();
    bool OKToReturn();

    forms::Label& lblPrompt;
    forms::TextBox& txtInput;
    forms::CommandButton& cmdOK;
    forms::CommandButton& cmdCancel;

private:
    Env env_;
    bool bolAllowNullString = false;
    std::string strReturnValue;
};

}  // namespace pv
