// The add-in's "&Procvault..." command opening the main dialog, as the IDE's context menu does.
#include <gtest/gtest.h>

#include "addin/Connect.h"
#include "codetools/CodeToolsFixture.h"
#include "codetools/frmProcvault.h"

namespace {

using codetoolstest::CodeToolsTest;

TEST_F(CodeToolsTest, TheContextMenuOpensAFreshDialogEachTime) {
    Load({"Option Explicit"});
    pv::Connect addin{env};
    host::AddIn record{pv::kProgId, "Procvault", false};
    host::CustomArray custom;
    addin.IDTExtensibility_OnConnection(&vbe, host::ext_cm_AfterStartup, &record, custom);
    std::vector<std::string> namesAtOpening;
    ui.OnShow("frmProcvault", [&](forms::Form& form) {
        auto& d = static_cast<pv::frmProcvault&>(form);
        namesAtOpening.push_back(d.txtProcName.Text());
        d.txtProcName.TypeText("Compute");
        d.optFunction.Press();
        (namesAtOpening.size() == 1 ? d.cmdCancel : d.cmdOK).Press();
    });
    auto command = vbe.CommandBars().Item("Code Window").Controls().Item("&Procvault...");
    command->Execute();
    EXPECT_EQ(Module().CountOfLines(), 1);
    command->Execute();
    EXPECT_EQ(namesAtOpening, (std::vector<std::string>{"", ""}));
    EXPECT_EQ(Module().Lines(3, 1), "Private Function Compute()");
    EXPECT_EQ(CaretLine(), 2);
}

}  // namespace
