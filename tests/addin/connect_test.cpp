#include "addin/Connect.h"

#include <gtest/gtest.h>

#include "forms/ScriptedUi.h"
#include "host/VBE.h"
#include "support/TempDir.h"
#include "vbrt/VbError.h"

namespace {

using Strings = std::vector<std::string>;

// A bar's captions in order, "|" before one that begins a group.
Strings Captions(host::CommandBar& bar) {
    Strings out;
    for (const auto& item : bar.Items()) out.push_back((item->BeginGroup() ? "|" : "") + item->Caption());
    return out;
}

// How many Procvault items the bar holds, "-" when the host has no such bar.
std::string Installed(host::VBE& vbe, const char* name) {
    auto* bar = vbe.CommandBars().Find(name);
    if (!bar) return "-";
    const auto items = Captions(*bar);
    return std::to_string(std::count(items.begin(), items.end(), "&Procvault...") +
                          std::count(items.begin(), items.end(), "|&Procvault..."));
}

class ConnectTest : public ::testing::Test {
protected:
    void TearDown() override { pv::objVBE = nullptr; }
    void ConnectWith(int mode) { addin.IDTExtensibility_OnConnection(&vbe, mode, &record, custom); }
    void Disconnect() { addin.IDTExtensibility_OnDisconnection(host::ext_dm_UserClosed, custom); }
    host::VBComponent& OpenProjectWithModule(const std::string& lines) {
        testsupport::WriteBytes(dir / "Module1.bas", "Attribute VB_Name = \"Module1\"\r\n" + lines);
        vbe.OpenProject(dir.Path());
        return vbe.ActiveVBProject().VBComponents().Item("Module1");
    }
    Strings Bar(const std::string& name) { return Captions(vbe.CommandBars().Item(name)); }
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
    const Strings codeWindow = Bar("Code Window"), addIns = Bar("Add-Ins");
    Strings cutInAGroup;
    for (const auto& caption : codeWindow) cutInAGroup.push_back(caption == "Cut" ? "|Cut" : caption);
    Strings installed = {"&Procvault...", "Co&mment Selection", "&Uncomment Selection"};
    installed.insert(installed.end(), cutInAGroup.begin(), cutInAGroup.end());
    Strings addInsInstalled = addIns;
    addInsInstalled.push_back("|&Procvault...");

