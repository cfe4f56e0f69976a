// The host's object model over files: loading a .vbp or a folder, saving atomically, refusing to overwrite
// what changed elsewhere, adding a module, the active objects, and the menu bars with their click events.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "host/TestModules.h"
#include "support/TempDir.h"

namespace {

namespace fs = std::filesystem;
using hosttest::ErrorOf;
using testsupport::CrLf;
using testsupport::ReadBytes;
using testsupport::WriteBytes;

const std::string kVbp =
    "Type=Exe\r\nReference=*\\G{00020430-0000-0000-C000-000000000046}#2.0#0#..\\stdole2.tlb#OLE Automation"
    "\r\nObject={831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.0#0; MSCOMCTL.OCX\r\nForm=Forms\\frmMain.frm\r\n"
    "Form=Forms\\mdiShell.frm\r\nModule=basMain; Modules\\basMain.bas\r\nClass=CInvoice; CInvoice.cls\r\n"
    "UserControl=ctlGauge.ctl\r\nPropertyPage=ppgGauge.pag\r\nUserDocument=docHome.dob\r\n"
    "Designer=DataEnv.Dsr\r\nRelatedDoc=ReadMe.txt\r\nResFile32=\"Ledger.RES\"\r\nIconForm=\"frmMain\"\r\n"
    "Startup=\"Sub Main\"\r\nHelpFile=\"\"\r\nTitle=\"Ledger\"\r\nName=\"Ledger\"\r\n"
    "ExeName32=\"Ledger.exe\"\r\nMajorVer=1\r\n\r\n[MS Transaction Server]\r\nAutoRefresh=1\r\n";
const std::string kBasMain = CrLf(
    {"Attribute VB_Name = \"basMain\"", "Option Explicit", "", "Sub Main()", "    frmMain.Show", "End Sub"});
constexpr auto kRw = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;

// A designer file with an empty layout: the header alone names its kind and its module.
std::string Designer(const std::string& kind, const std::string& name) {
    return CrLf({"VERSION 5.00", "Begin VB." + kind + " " + name + " ", "End",
                 "Attribute VB_Name = \"" + name + "\""});
}

class ProjectOnDisk : public testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(dir_ / "Forms");
        fs::create_directories(dir_ / "Modules");
        const std::pair<std::string, std::string> files[] = {
            {"Ledger.vbp", kVbp},
            {"Forms/frmMain.frm", Designer("Form", "frmMain")},
            {"Forms/mdiShell.frm", Designer("MDIForm", "mdiShell")},
            {"Modules/basMain.bas", kBasMain},
            {"CInvoice.cls", CrLf({"VERSION 1.0 CLASS", "BEGIN", "  MultiUse = -1  'True", "END",
                                   "Attribute VB_Name = \"CInvoice\"", "Private mTotal As Currency"})},
            {"ctlGauge.ctl", Designer("UserControl", "ctlGauge")},
            {"ppgGauge.pag", Designer("PropertyPage", "ppgGauge")},
            {"docHome.dob", Designer("UserDocument", "docHome")}};
        for (const auto& [file, bytes] : files) WriteBytes(dir_ / file, bytes);
    }
    host::VBProject& Open() { return vbe_.OpenProject(dir_ / "Ledger.vbp"); }
    fs::path Module() const { return dir_ / "Modules/basMain.bas"; }

    testsupport::TempDir dir_;
    host::VBE vbe_;
};

TEST_F(ProjectOnDisk, LoadsEveryComponentKind) {
    EXPECT_EQ(ErrorOf([&] { vbe_.ActiveVBProject(); }).Number(), 91);
    host::VBProject& project = Open();
    std::string got = project.Name() + ":";
    for (auto& c : project.VBComponents())
        got += " " + c->Name() + "=" + std::to_string(c->Type()) + (c->HasCodeModule() ? "" : "-");
    EXPECT_EQ(got,
              "Ledger: frmMain=5 mdiShell=6 basMain=1 CInvoice=2 ctlGauge=8 ppgGauge=7 docHome=9 DataEnv=11- "
              "ReadMe=10- Ledger=4-");
    EXPECT_EQ(ErrorOf([&] { project.VBComponents().Item("ReadMe").CodeModule(); }).Number(), 91);
    EXPECT_EQ(project.VBComponents().Item("BASMAIN").CodeModule().Lines(3, 1), "Sub Main()");
    EXPECT_EQ(project.VBComponents().Item(10).Name(), "Ledger");
    for (long outside : {0L, 11L})
        EXPECT_EQ(ErrorOf([&] { project.VBComponents().Item(outside); }).Number(), 9);
}

