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
        struct Placed {
            forms::Control* control;
            long left, top, width, height;
        };
        int tabIndex = 0;
        // clang-format off
        for (const Placed& p : {Placed{&lblName, 120, 120, 1335, 255}, {&txtName, 1560, 90, 2415, 315},
                                {&txtNotes, 120, 480, 3855, 735}, {&chkHeader, 120, 1320, 2400, 255},
                                {&fraScope, 4200, 90, 2775, 1095}, {&optPublic, 120, 300, 1215, 255},
                                {&optPrivate, 1440, 300, 1215, 255}, {&lstProcs, 120, 1680, 2415, 1230},
                                {&cboCategory, 2640, 1680, 2055, 315}, {&cboKind, 2640, 2100, 2055, 315},
                                {&tabMain, 120, 3000, 4575, 1935}, {&txtOnSecondPage, 240, 600, 2000, 315},
                                {&picPreview, 4800, 1680, 2175, 1230}, {&cmdOK, 4800, 4500, 1095, 375},
                                {&cmdCancel, 5940, 4500, 1095, 375}}) {
            // clang-format on
            p.control->Move(p.left, p.top, p.width, p.height);
            p.control->SetTabIndex(tabIndex++);
        }
        lblName.SetCaption("Procedure &name:");
        txtName.SetMaxLength(10);
        txtNotes.SetMultiLine(true);
        chkHeader.SetCaption("Include comment &header");
        fraScope.SetCaption("Scope");
        optPublic.SetCaption("P&ublic");
        optPrivate.SetCaption("Pri&vate");
        lstProcs.SetMultiSelect(1);
        lstProcs.SetSorted(true);
        cboKind.SetStyle(2);
        tabMain.SetTabs({"&New Procedure", "&Existing Procedures"});
        txtOnSecondPage.SetTabPage(1);
        cmdOK.SetCaption("OK");
        cmdOK.SetDefault(true);
        cmdCancel.SetCaption("&Cancel");
        cmdCancel.SetCancel(true);
        // clang-format off
        const std::pair<forms::Event<>*, const char*> counted[] = {
            {&txtName.Change, "txtName_Change"}, {&txtNotes.Change, "txtNotes_Change"},
            {&chkHeader.Click, "chkHeader_Click"}, {&optPublic.Click, "optPublic_Click"},
            {&optPrivate.Click, "optPrivate_Click"}, {&lstProcs.Click, "lstProcs_Click"},
            {&lstProcs.DblClick, "lstProcs_DblClick"}, {&cboCategory.Click, "cboCategory_Click"},
            {&cboCategory.Change, "cboCategory_Change"}, {&cboKind.Click, "cboKind_Click"},
            {&cmdOK.Click, "cmdOK_Click"}, {&cmdCancel.Click, "cmdCancel_Click"},
            {&txtName.GotFocus, "txtName_GotFocus"}, {&txtNotes.GotFocus, "txtNotes_GotFocus"}};
        // clang-format on
        for (const auto& [event, name] : counted)
            event->Connect([this, name = std::string(name)] { events[name]++; });
        tabMain.Click.Connect(
            [this](int previous) { events["tabMain_Click(" + std::to_string(previous) + ")"]++; });
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
    // Every event raised so far with its count, in name order: "cmdOK_Click=1 txtName_Change=2".
    std::string Raised() const {
        std::string out;
        for (const auto& [name, count] : events)
            out += (out.empty() ? "" : " ") + name + "=" + std::to_string(count);
        return out;
    }
};

}  // namespace guitest
