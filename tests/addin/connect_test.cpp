#include "addin/Connect.h"

#include <gtest/gtest.h>

#include "forms/ScriptedUi.h"
#include "host/VBE.h"
#include "support/TempDir.h"

namespace {

using Strings = std::vector<std::string>;

// A bar's captions in order, "|" before one that begins a group; "-" when the host has no such bar.
Strings Bar(host::VBE& vbe, const char* name) {
    auto* bar = vbe.CommandBars().Find(name);
    if (!bar) return {"-"};
    Strings out;
    for (const auto& item : bar->Items()) out.push_back((item->BeginGroup() ? "|" : "") + item->Caption());
    return out;
}

std::string Installed(host::VBE& vbe, const char* name) {
    const auto items = Bar(vbe, name);
    if (items == Strings{"-"}) return "-";
    return std::to_string(std::count(items.begin(), items.end(), "&Procvault...") +
                          std::count(items.begin(), items.end(), "|&Procvault..."));
}

class ConnectTest : public ::testing::Test {
protected:
    void TearDown() override { pv::objVBE = nullptr; }
    void ConnectWith(int mode) { addin.IDTExtensibility_OnConnection(&vbe, mode, &record, custom); }
    host::VBComponent& OpenProjectWithModule(const std::string& lines) {
        testsupport::WriteBytes(dir / "Module1.bas", "Attribute VB_Name = \"Module1\"\r\n" + lines);
        vbe.OpenProject(dir.Path());
        return vbe.ActiveVBProject().VBComponents().Item("Module1");
    }
    void Click(const std::string& bar, const std::string& caption) {
        vbe.CommandBars().Item(bar).Controls().Item(caption)->Execute();
    }

    testsupport::TempDir dir;
    host::VBE vbe;
    forms::ScriptedUi ui;
    vbrt::MemorySettingsStore store;
    host::CustomArray custom;
    host::AddIn record{pv::kProgId, "Procvault", false};
    pv::Connect addin{pv::Env{ui, store}};
};

TEST_F(ConnectTest, InstallsAtTheTopOfTheContextMenuAndTheEndOfAddInsAndDisconnectRemovesExactlyThat) {
    const Strings codeWindow = Bar(vbe, "Code Window"), addIns = Bar(vbe, "Add-Ins");
    ConnectWith(host::ext_cm_External);  // not started by the host: nothing to install
    EXPECT_EQ(pv::objVBE, nullptr);
    EXPECT_EQ(Bar(vbe, "Code Window"), codeWindow);
    Strings cutInAGroup;
    for (const auto& caption : codeWindow) cutInAGroup.push_back(caption == "Cut" ? "|Cut" : caption);
    Strings installed = {"&Procvault...", "Co&mment Selection", "&Uncomment Selection"},
            addInsInstalled = addIns;
    installed.insert(installed.end(), cutInAGroup.begin(), cutInAGroup.end());
    addInsInstalled.push_back("|&Procvault...");
    ConnectWith(host::ext_cm_Startup);
    EXPECT_EQ(pv::objVBE, &vbe);
    EXPECT_EQ(Bar(vbe, "Code Window"), installed);
    EXPECT_EQ(Bar(vbe, "Add-Ins"), addInsInstalled);
    addin.IDTExtensibility_OnDisconnection(host::ext_dm_UserClosed, custom);
    EXPECT_EQ(Bar(vbe, "Code Window"), cutInAGroup);  // Cut keeps its separator
    EXPECT_EQ(Bar(vbe, "Add-Ins"), addIns);
    ConnectWith(host::ext_cm_AfterStartup);
    ConnectWith(host::ext_cm_AfterStartup);
    EXPECT_EQ(Installed(vbe, "Code Window"), "2");  // a second connection, a second set
    EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(ConnectTest, InstallQuietlyStopsAtAMissingBar) {
    host::VBE bare({false, true});  // no "Add-Ins" bar: the context menu is not reached either
    addin.IDTExtensibility_OnConnection(&bare, host::ext_cm_Startup, nullptr, custom);
    EXPECT_EQ(Installed(bare, "Add-Ins") + " " + Installed(bare, "Code Window"), "- 0");
    addin.IDTExtensibility_OnDisconnection(host::ext_dm_HostShutdown, custom);
    EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(ConnectTest, WithoutAProjectItSaysSoAndWithADesignerActiveItOffersANewModuleAndOpensOnIt) {
    ConnectWith(host::ext_cm_Startup);
    Click("Add-Ins", "&Procvault...");
    EXPECT_EQ(
        ui.Transcript(),
        (Strings{"beep", "msgbox:Procvault:Procvault cannot be started, as there is no open project."}));
    EXPECT_EQ(ui.Messages()[0].buttons, forms::vbCritical + forms::vbOKOnly);
    ui.ClearTranscript();
    OpenProjectWithModule("Option Explicit\r\n");
    vbe.SetActiveDesigner(&vbe.ActiveVBProject().VBComponents().Item("Module1"));
    ui.QueueAnswer(forms::vbNo);
    Click("Code Window", "&Procvault...");
    EXPECT_EQ(ui.Messages().at(0).buttons + ui.Messages().at(1).Icon(),
              forms::vbYesNo + forms::vbQuestion + forms::vbCritical);
    ui.QueueAnswer(forms::vbYes);
    Click("Add-Ins", "&Procvault...");
    const std::string question = "msgbox:Procvault:There is no current module. Would you like to add one?";
    EXPECT_EQ(ui.Transcript(),
              (Strings{"beep", question, "beep",
                       "msgbox:Procvault:Procvault cannot be started, as there is no open module.", "beep",
                       question, "show:frmProcvault", "unload-left-open:frmProcvault"}));
    ASSERT_EQ(vbe.ActiveVBProject().VBComponents().Count(), 2);
    host::VBComponent& added = vbe.ActiveVBProject().VBComponents().Item(2);
    ASSERT_NE(vbe.ActiveWindow(), nullptr);
    EXPECT_EQ(
        added.Name() + std::to_string(added.Type()) + std::to_string(vbe.ActiveWindow()->Type()),
        "Module2" + std::to_string(host::vbext_ct_StdModule) + std::to_string(host::vbext_wt_CodeWindow));
    EXPECT_EQ(&vbe.ActiveCodePane().CodeModule(), &added.CodeModule());
    ui.ClearTranscript();
    Click("Code Window", "&Procvault...");  // now a code window is active: no question
    EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(ConnectTest, ContextMenuItemsRouteToTheCommentCommands) {
    host::VBComponent& module = OpenProjectWithModule("a = 1\r\nb = 2\r\n");
    module.Activate();
    ConnectWith(host::ext_cm_Startup);
    module.CodeModule().CodePane().SetSelection(1, 1, 2, 3);
    Click("Code Window", "Co&mment Selection");
    EXPECT_EQ(module.CodeModule().Lines(1, 2), "' a = 1\r\n' b = 2");
    module.CodeModule().CodePane().SetSelection(1, 1, 2, 3);
    Click("Code Window", "&Uncomment Selection");
    EXPECT_EQ(module.CodeModule().Lines(1, 2), "a = 1\r\nb = 2");
}

}  // namespace