// Saves write only the edited module, in place; an added module gets the first free name, a project line
// and the code window.
TEST_F(ProjectOnDisk, SaveAllWritesOnlyTheEditedModuleInPlaceAndAddsModules) {
    fs::permissions(Module(), kRw);
    host::VBProject& project = Open();
    host::CodeModule& code = project.VBComponents().Item("basMain").CodeModule();
    code.InsertLines(4, "    On Error GoTo Err_Main");
    EXPECT_TRUE(project.IsDirty());
    auto formStamp = host::StampOf(dir_ / "Forms/frmMain.frm");
    project.SaveAll();
    EXPECT_EQ(ReadBytes(Module()),
              CrLf({"Attribute VB_Name = \"basMain\"", "Option Explicit", "", "Sub Main()",
                    "    On Error GoTo Err_Main", "    frmMain.Show", "End Sub"}));
    EXPECT_EQ(ReadBytes(dir_ / "Ledger.vbp"), kVbp);
    EXPECT_EQ(host::StampOf(dir_ / "Forms/frmMain.frm"), formStamp);
    EXPECT_FALSE(project.IsDirty());
    EXPECT_EQ(fs::status(Module()).permissions(), kRw);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_ / "Modules"), {}), 1);  // no temporary file left
    code.DeleteLines(4, 1);
    project.SaveAll();  // the stamp taken at the first save lets the second one through
    EXPECT_EQ(ReadBytes(Module()), kBasMain);
    WriteBytes(dir_ / "Module1.bas", "");  // a stray file the new module must not replace
    host::VBComponent& added = project.VBComponents().Add(host::vbext_ct_StdModule);
    added.CodeModule().InsertLines(1, "Option Explicit");
    added.Activate();
    EXPECT_EQ(&vbe_.ActiveCodePane(), &added.CodeModule().CodePane());
    vbe_.SetActiveDesigner(&project.VBComponents().Item("frmMain"));  // a designer has no code pane
    EXPECT_EQ(ErrorOf([&] { vbe_.ActiveCodePane(); }).Number(), 91);
    project.SaveAll();
    EXPECT_EQ(ReadBytes(dir_ / "Module2.bas"), CrLf({"Attribute VB_Name = \"Module2\"", "Option Explicit"}));
    std::string after = "Module=basMain; Modules\\basMain.bas\r\n", expected = kVbp;
    EXPECT_EQ(ReadBytes(dir_ / "Ledger.vbp"),
              expected.insert(expected.find(after) + after.size(), "Module=Module2; Module2.bas\r\n"));
    EXPECT_EQ(ReadBytes(dir_ / "Module1.bas"), "");
}

// What is done to the files before the project is opened, or before an edit of it is saved; "%" in the
// message stands for the full path of the module file (of the project file when that is missing).
TEST_F(ProjectOnDisk, RefusesAndLeavesTheFilesAlone) {
    const struct {
        char spoil;  // Changed, Read-only, Missing, Folder, no Project file (binary: bad-input.sh)
        bool whenSaving;
        long number;
        std::string description;
    } rows[] = {{'C', true, 75, "Path/File access error: basMain.bas changed on disk since it was loaded"},
                {'R', true, 75, "Path/File access error: basMain.bas is read-only"},
                {'M', false, 53, "File not found: % (listed in Ledger.vbp)"},
                {'F', false, 75, "Path/File access error: basMain.bas is a folder, not a file"},
                {'P', false, 53, "File not found: %"}};
    for (const auto& row : rows) {
        SetUp();
        host::VBE vbe;
        host::VBProject* project = row.whenSaving ? &vbe.OpenProject(dir_ / "Ledger.vbp") : nullptr;
        if (project) project->VBComponents().Item("basMain").CodeModule().InsertLines(1, "' mine");
        if (row.spoil == 'C') WriteBytes(Module(), kBasMain + "' theirs\r\n");
        if (row.spoil == 'R') fs::permissions(Module(), fs::perms::owner_read | fs::perms::group_read);
        if (row.spoil == 'M' || row.spoil == 'F') fs::remove(Module());
        if (row.spoil == 'F') fs::create_directory(Module());
        if (row.spoil == 'P') fs::remove(dir_ / "Ledger.vbp");
        std::string bytes = fs::is_regular_file(Module()) ? ReadBytes(Module()) : "";
        auto perms = fs::status(Module()).permissions();
        auto error =
            ErrorOf([&] { project ? project->SaveAll() : (void)vbe.OpenProject(dir_ / "Ledger.vbp"); });
        std::string description = row.description;
        if (auto at = description.find('%'); at != std::string::npos)
            description.replace(at, 1, (row.spoil == 'P' ? dir_ / "Ledger.vbp" : Module()).string());
        EXPECT_EQ(std::to_string(error.Number()) + " " + error.Description(),
                  std::to_string(row.number) + " " + description);
        EXPECT_EQ(fs::is_regular_file(Module()) ? ReadBytes(Module()) : "", bytes) << row.spoil;
        EXPECT_EQ(fs::status(Module()).permissions(), perms) << row.spoil;
        EXPECT_EQ(vbe.VBProjects().Count(), project ? 1 : 0) << row.spoil;
        fs::remove_all(Module());
    }
}

