#include "addin/Connect.h"

#include <gtest/gtest.h>

#include "forms/ScriptedUi.h"
#include "host/VBE.h"
#include "support/TempDir.h"
#include "vbrt/VbError.h"

namespace {

using testsupport::TempDir;

std::vector<std::string> Captions(host::CommandBar& bar) {
    std::vector<std::string> out;
    for (const auto& item : bar.Items()) out.push_back((item->BeginGroup() ? "|" : "") + item->Caption());
    return out;
}

class ConnectTest : public ::testing::Test {
protected:
    explicit ConnectTest(host::VBEOptions options = {}) : vbe(options) {}
    void TearDown() override { pv::objVBE = nullptr; }

    void ConnectWith(int mode) {
        host::CustomArray custom;
        addin.IDTExtensibility_OnConnection(&vbe, mode, &record, custom);
    }
    void Disconnect() {
        host::CustomArray custom;
        addin.IDTExtensibility_OnDisconnection(host::ext_dm_UserClosed, custom);
    }
    void OpenProjectWithModule(const std::string& lines) {
        testsupport::WriteBytes(dir / "Module1.bas", "Attribute VB_Name = \"Module1\"\r\n" + lines);
        vbe.OpenProject(dir.Path());
    }
    void Click(const std::string& bar, const std::string& caption) {
        vbe.CommandBars().Item(bar).Controls().Item(caption)->Execute();
    }

