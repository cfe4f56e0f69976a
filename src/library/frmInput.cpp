#include "library/frmInput.h"

#include "forms/ErrorReport.h"
#include "forms/Ui.h"
#include "library/DialogKit.h"

namespace pv {

frmInput::frmInput(Env env)
    : forms::Form("frmInput"),
      lblPrompt(Add<forms::Label>("lblPrompt")),
      txtInput(Add<forms::TextBox>("txtInput")),
      cmdOK(Add<forms::CommandButton>("cmdOK")),
      cmdCancel(Add<forms::CommandButton>("cmdCancel")),
      env_(env) {
    SetCaption("Input");
    Move(0, 0, 4800, 1905);
    Place(lblPrompt, 120, 120, 4455, 435);
    Place(txtInput, 120, 600, 4455, 315, 0);
    txtInput.SetMaxLength(50);
    Place(cmdOK, 2160, 1080, 1095, 375, 1);
    cmdOK.SetCaption("OK");
    cmdOK.SetDefault(true);
    Place(cmdCancel, 3360, 1080, 1215, 375, 2);
    cmdCancel.SetCaption("Cancel");
    cmdCancel.SetCancel(true);
    cmdOK.Click = [this] { cmdOK_Click(); };
    cmdCancel.Click = [this] { cmdCancel_Click(); };
}

std::string frmInput::GetInput(const std::string& strPrompt, const std::string& strCaption,
                               std::optional<std::string> varDefault,
                               std::optional<bool> varAllowNullString) {
    forms::Trap(env_.ui, "GetInput()", [&] {
        SetCaption(strCaption);
        lblPrompt.SetCaption(strPrompt);
        txtInput.SetText(varDefault.value_or(""));
        bolAllowNullString = varAllowNullString.value_or(false);
        strReturnValue.clear();
        env_.ui.ShowModal(*this);
    });
    return strReturnValue;
}

bool frmInput::OKToReturn() {
    if (bolAllowNullString || !txtInput.Text().empty()) return true;
    Tell(env_, "You must enter a value.", forms::vbInformation);
    txtInput.SetFocus();
    return false;
}

void frmInput::cmdOK_Click() {
    forms::Trap(env_.ui, "cmdOK_Click()", [&] {
        if (!OKToReturn()) return;
        strReturnValue = txtInput.Text();
        Unload();
    });
}

void frmInput::cmdCancel_Click() {
    forms::Trap(env_.ui, "cmdCancel_Click()", [&] {
        strReturnValue.clear();
        Unload();
    });
}

}  // namespace pv