// Modules sorted by file name, other files ignored; a linked module stays a link and its target is written.
TEST(ProjectFolder, LoadsModulesByFileNameKeepsLinksAndSavesAddedOnes) {
    testsupport::TempDir dir;
    fs::create_directories(dir / "shared");
    fs::create_directories(dir / "project");
    WriteBytes(dir / "project/zUtil.bas", CrLf({"Attribute VB_Name = \"zUtil\""}));
    WriteBytes(dir / "project/CAccount.cls",
               CrLf({"VERSION 1.0 CLASS", "BEGIN", "END", "Attribute VB_Name = \"CAccount\""}));
    WriteBytes(dir / "project/basStart.BAS", CrLf({"Attribute VB_Name = \"basStart\""}));
    WriteBytes(dir / "project/notes.txt", "not code");
    WriteBytes(dir / "shared/Linked.bas", CrLf({"Attribute VB_Name = \"Linked\"", "x = 1"}));
    fs::create_symlink(dir / "shared/Linked.bas", dir / "project/Linked.bas");
    host::VBE vbe;
    host::VBProject& project = vbe.OpenProject(dir / "project");
    std::string names;
    for (auto& c : project.VBComponents()) names += c->Name() + " ";
    EXPECT_EQ(names, "CAccount Linked basStart zUtil ");
    host::VBComponent& linked = project.VBComponents().Item("Linked");
    linked.CodeModule().ReplaceLine(1, "x = 2");
    project.VBComponents().Add(host::vbext_ct_StdModule);
    project.SaveAll();
    EXPECT_EQ(ReadBytes(dir / "project/Module1.bas"), "Attribute VB_Name = \"Module1\"\r\n");
    EXPECT_TRUE(fs::is_symlink(dir / "project/Linked.bas"));
    EXPECT_EQ(ReadBytes(dir / "shared/Linked.bas"), CrLf({"Attribute VB_Name = \"Linked\"", "x = 2"}));
    linked.CodeModule().ReplaceLine(1, "x = 3");  // saved once, the module still knows its file
    EXPECT_NO_THROW(linked.Save());
}

// Captions joined by ", ", a group's first item marked by "|".
std::string CaptionsOf(host::CommandBar& bar) {
    std::string captions;
    for (const auto& item : bar.Items())
        captions +=
            (captions.empty() ? "" : ", ") + std::string(item->BeginGroup() ? "|" : "") + item->Caption();
    return captions;
}

// The host's own items and their actions; Add before a position outside the bar, or a lookup outside it,
// raises.
TEST(CommandBars, HostItemsAddBeforeAPositionAndLookupsOutsideRaise) {
    host::VBE vbe;
    host::CommandBar& code = vbe.CommandBars().Item("Code Window");
    host::CommandBar& addIns = vbe.CommandBars().Item("Add-Ins");
    EXPECT_EQ(CaptionsOf(addIns) + " " + addIns.Controls().Item(1)->HostAction() + " " +
                  code.Controls().Item("Paste")->HostAction() + " " + code.Controls().Item(4)->HostAction(),
              "Add-In Manager... addin-manager paste select-all");
    for (int before : {6, -1})
        EXPECT_EQ(ErrorOf([&] { code.Controls().Add(host::msoControlButton, before); }).Number(), 5)
            << before;
    EXPECT_EQ(ErrorOf([&] { code.Controls().Item("&Procvault..."); }).Number(), 5);
    EXPECT_EQ(ErrorOf([&] { code.Controls().Item(0); }).Number(), 5);
    auto added = code.Controls().Add(host::msoControlButton, 3);
    added->SetCaption("Copy");
    EXPECT_EQ(CaptionsOf(code), "Cut, Copy, Copy, Paste, |Select All");
    EXPECT_EQ(code.Controls().Item("Copy"), code.Controls().Item(2));  // the first by caption
    host::VBE bare(host::VBEOptions{.addInsBar = false, .codeWindowBar = true});
    EXPECT_EQ(ErrorOf([&] { bare.CommandBars().Item("Add-Ins"); }).Number(), 5);
    EXPECT_EQ(bare.CommandBars().Count(), 1);
}

// Clicks reach the live event sources of their own item only; a deleted item refuses a second delete.
TEST(CommandBars, ClicksReachLiveSourcesOfTheirItemOnlyAndDeleteRemoves) {
    host::VBE vbe;
    host::CommandBar& bar = vbe.CommandBars().Item("Add-Ins");
    auto item = bar.Controls().Add();
    auto other = bar.Controls().Add();
    std::vector<std::string> clicks;
    auto first = vbe.Events().CommandBarEvents(*item);
    auto second = vbe.Events().CommandBarEvents(*item);
    first->OnClick(
        [&](host::CommandBarControl& c, bool&, bool&) { clicks.push_back("first:" + c.Caption()); });
    second->OnClick([&](host::CommandBarControl&, bool&, bool&) { clicks.push_back("second"); });
    other->Execute();
    item->SetCaption("&Procvault...");
    item->Execute();
    second.reset();  // the subscriber let go of its source
    item->Execute();
    EXPECT_EQ(clicks, (std::vector<std::string>{"first:&Procvault...", "second", "first:&Procvault..."}));
    item->Delete();
    EXPECT_EQ(ErrorOf([&] { item->Delete(); }).Number(), 5);
    other->Delete();
    bar.Controls().Add()->SetCaption("Temporary");
    bar.Controls().Item("Temporary")->Delete();  // held only by the bar while it deletes itself
    EXPECT_EQ(CaptionsOf(bar), "Add-In Manager...");
}

}  // namespace