    ConnectWith(host::ext_cm_Startup);
    EXPECT_EQ(pv::objVBE, &vbe);
    EXPECT_EQ(Bar("Code Window"), installed);
    EXPECT_EQ(Bar("Add-Ins"), addInsInstalled);
    Disconnect();
    EXPECT_EQ(Bar("Code Window"), cutInAGroup);  // Cut keeps its separator
    EXPECT_EQ(Bar("Add-Ins"), addIns);
    ConnectWith(host::ext_cm_AfterStartup);
    ConnectWith(host::ext_cm_AfterStartup);
    EXPECT_EQ(Installed(vbe, "Code Window"), "2");  // a second connection, a second set
    EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(ConnectTest, ExternalConnectModeInstallsNothing) {
    const Strings codeWindow = Bar("Code Window"), addIns = Bar("Add-Ins");
    ConnectWith(host::ext_cm_External);
    EXPECT_EQ(pv::objVBE, nullptr);
    EXPECT_EQ(Bar("Code Window"), codeWindow);
    EXPECT_EQ(Bar("Add-Ins"), addIns);
}

TEST(MissingBars, InstallQuietlyStopsAtTheMissingBarAndDisconnectReportsNothing) {
    // Bars the host has; Procvault items then on "Add-Ins" and "Code Window" ("-": no such bar).
    const std::pair<host::VBEOptions, std::string> rows[] = {
        {{false, true}, "- 0"}, {{true, false}, "1 -"}, {{false, false}, "- -"}};
    for (const auto& [options, expected] : rows) {
        host::VBE vbe(options);
        forms::ScriptedUi ui;
        vbrt::MemorySettingsStore store;
        pv::Connect addin(pv::Env{ui, store});
        host::CustomArray custom;
        addin.IDTExtensibility_OnConnection(&vbe, host::ext_cm_Startup, nullptr, custom);
        EXPECT_EQ(Installed(vbe, "Add-Ins") + " " + Installed(vbe, "Code Window"), expected);
        addin.IDTExtensibility_OnDisconnection(host::ext_dm_HostShutdown, custom);
        EXPECT_TRUE(ui.Messages().empty()) << expected;
        pv::objVBE = nullptr;
    }
}

TEST_F(ConnectTest, ProcvaultWithoutAProjectSaysSo) {
    ConnectWith(host::ext_cm_Startup);
    Click("Add-Ins", "&Procvault...");
    EXPECT_EQ(
        ui.Transcript(),
        (Strings{"beep", "msgbox:Procvault:Procvault cannot be started, as there is no open project."}));
    EXPECT_EQ(ui.Messages()[0].buttons, forms::vbCritical + forms::vbOKOnly);
}

TEST_F(ConnectTest, WithADesignerActiveItOffersANewModuleAndOpensOnItsCodeWindow) {
    OpenProjectWithModule("Option Explicit\r\n");
    vbe.SetActiveDesigner(&vbe.ActiveVBProject().VBComponents().Item("Module1"));
    ConnectWith(host::ext_cm_Startup);
    ui.QueueAnswer(forms::vbNo);
    Click("Code Window", "&Procvault...");
    EXPECT_EQ(ui.Messages().at(0).buttons, forms::vbYesNo + forms::vbQuestion);
    EXPECT_EQ(ui.Messages().at(1).Icon(), forms::vbCritical);
    ui.QueueAnswer(forms::vbYes);
    Click("Add-Ins", "&Procvault...");
    const std::string question = "msgbox:Procvault:There is no current module. Would you like to add one?";
    EXPECT_EQ(ui.Transcript(),
              (Strings{"beep", question, "beep",
                       "msgbox:Procvault:Procvault cannot be started, as there is no open module.", "beep",
                       question, "show:frmProcvault", "unload-left-open:frmProcvault"}));
    auto& components = vbe.ActiveVBProject().VBComponents();
    ASSERT_EQ(components.Count(), 2);
    host::VBComponent& added = components.Item(2);
    EXPECT_EQ(added.Type(), host::vbext_ct_StdModule);
    EXPECT_EQ(added.Name(), "Module2");
    ASSERT_NE(vbe.ActiveWindow(), nullptr);
    EXPECT_EQ(vbe.ActiveWindow()->Type(), host::vbext_wt_CodeWindow);
    EXPECT_EQ(&vbe.ActiveCodePane().CodeModule(), &added.CodeModule());
    ui.ClearTranscript();
    Click("Code Window", "&Procvault...");  // now a code window is active: no question
    EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(ConnectTest, ContextMenuItemsRouteToTheCommentCommandsUntilDisconnection) {
    host::VBComponent& module = OpenProjectWithModule("a = 1\r\nb = 2\r\n");
    module.Activate();
    ConnectWith(host::ext_cm_Startup);
    module.CodeModule().CodePane().SetSelection(1, 1, 2, 3);
    Click("Code Window", "Co&mment Selection");
    EXPECT_EQ(module.CodeModule().Lines(1, 2), "' a = 1\r\n' b = 2");
    module.CodeModule().CodePane().SetSelection(1, 1, 2, 3);
    Click("Code Window", "&Uncomment Selection");
    EXPECT_EQ(module.CodeModule().Lines(1, 2), "a = 1\r\nb = 2");
    auto item = vbe.CommandBars().Item("Code Window").Controls().Item("Co&mment Selection");
    Disconnect();
    EXPECT_TRUE(item->IsDeleted());
    module.CodeModule().CodePane().SetSelection(1, 1, 1, 3);
    EXPECT_THROW(item->Execute(), vbrt::VbError);
    EXPECT_EQ(module.CodeModule().Lines(1, 2), "a = 1\r\nb = 2");
}

}  // namespace
