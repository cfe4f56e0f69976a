#include "options/frmCustomizeErrorMessage.h"

#include "forms/ErrorReport.h"
#include "library/DialogKit.h"
#include "library/basConnect.h"
#include "settings/Options.h"

namespace pv {
namespace {

constexpr const char* kNoMessage = "You must enter an error message.";
constexpr const char* kNoName = "You have not included the procedure name in the message. Is this OK?";
constexpr const char* kNameTag = "<NAME>";

// The picture of the generated block: one line every 270 twips, indented lines one step in.
constexpr long kMargin = 240;
constexpr long kIndent = 600;
constexpr long kLineWidth = 4200;
constexpr long kLineHeight = 255;
// The statement box shows all 100 characters allowed in the code font, so the
// dialog is as wide as that line of code.
constexpr long kStatementWidth = 12240;
constexpr long kFrameWidth = kIndent + kStatementWidth + 240;
constexpr long kFrameRight = 120 + kFrameWidth;

}  // namespace

frmCustomizeErrorMessage::frmCustomizeErrorMessage(Env env)
    : forms::Form("frmCustomizeErrorMessage"),
      Frame1(Add<forms::Frame>("Frame1")),
      Label1(Add<forms::Label>("Label1", &Frame1)),
      lblInstructions(Add<forms::Label>("lblInstructions", &Frame1)),
      Label2(Add<forms::Label>("Label2", &Frame1)),
      Label3(Add<forms::Label>("Label3", &Frame1)),
      Label4(Add<forms::Label>("Label4", &Frame1)),
      Label5(Add<forms::Label>("Label5", &Frame1)),
      Label6(Add<forms::Label>("Label6", &Frame1)),
      txtErrorMsg(Add<forms::TextBox>("txtErrorMsg", &Frame1)),
      Label7(Add<forms::Label>("Label7", &Frame1)),
      Label8(Add<forms::Label>("Label8", &Frame1)),
      cmdRestoreDefault(Add<forms::CommandButton>("cmdRestoreDefault", &Frame1)),
      cmdOK(Add<forms::CommandButton>("cmdOK")),
      cmdCancel(Add<forms::CommandButton>("cmdCancel")),
      env_(env) {
    Design();
    Load = [this] { Form_Load(); };
    cmdRestoreDefault.Click = [this] { cmdRestoreDefault_Click(); };
    cmdOK.Click = [this] { cmdOK_Click(); };
    cmdCancel.Click = [this] { cmdCancel_Click(); };
}

void frmCustomizeErrorMessage::Design() {
    SetCaption("Customize Error Message");
    SetBorderStyle(3);
    Move(0, 0, kFrameRight + 240, 4935);  // a 120-twip margin right of the frame, 120 of borders
    Place(Frame1, 120, 120, kFrameWidth, 3795);
    Frame1.SetCaption("Error Message");
    Place(Label1, kMargin, 300, 6855, kLineHeight);
    Label1.SetCaption("The following code will be added for new and existing procedures.");
    Place(lblInstructions, kMargin, 600, 6855, kLineHeight);
    lblInstructions.SetCaption("To include the procedure name in the message, use the tag ");
    const struct {
        forms::Label& label;
        long left;
        long top;
        const char* text;
    } picture[] = {
        {Label2, kMargin, 1020, "Sub/Function/Property <NAME>()"},
        {Label3, kIndent, 1290, "On Error Goto Err_<NAME>"},
        {Label4, kMargin, 1560, "Exit_<NAME>:"},
        {Label5, kIndent, 1830, "Exit Sub/Function/Property"},
        {Label6, kMargin, 2100, "Err_<NAME>:"},
        {Label7, kIndent, 2745, "Resume Exit_<NAME>"},
        {Label8, kMargin, 3015, "End Sub/Function/Property"},
    };
    for (const auto& line : picture) {
        Place(line.label, line.left, line.top, kLineWidth, kLineHeight);
        line.label.SetCaption(line.text);
        line.label.SetShowsCode(true);
    }
    Place(txtErrorMsg, kIndent, 2370, kStatementWidth, 315, 0);
    txtErrorMsg.SetShowsCode(true);
    txtErrorMsg.SetMaxLength(100);
    Place(cmdRestoreDefault, kFrameWidth - 120 - 1575, 3300, 1575, 375, 1);
    cmdRestoreDefault.SetCaption("Restore De&fault");
    Place(cmdOK, kFrameRight - 1095 - 1320, 4035, 1095, 375, 2);
    cmdOK.SetCaption("OK");
    cmdOK.SetDefault(true);
    Place(cmdCancel, kFrameRight - 1095, 4035, 1095, 375, 3);
    cmdCancel.SetCaption("Cancel");
    cmdCancel.SetCancel(true);
}

void frmCustomizeErrorMessage::Form_Load() {
    forms::Trap(env_.ui, "Form_Load()", [&] {
        lblInstructions.SetCaption(lblInstructions.Caption() + kNameTag + ".");
        txtErrorMsg.SetText(ReadErrorMessageForEditing(env_.store));
    });
}

void frmCustomizeErrorMessage::cmdRestoreDefault_Click() {
    forms::Trap(env_.ui, "cmdRestoreDefault_Click", [&] { txtErrorMsg.SetText(kDefaultErrorMessage); });
}

bool frmCustomizeErrorMessage::OKErrorMessage() {
    bool result = false;
    forms::Trap(env_.ui, "OKErrorMessage()", [&] {
        if (txtErrorMsg.Text().empty()) {
            Tell(env_, kNoMessage, forms::vbCritical);
            txtErrorMsg.SetFocus();
            return;
        }
        if (!IsOneLine(txtErrorMsg.Text())) {
            Tell(env_, kNotOneLine, forms::vbInformation);
            txtErrorMsg.SetFocus();
            return;
        }
        if (txtErrorMsg.Text().find(kNameTag) != std::string::npos || AskYesNo(env_, kNoName)) {
            result = true;
            return;
        }
        SelectControl(env_, txtErrorMsg);
    });
    return result;
}

void frmCustomizeErrorMessage::cmdOK_Click() {
    forms::Trap(env_.ui, "cmdOK_Click()", [&] {
        if (!OKErrorMessage()) return;
        PointerReset pointer(env_);
        env_.ui.SetMousePointer(forms::vbHourglass);
        WriteOption(env_.store, key::ErrorMessage, txtErrorMsg.Text());
        Unload();
    });
}

void frmCustomizeErrorMessage::cmdCancel_Click() {
    forms::Trap(env_.ui, "cmdCancel_Click()", [&] { Unload(); });
}

}  // namespace pv
