// The Options dialog's design: its controls, captions, positions in twips
// (relative to their container; the tab control's children to the control)
// and initial states, and the wiring of their events to the handlers.
#include "options/frmOptions.h"

namespace pv {
namespace {

constexpr long kFormWidth = 7815;  // 7,695 x 5,070 inside the borders
constexpr long kFormHeight = 5475;
// Frames span the tab page; their buttons share one column at the right.
constexpr long kFrameLeft = 240;
constexpr long kFrameWidth = 6975;
constexpr long kButtonLeft = 5280;
constexpr long kButtonWidth = 1575;
constexpr long kTextWidth = 5040;  // a label beside the button column

void Place(forms::Control& control, long left, long top, long width, long height, int tabIndex = 0) {
    control.Move(left, top, width, height);
    control.SetTabIndex(tabIndex);
}

void OnPage(int page, std::initializer_list<forms::Control*> controls) {
    for (forms::Control* control : controls) control->SetTabPage(page);
}

void Titled(forms::Label& label, long left, long top, long width, long height, const char* text) {
    Place(label, left, top, width, height);
    label.SetCaption(text);
}

void Titled(forms::Frame& frame, long top, long height, const char* text) {
    Place(frame, kFrameLeft, top, kFrameWidth, height);
    frame.SetCaption(text);
}

void Titled(forms::CommandButton& button, long top, int tabIndex, const char* text) {
    Place(button, kButtonLeft, top, kButtonWidth, 375, tabIndex);
    button.SetCaption(text);
}

}  // namespace

frmOptions::frmOptions(Env env, forms::CheckBox* mainStubs)
    : forms::Form("frmOptions"),
      ctlTab(Add<forms::TabStrip>("ctlTab")),
      Frame9(Add<forms::Frame>("Frame9", &ctlTab)),
      Label4(Add<forms::Label>("Label4", &Frame9)),
      txtCommentPrefix(Add<forms::TextBox>("txtCommentPrefix", &Frame9)),
      Label5(Add<forms::Label>("Label5", &Frame9)),
      optAlignIndent(Add<forms::OptionButton>("optAlignIndent", &Frame9)),
      optAlignLeft(Add<forms::OptionButton>("optAlignLeft", &Frame9)),
      Frame8(Add<forms::Frame>("Frame8", &ctlTab)),
      Label3(Add<forms::Label>("Label3", &Frame8)),
      cmdCommentStubs(Add<forms::CommandButton>("cmdCommentStubs", &Frame8)),
      Frame1(Add<forms::Frame>("Frame1", &ctlTab)),
      Label2(Add<forms::Label>("Label2", &Frame1)),
      cmdCustomizeErrorMessage(Add<forms::CommandButton>("cmdCustomizeErrorMessage", &Frame1)),
      Frame5(Add<forms::Frame>("Frame5", &ctlTab)),
      Label11(Add<forms::Label>("Label11", &Frame5)),
      cmdCategories(Add<forms::CommandButton>("cmdCategories", &Frame5)),
      Frame4(Add<forms::Frame>("Frame4", &ctlTab)),
      Label1(Add<forms::Label>("Label1", &Frame4)),
      cmdProcedures(Add<forms::CommandButton>("cmdProcedures", &Frame4)),
      Frame3(Add<forms::Frame>("Frame3", &ctlTab)),
      Label10(Add<forms::Label>("Label10", &Frame3)),
      txtProcvaultLocation(Add<forms::TextBox>("txtProcvaultLocation", &Frame3)),
      cmdFindProcvault(Add<forms::CommandButton>("cmdFindProcvault", &Frame3)),
      Label9(Add<forms::Label>("Label9", &Frame3)),
      cmdCompact(Add<forms::CommandButton>("cmdCompact", &Frame3)),
      Frame6(Add<forms::Frame>("Frame6", &ctlTab)),
      lblAppName(Add<forms::Label>("lblAppName", &Frame6)),
      lblVersion(Add<forms::Label>("lblVersion", &Frame6)),
      lblCopyright(Add<forms::Label>("lblCopyright", &Frame6)),
      Label14(Add<forms::Label>("Label14", &Frame6)),
      lblEmailAddress(Add<forms::Label>("lblEmailAddress", &Frame6)),
      cmdOK(Add<forms::CommandButton>("cmdOK")),
      cmdCancel(Add<forms::CommandButton>("cmdCancel")),
      env_(env),
      mainStubs_(mainStubs) {
    Design();
    ConnectEvents();
}

void frmOptions::Design() {
    SetCaption("Procvault");
    SetBorderStyle(3);
    Move(0, 0, kFormWidth, kFormHeight);
    ctlTab.SetTabs({"&Module Options", "Code &Database Options", "&About Procvault"});
    Place(ctlTab, 120, 120, 7455, 4335, 12);
    DesignModuleTab();
    DesignDatabaseTab();
    DesignAboutTab();
    Place(cmdOK, 5040, 4575, 1215, 375, 10);
    cmdOK.SetCaption("OK");
    cmdOK.SetDefault(true);
    Place(cmdCancel, 6360, 4575, 1215, 375, 11);
    cmdCancel.SetCaption("Cancel");
    cmdCancel.SetCancel(true);
}

void frmOptions::DesignModuleTab() {
    // A label beside a box or button is centred on it (labels draw their text centred).
    // The focus order starts with the prefix on this page.
    OnPage(0, {&Frame9, &Frame8, &Frame1});
    Titled(Frame9, 480, 1455, "Block Commenting/Uncommenting");
    Titled(Label4, 120, 345, 2895, 255, "Prefix commented lines with");
    Place(txtCommentPrefix, 3120, 315, 1095, 315, 0);
    txtCommentPrefix.SetMaxLength(6);
    Titled(Label5, 120, 750, 2895, 255, "Align comment symbol with");
    Place(optAlignIndent, 3120, 750, 3615, 255, 1);
    optAlignIndent.SetCaption("Lowest level &indent in block");
    Place(optAlignLeft, 3120, 1050, 3615, 255, 2);
    optAlignLeft.SetCaption("&Left side of screen");
    Titled(Frame8, 2040, 735, "Comment Stubs");
    Titled(Label3, 120, 345, kTextWidth, 255, "Automatically add comment stubs to procedures.");
    Titled(cmdCommentStubs, 285, 3, "Comme&nts...");
    Titled(Frame1, 2880, 1335, "Custom Error Message");
    // Two lines: the text is longer than the frame is wide.
    Titled(Label2, 120, 300, 6735, 435,
           "You can supply a custom error message to insert when adding error handling to your procedures.");
    Titled(cmdCustomizeErrorMessage, 840, 4, "&Customize...");
}

void frmOptions::DesignDatabaseTab() {
    OnPage(1, {&Frame5, &Frame4, &Frame3});
    Titled(Frame5, 480, 735, "Categories");
    Titled(Label11, 120, 345, kTextWidth, 255, "Add and remove categories.");
    Titled(cmdCategories, 285, 5, "Cate&gories...");
    Titled(Frame4, 1320, 855, "Procedures");
    Titled(Label1, 120, 270, kTextWidth, 435,
           "Add and remove procedures, and organize them into categories.");
    Titled(cmdProcedures, 300, 6, "&Procedures...");
    Titled(Frame3, 2280, 1455, "Database");
    Titled(Label10, 120, 345, 615, 255, "Path");
    Place(txtProcvaultLocation, 780, 315, 5580, 315, 7);
    Place(cmdFindProcvault, 6435, 315, 420, 315, 8);
    cmdFindProcvault.SetCaption("...");
    Titled(Label9, 120, 900, kTextWidth, 255, "Repair && compact the Procvault database.");
    Titled(cmdCompact, 840, 9, "Compact No&w");
}

void frmOptions::DesignAboutTab() {
    // The texts of the name, version, notice and address are set when the dialog opens.
    OnPage(2, {&Frame6});
    Titled(Frame6, 480, 2400, "About Procvault");
    Place(lblAppName, 240, 360, 6495, 255);
    Place(lblVersion, 240, 720, 6495, 255);
    Place(lblCopyright, 240, 1080, 6495, 255);
    Titled(Label14, 240, 1560, 6495, 255, "Send any comments, problems or questions to:");
    Place(lblEmailAddress, 240, 1920, 6495, 255);
}

void frmOptions::ConnectEvents() {
    Load = [this] { Form_Load(); };
    cmdOK.Click = [this] { cmdOK_Click(); };
    cmdCancel.Click = [this] { cmdCancel_Click(); };
    cmdCategories.Click = [this] { cmdCategories_Click(); };
    cmdProcedures.Click = [this] { cmdProcedures_Click(); };
    cmdFindProcvault.Click = [this] { cmdFindProcvault_Click(); };
    cmdCommentStubs.Click = [this] { cmdCommentStubs_Click(); };
    cmdCustomizeErrorMessage.Click = [this] { cmdCustomizeErrorMessage_Click(); };
    cmdCompact.Click = [this] { cmdCompact_Click(); };
}

}  // namespace pv
