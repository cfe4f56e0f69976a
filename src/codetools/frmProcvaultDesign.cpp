// The main dialog's design: its controls, their captions, positions in twips
// (relative to their container; the tab control's children to the control) and
// initial states, and the wiring of their events to the handlers.
#include "codetools/frmProcvault.h"

namespace pv {
namespace {

constexpr long kFormWidth = 6615;  // 6,495 x 4,710 inside the borders
constexpr long kFormHeight = 5115;

void Place(forms::Control& control, long left, long top, long width, long height, int tabIndex = 0) {
    control.Move(left, top, width, height);
    control.SetTabIndex(tabIndex);
}

void OnPage(int page, std::initializer_list<forms::Control*> controls) {
    for (forms::Control* control : controls) control->SetTabPage(page);
}

}  // namespace

frmProcvault::frmProcvault(Env env)
    : forms::Form("frmProcvault"),
      ctlTab(Add<forms::TabStrip>("ctlTab")),
      Picture1(Add<forms::PictureBox>("Picture1", &ctlTab)),
      Frame1(Add<forms::Frame>("Frame1", &ctlTab)),
      Label1(Add<forms::Label>("Label1", &Frame1)),
      txtProcName(Add<forms::TextBox>("txtProcName", &Frame1)),
      Frame2(Add<forms::Frame>("Frame2", &ctlTab)),
      optSub(Add<forms::OptionButton>("optSub", &Frame2)),
      optFunction(Add<forms::OptionButton>("optFunction", &Frame2)),
      optProperty(Add<forms::OptionButton>("optProperty", &Frame2)),
      Frame3(Add<forms::Frame>("Frame3", &ctlTab)),
      optPrivate(Add<forms::OptionButton>("optPrivate", &Frame3)),
      optPublic(Add<forms::OptionButton>("optPublic", &Frame3)),
      optFriend(Add<forms::OptionButton>("optFriend", &Frame3)),
      chkStatic(Add<forms::CheckBox>("chkStatic", &ctlTab)),
      Picture2(Add<forms::PictureBox>("Picture2", &ctlTab)),
      Label3(Add<forms::Label>("Label3", &ctlTab)),
      lstProcedures(Add<forms::ListBox>("lstProcedures", &ctlTab)),
      cmdSelectAll(Add<forms::CommandButton>("cmdSelectAll", &ctlTab)),
      cmdDeselectAll(Add<forms::CommandButton>("cmdDeselectAll", &ctlTab)),
      chkShowCommentStubs(Add<forms::CheckBox>("chkShowCommentStubs", &ctlTab)),
      Picture3(Add<forms::PictureBox>("Picture3", &ctlTab)),
      Label4(Add<forms::Label>("Label4", &ctlTab)),
      lstAvailableProcedures(Add<forms::ListBox>("lstAvailableProcedures", &ctlTab)),
      Label2(Add<forms::Label>("Label2", &ctlTab)),
      cboCategory(Add<forms::ComboBox>("cboCategory", &ctlTab)),
      Frame4(Add<forms::Frame>("Frame4", &ctlTab)),
      optShowAll(Add<forms::OptionButton>("optShowAll", &Frame4)),
      optShowFunctions(Add<forms::OptionButton>("optShowFunctions", &Frame4)),
      optShowSubs(Add<forms::OptionButton>("optShowSubs", &Frame4)),
      cmdCMSelectAll(Add<forms::CommandButton>("cmdCMSelectAll", &ctlTab)),
      cmdCMDeselectAll(Add<forms::CommandButton>("cmdCMDeselectAll", &ctlTab)),
      cmdPreview(Add<forms::CommandButton>("cmdPreview", &ctlTab)),
      cmdOK(Add<forms::CommandButton>("cmdOK")),
      cmdCancel(Add<forms::CommandButton>("cmdCancel")),
      cmdOptions(Add<forms::CommandButton>("cmdOptions")),
      env_(env) {
    Design();
    ConnectEvents();
}

void frmProcvault::Design() {
    SetCaption("Procvault");
    SetBorderStyle(3);
    Move(0, 0, kFormWidth, kFormHeight);
    ctlTab.SetTabs({"&New Procedure", "&Existing Procedures", "Add From &Procvault"});
    Place(ctlTab, 120, 120, 6255, 3975, 24);

    // New Procedure. The focus order starts with the name on this page.
    OnPage(0, {&Picture1, &Frame1, &Frame2, &Frame3, &chkStatic});
    Place(Frame1, 240, 480, 5055, 855);
    Frame1.SetCaption("Add New Procedure");
    Place(Label1, 120, 360, 600, 255);
    Label1.SetCaption("Name");
    Place(txtProcName, 780, 330, 4095, 315, 0);
    Place(Picture1, 5520, 600, 480, 480);
    Place(Frame2, 240, 1440, 2415, 1335);
    Frame2.SetCaption("Type");
    Place(optSub, 240, 300, 1935, 255, 1);
    optSub.SetCaption("&Sub");
    Place(optFunction, 240, 600, 1935, 255, 2);
    optFunction.SetCaption("&Function");
    Place(optProperty, 240, 900, 1935, 255, 3);
    optProperty.SetCaption("&Property");
    Place(Frame3, 2880, 1440, 2415, 1335);
    Frame3.SetCaption("Scope");
    Place(optPrivate, 240, 300, 1935, 255, 4);
    optPrivate.SetCaption("Pri&vate");
    Place(optPublic, 240, 600, 1935, 255, 5);
    optPublic.SetCaption("Pu&blic");
    Place(optFriend, 240, 900, 1935, 255, 6);
    optFriend.SetCaption("F&riend");
    Place(chkStatic, 240, 2940, 3615, 255, 7);
    chkStatic.SetCaption("All Local Var&iables as Statics");
    optSub.SetValue(true);
    optPrivate.SetValue(true);

    // Existing Procedures.
    OnPage(1, {&Picture2, &Label3, &lstProcedures, &cmdSelectAll, &cmdDeselectAll, &chkShowCommentStubs});
    Place(Label3, 240, 480, 5775, 255);
    Label3.SetCaption("The following procedures do not contain error handling:");
    Place(lstProcedures, 240, 780, 4335, 2595, 8);
    lstProcedures.SetSorted(true);
    lstProcedures.SetMultiSelect(1);
    Place(cmdSelectAll, 4695, 780, 1335, 375, 9);
    cmdSelectAll.SetCaption("Select &All");
    Place(cmdDeselectAll, 4695, 1260, 1335, 375, 10);
    cmdDeselectAll.SetCaption("&Deselect All");
    Place(Picture2, 5100, 2520, 480, 480);
    Place(chkShowCommentStubs, 240, 3480, 2415, 255, 11);
    chkShowCommentStubs.SetCaption("Add Co&mment Stubs");
    chkShowCommentStubs.SetVisible(false);

    // Add From Procvault.
    OnPage(2, {&Picture3, &Label4, &lstAvailableProcedures, &Label2, &cboCategory, &Frame4, &cmdCMSelectAll,
               &cmdCMDeselectAll, &cmdPreview});
    Place(Label4, 240, 480, 5775, 255);
    Label4.SetCaption("The following procedures are available from Procvault:");
    Place(lstAvailableProcedures, 240, 780, 4335, 1980, 12);
    lstAvailableProcedures.SetSorted(true);
    lstAvailableProcedures.SetMultiSelect(1);
    Place(cmdCMSelectAll, 4695, 780, 1335, 375, 13);
    cmdCMSelectAll.SetCaption("Select &All");
    Place(cmdCMDeselectAll, 4695, 1260, 1335, 375, 14);
    cmdCMDeselectAll.SetCaption("&Deselect All");
    Place(cmdPreview, 4695, 1740, 1335, 375, 15);
    cmdPreview.SetCaption("Previe&w...");
    Place(Picture3, 5100, 2280, 480, 480);
    Place(Label2, 240, 2910, 855, 255);  // centred on the box beside it
    Label2.SetCaption("Category");
    Place(cboCategory, 1140, 2880, 1935, 315, 16);
    cboCategory.SetSorted(true);
    Place(Frame4, 3105, 2820, 2925, 675);
    Place(optShowAll, 120, 300, 615, 255, 17);
    optShowAll.SetCaption("A&ll");
    Place(optShowFunctions, 780, 300, 1095, 255, 18);
    optShowFunctions.SetCaption("Func&tions");
    Place(optShowSubs, 1980, 300, 855, 255, 19);
    optShowSubs.SetCaption("S&ubs");
    optShowAll.SetValue(true);

    Place(cmdOptions, 120, 4215, 1215, 375, 23);
    cmdOptions.SetCaption("&Options...");
    Place(cmdOK, 3840, 4215, 1215, 375, 21);
    cmdOK.SetCaption("OK");
    cmdOK.SetDefault(true);
    Place(cmdCancel, 5160, 4215, 1215, 375, 22);
    cmdCancel.SetCaption("Cancel");
    cmdCancel.SetCancel(true);
}

void frmProcvault::ConnectEvents() {
    ctlTab.Click = [this](int previousTab) { ctlTab_Click(previousTab); };
    cmdOK.Click = [this] { cmdOK_Click(); };
    cmdCancel.Click = [this] { cmdCancel_Click(); };
    cmdOptions.Click = [this] { cmdOptions_Click(); };
    cmdSelectAll.Click = [this] { cmdSelectAll_Click(); };
    cmdDeselectAll.Click = [this] { cmdDeselectAll_Click(); };
    lstProcedures.DblClick = [this] { lstProcedures_DblClick(); };
    ConnectLibraryEvents();
}

}  // namespace pv
