#include "options/frmCommentStubs.h"

#include "forms/ErrorReport.h"
#include "library/DialogKit.h"
#include "library/basConnect.h"
#include "settings/Options.h"

namespace pv {
namespace {

constexpr const char* kNoLines =
    "You have elected to display comment stubs, but have not chosen any comment lines to display. Is this "
    "OK?";
constexpr int kLineCount = 6;

// Check boxes in one column, each preview line on its row to the right (twips, inside the frame).
constexpr long kCheckLeft = 480;
constexpr long kCheckWidth = 1935;
constexpr long kPreviewLeft = 2520;
constexpr long kPreviewWidth = 3855;  // to the frame's edge: the author's name may have 30 letters
constexpr long kRowHeight = 255;      // labels centre their text, so a row shares one text line

}  // namespace

frmCommentStubs::frmCommentStubs(Env env, forms::CheckBox* mainStubs)
    : forms::Form("frmCommentStubs"),
      Label12(Add<forms::Label>("Label12")),
      Frame1(Add<forms::Frame>("Frame1")),
      optNoCommentStubs(Add<forms::OptionButton>("optNoCommentStubs", &Frame1)),
      optShowCommentStubs(Add<forms::OptionButton>("optShowCommentStubs", &Frame1)),
      chkProcedureName(Add<forms::CheckBox>("chkProcedureName", &Frame1)),
      chkCreatedBy(Add<forms::CheckBox>("chkCreatedBy", &Frame1)),
      txtCreatedByName(Add<forms::TextBox>("txtCreatedByName", &Frame1)),
      chkDateCreated(Add<forms::CheckBox>("chkDateCreated", &Frame1)),
      chkPurpose(Add<forms::CheckBox>("chkPurpose", &Frame1)),
      chkParameters(Add<forms::CheckBox>("chkParameters", &Frame1)),
      chkOutput(Add<forms::CheckBox>("chkOutput", &Frame1)),
      lblProcedureName(Add<forms::Label>("lblProcedureName", &Frame1)),
      lblCreatedBy(Add<forms::Label>("lblCreatedBy", &Frame1)),
      lblCreatedByName(Add<forms::Label>("lblCreatedByName", &Frame1)),
      lblDateCreated(Add<forms::Label>("lblDateCreated", &Frame1)),
      lblPurpose(Add<forms::Label>("lblPurpose", &Frame1)),
      lblParameters(Add<forms::Label>("lblParameters", &Frame1)),
      lblOutput(Add<forms::Label>("lblOutput", &Frame1)),
      cmdOK(Add<forms::CommandButton>("cmdOK")),
      cmdCancel(Add<forms::CommandButton>("cmdCancel")),
      env_(env),
      mainStubs_(mainStubs) {
    Design();
    ConnectEvents();
}

void frmCommentStubs::Design() {
    SetCaption("Comment Stubs");
    SetBorderStyle(3);
    Move(0, 0, 6855, 4785);  // 6,735 x 4,380 inside the borders
    Place(Label12, 120, 120, 6495, 255);
    Label12.SetCaption("Comment stub options");
    Place(Frame1, 120, 420, 6495, 3420);
    Frame1.SetCaption("For New Procedures");
    Place(optNoCommentStubs, 240, 300, 3000, kRowHeight, 0);
    optNoCommentStubs.SetCaption("&No Comment Stubs");
    optNoCommentStubs.SetValue(true);
    Place(optShowCommentStubs, 240, 600, 3000, kRowHeight, 1);
    optShowCommentStubs.SetCaption("S&how Comment Stubs");
    const struct {
        forms::CheckBox& check;
        forms::Label& preview;
        long top;
        const char* caption;
        const char* line;
    } rows[] = {
        {chkProcedureName, lblProcedureName, 960, "Procedure N&ame", "' Procedure: <NAME>"},
        {chkCreatedBy, lblCreatedBy, 1260, "Created B&y", "' Created By:"},
        {chkDateCreated, lblDateCreated, 1980, "&Date Created", "' Date Created:"},
        {chkPurpose, lblPurpose, 2280, "P&urpose", "' Purpose:"},
        {chkParameters, lblParameters, 2580, "&Parameters", "' Parameters:"},
        {chkOutput, lblOutput, 2880, "Ou&tput", "' Output:"},
    };
    int tabIndex = 2;
    for (const auto& row : rows) {
        Place(row.check, kCheckLeft, row.top, kCheckWidth, kRowHeight, tabIndex++);
        row.check.SetCaption(row.caption);
        row.check.SetEnabled(false);
        Place(row.preview, kPreviewLeft, row.top, kPreviewWidth, kRowHeight);
        row.preview.SetCaption(row.line);
        row.preview.SetEnabled(false);
        if (&row.check == &chkCreatedBy) {
            // Out to the preview column's edge: wide enough for the 30 letters allowed.
            Place(txtCreatedByName, kCheckLeft + 240, 1560, kPreviewLeft + kPreviewWidth - kCheckLeft - 240,
                  315, tabIndex++);
            txtCreatedByName.SetMaxLength(30);
            txtCreatedByName.SetEnabled(false);
        }
    }
    // The author's name follows its preview line on the same row.
    Place(lblCreatedBy, kPreviewLeft, 1260, 1080, kRowHeight);
    Place(lblCreatedByName, kPreviewLeft + 1080, 1260, kPreviewWidth - 1080, kRowHeight);
    lblCreatedByName.SetEnabled(false);
    Place(cmdOK, 4200, 3960, 1095, 375, tabIndex++);
    cmdOK.SetCaption("OK");
    cmdOK.SetDefault(true);
    Place(cmdCancel, 5400, 3960, 1095, 375, tabIndex);
    cmdCancel.SetCaption("Cancel");
    cmdCancel.SetCancel(true);
}

void frmCommentStubs::ConnectEvents() {
    Load = [this] { Form_Load(); };
    optNoCommentStubs.Click = [this] { optNoCommentStubs_Click(); };
    optShowCommentStubs.Click = [this] { optShowCommentStubs_Click(); };
    chkProcedureName.Click = [this] { chkProcedureName_Click(); };
    chkCreatedBy.Click = [this] { chkCreatedBy_Click(); };
    chkDateCreated.Click = [this] { chkDateCreated_Click(); };
    chkPurpose.Click = [this] { chkPurpose_Click(); };
    chkParameters.Click = [this] { chkParameters_Click(); };
    chkOutput.Click = [this] { chkOutput_Click(); };
    txtCreatedByName.LostFocus = [this] { txtCreatedByName_LostFocus(); };
    cmdOK.Click = [this] { cmdOK_Click(); };
    cmdCancel.Click = [this] { cmdCancel_Click(); };
}

frmCommentStubs::Line frmCommentStubs::Lines(int index) {
    switch (index) {
        case 0:
            return {chkProcedureName, lblProcedureName, key::ShowProcedureName};
        case 1:
            return {chkCreatedBy, lblCreatedBy, key::ShowCreatedBy};
        case 2:
            return {chkDateCreated, lblDateCreated, key::ShowDateCreated};
        case 3:
            return {chkPurpose, lblPurpose, key::ShowPurpose};
        case 4:
            return {chkParameters, lblParameters, key::ShowParameters};
        default:
            return {chkOutput, lblOutput, key::ShowOutput};
    }
}

void frmCommentStubs::Form_Load() {
    forms::Trap(env_.ui, "Form_Load()", [&] {
        const std::string strShow = ReadOption(env_.store, key::ShowCommentStubs);
        lblCreatedByName.SetCaption("");
        if (strShow.empty()) {
            InitialiseHeaderKeys(env_.store);
            return;
        }
        if (!ToFlag(strShow)) {
            optNoCommentStubs.SetValue(true);
            return;
        }
        optShowCommentStubs.SetValue(true);
        for (int i = 0; i < kLineCount; ++i) {
            const Line line = Lines(i);
            const int value = ToInteger(ReadOption(env_.store, line.key));
            line.check.SetValue(value);
            line.preview.SetEnabled(value == 1);
            if (&line.check != &chkCreatedBy) continue;
            txtCreatedByName.SetEnabled(value == 1);
            txtCreatedByName.SetText(ReadOption(env_.store, key::CreatedByName));
            lblCreatedByName.SetCaption(txtCreatedByName.Text());
        }
    });
}

void frmCommentStubs::optNoCommentStubs_Click() {
    forms::Trap(env_.ui, "optNoCommentStubs_Click()", [&] {
        EnableControls(false);
        if (!mainStubs_) return;
        mainStubs_->SetValue(0);
        mainStubs_->SetVisible(false);
    });
}

void frmCommentStubs::optShowCommentStubs_Click() {
    forms::Trap(env_.ui, "optShowCommentStubs_Click()", [&] {
        EnableControls(true);
        if (mainStubs_) mainStubs_->SetVisible(true);
    });
}

void frmCommentStubs::ShowPreview(forms::CheckBox& check, forms::Label& preview) {
    preview.SetEnabled(check.Value() == 1);
}

void frmCommentStubs::chkProcedureName_Click() {
    forms::Trap(env_.ui, "chkProcedureName_Click()",
                [&] { ShowPreview(chkProcedureName, lblProcedureName); });
}

void frmCommentStubs::chkCreatedBy_Click() {
    forms::Trap(env_.ui, "chkCreatedBy_Click()", [&] {
        const bool checked = chkCreatedBy.Value() == 1;
        lblCreatedBy.SetEnabled(checked);
        txtCreatedByName.SetEnabled(checked);
        lblCreatedByName.SetEnabled(checked);
    });
}

void frmCommentStubs::chkDateCreated_Click() {
    forms::Trap(env_.ui, "chkDateCreated_Click()", [&] { ShowPreview(chkDateCreated, lblDateCreated); });
}

void frmCommentStubs::chkPurpose_Click() {
    forms::Trap(env_.ui, "chkPurpose_Click()", [&] { ShowPreview(chkPurpose, lblPurpose); });
}

void frmCommentStubs::chkParameters_Click() {
    forms::Trap(env_.ui, "chkParameters_Click()", [&] { ShowPreview(chkParameters, lblParameters); });
}

void frmCommentStubs::chkOutput_Click() {
    forms::Trap(env_.ui, "chkOutput_Click()", [&] { ShowPreview(chkOutput, lblOutput); });
}

void frmCommentStubs::txtCreatedByName_LostFocus() {
    forms::Trap(env_.ui, "txtCreatedByName_LostFocus()",
                [&] { lblCreatedByName.SetCaption(txtCreatedByName.Text()); });
}

void frmCommentStubs::EnableControls(bool bolEnable) {
    forms::Trap(env_.ui, "EnableControls()", [&] {
        for (int i = 0; i < kLineCount; ++i) {
            const Line line = Lines(i);
            line.check.SetEnabled(bolEnable);
            line.preview.SetEnabled(bolEnable && line.check.Value() == 1);
        }
        lblCreatedByName.SetEnabled(bolEnable && chkCreatedBy.Value() == 1);
    });
}

bool frmCommentStubs::OKCommentStubs() {
    bool result = true;
    forms::Trap(env_.ui, "OKCommentStubs()", [&] {
        if (!optShowCommentStubs.Value()) return;
        if (!IsOneLine(txtCreatedByName.Text())) {
            result = false;
            Tell(env_, kNotOneLine, forms::vbInformation);
            SelectControl(env_, txtCreatedByName);  // passed over while its check box is clear
            return;
        }
        for (int i = 0; i < kLineCount; ++i)
            if (Lines(i).check.Value() != 0) return;
        result = AskYesNo(env_, kNoLines);
    });
    return result;
}

void frmCommentStubs::cmdOK_Click() {
    forms::Trap(env_.ui, "cmdOK_Click()", [&] {
        if (!OKCommentStubs()) return;
        const bool show = optShowCommentStubs.Value();
        WriteOption(env_.store, key::ShowCommentStubs, show ? "True" : "False");
        auto flag = [&](const char* name, forms::CheckBox& check) {
            WriteOption(env_.store, name, show && check.Value() == 1 ? "1" : "0");
        };
        flag(key::ShowProcedureName, chkProcedureName);
        flag(key::ShowCreatedBy, chkCreatedBy);
        if (show) WriteOption(env_.store, key::CreatedByName, txtCreatedByName.Text());
        flag(key::ShowDateCreated, chkDateCreated);
        flag(key::ShowParameters, chkParameters);
        flag(key::ShowOutput, chkOutput);
        flag(key::ShowPurpose, chkPurpose);
        Unload();
    });
}

void frmCommentStubs::cmdCancel_Click() {
    forms::Trap(env_.ui, "cmdCancel_Click()", [&] { Unload(); });
}

}  // namespace pv
