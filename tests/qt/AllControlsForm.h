#pragma once
// A form with one control of every kind, counting the events each raises, for
// the binder tests. Captions and sizes are what a VB designer would give them.
#include <map>
#include <string>

#include "forms/Form.h"

namespace guitest {

class AllControlsForm : public forms::Form {
public:
    AllControlsForm() : Form("frmAll") {
        SetCaption("All Controls");
        Move(0, 0, 7200, 6000);
        Place(lblName, 120, 120, 1335, 255, 0);
        lblName.SetCaption("Procedure &name:");
        Place(txtName, 1560, 90, 2415, 315, 1);
        txtName.SetMaxLength(10);
        Place(txtNotes, 120, 480, 3855, 735, 2);
        txtNotes.SetMultiLine(true);
        Place(chkHeader, 120, 1320, 2400, 255, 3);
        chkHeader.SetCaption("Include comment &header");
        Place(fraScope, 4200, 90, 2775, 1095, 4);
        fraScope.SetCaption("Scope");
        Place(optPublic, 120, 300, 1215, 255, 5);
        optPublic.SetCaption("P&ublic");
        Place(optPrivate, 1440, 300, 1215, 255, 6);
        optPrivate.SetCaption("Pri&vate");
        Place(lstProcs, 120, 1680, 2415, 1230, 7);
        lstProcs.SetMultiSelect(1);
        lstProcs.SetSorted(true);
        Place(cboCategory, 2640, 1680, 2055, 315, 8);
        Place(cboKind, 2640, 2100, 2055, 315, 9);
        cboKind.SetStyle(2);
        Place(tabMain, 120, 3000, 4575, 1935, 10);
        tabMain.SetTabs({"&New Procedure", "&Existing Procedures"});
        Place(txtOnSecondPage, 240, 600, 2000, 315, 11);
        txtOnSecondPage.SetTabPage(1);
        Place(picPreview, 4800, 1680, 2175, 1230, 12);
        Place(cmdOK, 4800, 4500, 1095, 375, 13);
        cmdOK.SetCaption("OK");
        cmdOK.SetDefault(true);
        Place(cmdCancel, 5940, 4500, 1095, 375, 14);
        cmdCancel.SetCaption("&Cancel");
        cmdCancel.SetCancel(true);
        const std::pair<forms::Event<>*, const char*> counted[] = {
            {&txtName.Change, "txtName_Change"},
            {&txtNotes.Change, "txtNotes_Change"},
            {&chkHeader.Click, "chkHeader_Click"},
            {&optPublic.Click, "optPublic_Click"},
            {&optPrivate.Click, "optPrivate_Click"},
            {&lstProcs.Click, "lstProcs_Click"},
            {&lstProcs.DblClick, "lstProcs_DblClick"},
            {&cboCategory.Click, "cboCategory_Click"},
            {&cboCategory.Change, "cboCategory_Change"},
            {&cboKind.Click, "cboKind_Click"},
            {&cmdOK.Click, "cmdOK_Click"},
            {&cmdCancel.Click, "cmdCancel_Click"},
            {&txtName.GotFocus, "txtName_GotFocus"},
            {&txtNotes.GotFocus, "txtNotes_GotFocus"}};
        for (const auto& [event, name] : counted)
            event->Connect([this, name = std::string(name)] { events[name]++; });
        tabMain.Click.Connect(
            [this](int previous) { events["tabMain_Click(" + std::to_string(previous) + ")"]++; });
    }

    int Events(const std::string& name) const {
        const auto it = events.find(name);
        return it == events.end() ? 0 : it->second;
    }

    forms::Label& lblName = Add<forms::Label>("lblName");
    forms::TextBox& txtName = Add<forms::TextBox>("txtName");
    forms::TextBox& txtNotes = Add<forms::TextBox>("txtNotes");
    forms::CheckBox& chkHeader = Add<forms::CheckBox>("chkHeader");
    forms::Frame& fraScope = Add<forms::Frame>("fraScope");
    forms::OptionButton& optPublic = Add<forms::OptionButton>("optPublic", &fraScope);
    forms::OptionButton& optPrivate = Add<forms::OptionButton>("optPrivate", &fraScope);
    forms::ListBox& lstProcs = Add<forms::ListBox>("lstProcs");
    forms::ComboBox& cboCategory = Add<forms::ComboBox>("cboCategory");
    forms::ComboBox& cboKind = Add<forms::ComboBox>("cboKind");
    forms::TabStrip& tabMain = Add<forms::TabStrip>("tabMain");
    forms::TextBox& txtOnSecondPage = Add<forms::TextBox>("txtOnSecondPage", &tabMain);
    forms::PictureBox& picPreview = Add<forms::PictureBox>("picPreview");
    forms::CommandButton& cmdOK = Add<forms::CommandButton>("cmdOK");
    forms::CommandButton& cmdCancel = Add<forms::CommandButton>("cmdCancel");
    std::map<std::string, int> events;

private:
    static void Place(forms::Control& c, long left, long top, long width, long height, int tabIndex) {
        c.Move(left, top, width, height);
        c.SetTabIndex(tabIndex);
    }
};

}  // namespace guitest
