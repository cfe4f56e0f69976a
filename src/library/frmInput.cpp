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
    // Client area 4980 x 1455: the prompt on one line, the buttons at the bottom right.
    Move(0, 0, 5100, 1860);
    Place(lblPrompt, 120, 120, 4740, 255);
    Place(txtInput, 120, 480, 4740, 315, 0);
    txtInput.SetMaxLength(50);
    Place(cmdOK, 2310, 960, 1215, 375, 1);
    cmdOK.SetCaption("OK");
    cmdOK.SetDefault(true);
    Place(cmdCancel, 3645, 960, 1215, 375, 2);
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
