#include <gtest/gtest.h>

#include "addin/Connect.h"
#include "codetools/CodeToolsFixture.h"
#include "codetools/frmProcvault.h"

// The add-in's "&Procvault..." command opening the main dialog, as the IDE's
// context menu does.
namespace {

using codetoolstest::CodeToolsTest;

class ConnectedDialogTest : public CodeToolsTest {
protected:
    void ConnectAddIn() {
        host::CustomArray custom;
        addin.IDTExtensibility_OnConnection(&vbe, host::ext_cm_AfterStartup, &record, custom);
    }
    void Click() { vbe.CommandBars().Item("Code Window").Controls().Item("&Procvault...")->Execute(); }

    pv::Connect addin{env};
    host::AddIn record{pv::kProgId, "Procvault", false};
};

TEST_F(ConnectedDialogTest, TheContextMenuOpensAFreshDialogEachTime) {
    Load({"Sub A()", "On Error GoTo E", "End Sub"});
    ConnectAddIn();
    std::vector<std::string> namesAtOpening;
    ui.OnShow("frmProcvault", [&](forms::Form& form) {
        auto& d = static_cast<pv::frmProcvault&>(form);
        namesAtOpening.push_back(d.txtProcName.Text());
        d.txtProcName.TypeText("Typed");
        d.optFunction.Press();
        d.cmdCancel.Press();
    });
    Click();
    Click();
    EXPECT_EQ(namesAtOpening, (std::vector<std::string>{"", ""}));
    EXPECT_EQ(ui.ShownForms(), (std::vector<std::string>{"frmProcvault", "frmProcvault"}));
}

TEST_F(ConnectedDialogTest, TheContextMenuAddsANewProcedure) {
    Load({"Option Explicit"});
    ConnectAddIn();
    ui.OnShow("frmProcvault", [&](forms::Form& form) {
        auto& d = static_cast<pv::frmProcvault&>(form);
        d.txtProcName.TypeText("Compute");
        d.optFunction.Press();
        d.cmdOK.Press();
    });
    Click();
    EXPECT_EQ(Module().Lines(3, 1), "Private Function Compute()");
    EXPECT_EQ(CaretLine(), 2);
}

}  // namespace