    TempDir dir;
    host::VBE vbe;
    forms::ScriptedUi ui;
    vbrt::MemorySettingsStore store;
    host::AddIn record{pv::kProgId, "Procvault", false};
    pv::Connect addin{pv::Env{ui, store}};
};

TEST_F(ConnectTest, InstallsItsItemsAtTheTopOfTheContextMenuAndAtTheEndOfAddIns) {
    const auto hostItems = Captions(vbe.CommandBars().Item("Code Window"));
    ConnectWith(host::ext_cm_Startup);
    EXPECT_EQ(pv::objVBE, &vbe);

    std::vector<std::string> expected = {"&Procvault...", "Co&mment Selection", "&Uncomment Selection"};
    for (const auto& caption : hostItems) expected.push_back(caption == "Cut" ? "|Cut" : caption);
    EXPECT_EQ(Captions(vbe.CommandBars().Item("Code Window")), expected);

    const auto addIns = Captions(vbe.CommandBars().Item("Add-Ins"));
    EXPECT_EQ(addIns.back(), "|&Procvault...");
    EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(ConnectTest, ExternalConnectModeInstallsNothing) {
    const auto before = Captions(vbe.CommandBars().Item("Code Window"));
    const auto addInsBefore = Captions(vbe.CommandBars().Item("Add-Ins"));
    ConnectWith(host::ext_cm_External);
    EXPECT_EQ(pv::objVBE, nullptr);
    EXPECT_EQ(Captions(vbe.CommandBars().Item("Code Window")), before);
    EXPECT_EQ(Captions(vbe.CommandBars().Item("Add-Ins")), addInsBefore);
}

TEST_F(ConnectTest, DisconnectRemovesExactlyTheFourItemsAndCutKeepsItsSeparator) {
    const auto hostItems = Captions(vbe.CommandBars().Item("Code Window"));
    const auto addInsBefore = Captions(vbe.CommandBars().Item("Add-Ins"));
    ConnectWith(host::ext_cm_AfterStartup);
    Disconnect();
    std::vector<std::string> expected;
    for (const auto& caption : hostItems) expected.push_back(caption == "Cut" ? "|Cut" : caption);
    EXPECT_EQ(Captions(vbe.CommandBars().Item("Code Window")), expected);
    EXPECT_EQ(Captions(vbe.CommandBars().Item("Add-Ins")), addInsBefore);
    EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(ConnectTest, ASecondConnectionAddsASecondSet) {
    ConnectWith(host::ext_cm_Startup);
    ConnectWith(host::ext_cm_AfterStartup);
    const auto items = Captions(vbe.CommandBars().Item("Code Window"));
    EXPECT_EQ(std::count(items.begin(), items.end(), "&Procvault..."), 2);
}

struct MissingBarRow {
    const char* name;
    host::VBEOptions options;
    int addInItems;  // Procvault items expected on "Add-Ins"
};

class MissingBars : public ::testing::TestWithParam<MissingBarRow> {};

TEST_P(MissingBars, InstallQuietlyStopsAtTheMissingBar) {
    host::VBE vbe(GetParam().options);
    forms::ScriptedUi ui;
    vbrt::MemorySettingsStore store;
    pv::Connect addin(pv::Env{ui, store});
    host::CustomArray custom;
    addin.IDTExtensibility_OnConnection(&vbe, host::ext_cm_Startup, nullptr, custom);
    if (auto* bar = vbe.CommandBars().Find("Add-Ins")) {
        const auto items = Captions(*bar);
        EXPECT_EQ(std::count(items.begin(), items.end(), "|&Procvault..."), GetParam().addInItems);
    }
    if (auto* bar = vbe.CommandBars().Find("Code Window")) {
        for (const auto& caption : Captions(*bar)) EXPECT_NE(caption, "&Procvault...");
    }
    EXPECT_TRUE(ui.Messages().empty());
    addin.IDTExtensibility_OnDisconnection(host::ext_dm_HostShutdown, custom);
    EXPECT_TRUE(ui.Messages().empty()) << "disconnecting a partial install reports nothing";
    pv::objVBE = nullptr;
}

INSTANTIATE_TEST_SUITE_P(Hosts, MissingBars,
                         ::testing::Values(MissingBarRow{"NoAddInsBar", {false, true}, 0},
                                           MissingBarRow{"NoCodeWindowBar", {true, false}, 1},
                                           MissingBarRow{"NoBarsAtAll", {false, false}, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ConnectTest, ProcvaultWithoutAProjectSaysSo) {
    ConnectWith(host::ext_cm_Startup);
    Click("Add-Ins", "&Procvault...");
    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_EQ(ui.Messages()[0].prompt, "Procvault cannot be started, as there is no open project.");
    EXPECT_EQ(ui.Messages()[0].buttons, forms::vbCritical + forms::vbOKOnly);
    EXPECT_EQ(ui.Messages()[0].title, "Procvault");
    EXPECT_EQ(ui.Transcript().front(), "beep");
}

TEST_F(ConnectTest, DesignerActiveAndAnswerNoStops) {
    OpenProjectWithModule("Option Explicit\r\n");
    vbe.SetActiveDesigner(&vbe.ActiveVBProject().VBComponents().Item("Module1"));
    ConnectWith(host::ext_cm_Startup);
    ui.QueueAnswer(forms::vbNo);
    Click("Code Window", "&Procvault...");
    ASSERT_EQ(ui.Messages().size(), 2u);
    EXPECT_EQ(ui.Messages()[0].prompt, "There is no current module. Would you like to add one?");
    EXPECT_EQ(ui.Messages()[0].buttons, forms::vbYesNo + forms::vbQuestion);
    EXPECT_EQ(ui.Messages()[1].prompt, "Procvault cannot be started, as there is no open module.");
    EXPECT_EQ(ui.Messages()[1].Icon(), forms::vbCritical);
    EXPECT_EQ(vbe.ActiveVBProject().VBComponents().Count(), 1);
}

TEST_F(ConnectTest, DesignerActiveAndAnswerYesAddsAStandardModuleAndActivatesIt) {
    OpenProjectWithModule("Option Explicit\r\n");
    vbe.SetActiveDesigner(&vbe.ActiveVBProject().VBComponents().Item("Module1"));
    ConnectWith(host::ext_cm_Startup);
    ui.QueueAnswer(forms::vbYes);
    Click("Add-Ins", "&Procvault...");
    ASSERT_EQ(ui.Messages().size(), 1u);
    auto& components = vbe.ActiveVBProject().VBComponents();
    ASSERT_EQ(components.Count(), 2);
    host::VBComponent& added = components.Item(2);
    EXPECT_EQ(added.Type(), host::vbext_ct_StdModule);
    EXPECT_EQ(added.Name(), "Module2");
    ASSERT_NE(vbe.ActiveWindow(), nullptr);
    EXPECT_EQ(vbe.ActiveWindow()->Type(), host::vbext_wt_CodeWindow);
    EXPECT_EQ(&vbe.ActiveCodePane().CodeModule(), &added.CodeModule());
}

TEST_F(ConnectTest, CodeWindowActiveOpensWithoutAQuestion) {
    OpenProjectWithModule("Option Explicit\r\n");
    vbe.ActiveVBProject().VBComponents().Item("Module1").Activate();
    ConnectWith(host::ext_cm_Startup);
    Click("Code Window", "&Procvault...");
    EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(ConnectTest, ContextMenuItemsRouteToTheCommentCommands) {
    OpenProjectWithModule("a = 1\r\nb = 2\r\n");
    host::VBComponent& module = vbe.ActiveVBProject().VBComponents().Item("Module1");
    module.Activate();
    ConnectWith(host::ext_cm_Startup);
    module.CodeModule().CodePane().SetSelection(1, 1, 2, 3);
    Click("Code Window", "Co&mment Selection");
    EXPECT_EQ(module.CodeModule().Lines(1, 2), "' a = 1\r\n' b = 2");
    module.CodeModule().CodePane().SetSelection(1, 1, 2, 3);
    Click("Code Window", "&Uncomment Selection");
    EXPECT_EQ(module.CodeModule().Lines(1, 2), "a = 1\r\nb = 2");
}

TEST_F(ConnectTest, ClicksStopReachingTheAddInAfterDisconnection) {
    OpenProjectWithModule("a = 1\r\n");
    host::VBComponent& module = vbe.ActiveVBProject().VBComponents().Item("Module1");
    module.Activate();
    ConnectWith(host::ext_cm_Startup);
    auto item = vbe.CommandBars().Item("Code Window").Controls().Item("Co&mment Selection");
    Disconnect();
    EXPECT_TRUE(item->IsDeleted());
    module.CodeModule().CodePane().SetSelection(1, 1, 1, 3);
    EXPECT_THROW(item->Execute(), vbrt::VbError);
    EXPECT_EQ(module.CodeModule().Lines(1, 1), "a = 1");
}

}  // namespace
