// Projects on disk: loading a .vbp or a folder, saving atomically, refusing to
// overwrite what changed elsewhere, and adding a standard module.
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
    "Type=Exe\r\nReference=*\\G{00020430-0000-0000-C000-000000000046}#2.0#0#..\\stdole2.tlb#OLE "
    "Automation\r\n"
    "Object={831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.0#0; MSCOMCTL.OCX\r\nForm=Forms\\frmMain.frm\r\n"
    "Form=Forms\\mdiShell.frm\r\nModule=basMain; Modules\\basMain.bas\r\nClass=CInvoice; CInvoice.cls\r\n"
    "UserControl=ctlGauge.ctl\r\nPropertyPage=ppgGauge.pag\r\nUserDocument=docHome.dob\r\n"
    "Designer=DataEnv.Dsr\r\nRelatedDoc=ReadMe.txt\r\nResFile32=\"Ledger.RES\"\r\nIconForm=\"frmMain\"\r\n"
    "Startup=\"Sub "
    "Main\"\r\nHelpFile=\"\"\r\nTitle=\"Ledger\"\r\nName=\"Ledger\"\r\nExeName32=\"Ledger.exe\"\r\n"
    "MajorVer=1\r\n\r\n[MS Transaction Server]\r\nAutoRefresh=1\r\n";

const std::string kBasMain = CrLf(
    {"Attribute VB_Name = \"basMain\"", "Option Explicit", "", "Sub Main()", "    frmMain.Show", "End Sub"});

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
        WriteBytes(dir_ / "Ledger.vbp", kVbp);
        WriteBytes(dir_ / "Forms/frmMain.frm", Designer("Form", "frmMain"));
        WriteBytes(dir_ / "Forms/mdiShell.frm", Designer("MDIForm", "mdiShell"));
        WriteBytes(Module(), kBasMain);
        WriteBytes(dir_ / "CInvoice.cls",
                   CrLf({"VERSION 1.0 CLASS", "BEGIN", "  MultiUse = -1  'True", "END",
                         "Attribute VB_Name = \"CInvoice\"", "Private mTotal As Currency"}));
        WriteBytes(dir_ / "ctlGauge.ctl", Designer("UserControl", "ctlGauge"));
        WriteBytes(dir_ / "ppgGauge.pag", Designer("PropertyPage", "ppgGauge"));
        WriteBytes(dir_ / "docHome.dob", Designer("UserDocument", "docHome"));
    }

    host::VBProject& Open() { return vbe_.OpenProject(dir_ / "Ledger.vbp"); }
    fs::path Module() const { return dir_ / "Modules/basMain.bas"; }

    testsupport::TempDir dir_;
    host::VBE vbe_;
};

TEST_F(ProjectOnDisk, LoadsEveryComponentKind) {
    host::VBProject& project = Open();
    EXPECT_EQ(project.Name(), "Ledger");
    std::vector<std::tuple<std::string, int, bool>> got;
    for (auto& c : project.VBComponents()) got.emplace_back(c->Name(), c->Type(), c->HasCodeModule());
    std::vector<std::tuple<std::string, int, bool>> expected{
        {"frmMain", 5, true},  {"mdiShell", 6, true}, {"basMain", 1, true}, {"CInvoice", 2, true},
        {"ctlGauge", 8, true}, {"ppgGauge", 7, true}, {"docHome", 9, true}, {"DataEnv", 11, false},
        {"ReadMe", 10, false}, {"Ledger", 4, false}};
    EXPECT_EQ(got, expected);
    EXPECT_EQ(ErrorOf([&] { project.VBComponents().Item("ReadMe").CodeModule(); }).Number(), 91);
    EXPECT_EQ(project.VBComponents().Item("BASMAIN").CodeModule().Lines(3, 1), "Sub Main()");
    EXPECT_FALSE(project.IsDirty());
}

TEST_F(ProjectOnDisk, SaveAllWritesOnlyTheEditedModuleInPlace) {
    fs::permissions(Module(), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
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
    EXPECT_EQ(fs::status(Module()).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    std::vector<fs::path> names;  // no temporary file left behind
    for (const auto& entry : fs::directory_iterator(dir_ / "Modules"))
        names.push_back(entry.path().filename());
    EXPECT_EQ(names, std::vector<fs::path>{"basMain.bas"});
    code.DeleteLines(4, 1);
    project.SaveAll();  // the stamp taken at the first save lets the second one through
    EXPECT_EQ(ReadBytes(Module()), kBasMain);
}

struct RefusalRow {
    std::string name;
    std::function<void(const fs::path&)> spoil;  // done to the module file
    bool whenSaving;                             // else when opening
    long number;
    std::string description;  // "%" stands for the module file's full path
};

class RefusalTest : public ProjectOnDisk, public testing::WithParamInterface<RefusalRow> {};

TEST_P(RefusalTest, RaisesAndLeavesTheFileAlone) {
    const RefusalRow& row = GetParam();
    host::VBProject* project = row.whenSaving ? &Open() : nullptr;
    if (project) project->VBComponents().Item("basMain").CodeModule().InsertLines(1, "' mine");
    row.spoil(Module());
    std::string bytes = fs::is_regular_file(Module()) ? ReadBytes(Module()) : "";
    auto perms = fs::status(Module()).permissions();
    auto error = ErrorOf([&] { project ? project->SaveAll() : (void)Open(); });
    std::string description = row.description;
    if (auto at = description.find('%'); at != std::string::npos)
        description.replace(at, 1, Module().string());
    EXPECT_EQ(error.Number(), row.number);
    EXPECT_EQ(error.Description(), description);
    EXPECT_EQ(fs::is_regular_file(Module()) ? ReadBytes(Module()) : "", bytes);
    EXPECT_EQ(fs::status(Module()).permissions(), perms);
    EXPECT_EQ(vbe_.VBProjects().Count(), project ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(
    Files, RefusalTest,
    testing::Values(RefusalRow{"ChangedOnDiskSinceLoaded",
                               [](const fs::path& f) { WriteBytes(f, kBasMain + "' theirs\r\n"); }, true, 75,
                               "Path/File access error: basMain.bas changed on disk since it was loaded"},
                    RefusalRow{"ReadOnly",
                               [](const fs::path& f) {
                                   fs::permissions(f, fs::perms::owner_read | fs::perms::group_read);
                               },
                               true, 75, "Path/File access error: basMain.bas is read-only"},
                    RefusalRow{"MissingModule", [](const fs::path& f) { fs::remove(f); }, false, 53,
                               "File not found: % (listed in Ledger.vbp)"},
                    RefusalRow{"BinaryModule",
                               [](const fs::path& f) {
                                   WriteBytes(f, std::string("\x7F"
                                                             "ELF\0\0\0",
                                                             7));
                               },
                               false, 5, "basMain.bas is not a Visual Basic source file"},
                    RefusalRow{"FolderListedAsModule",
                               [](const fs::path& f) {
                                   fs::remove(f);
                                   fs::create_directory(f);
                               },
                               false, 75, "Path/File access error: basMain.bas is a folder, not a file"}),
    hosttest::RowName);

TEST_F(ProjectOnDisk, AddedModuleGetsFirstFreeNameAndAProjectLine) {
    WriteBytes(dir_ / "Module1.bas", "");  // a stray file the new module must not replace
    host::VBProject& project = Open();
    host::VBComponent& added = project.VBComponents().Add(host::vbext_ct_StdModule);
    EXPECT_EQ(added.Name(), "Module2");
    EXPECT_TRUE(added.IsDirty());
    added.CodeModule().InsertLines(1, "Option Explicit");
    added.Activate();
    EXPECT_EQ(&vbe_.ActiveCodePane(), &added.CodeModule().CodePane());
    ASSERT_NE(vbe_.ActiveWindow(), nullptr);
    EXPECT_EQ(vbe_.ActiveWindow()->Type(), host::vbext_wt_CodeWindow);
    project.SaveAll();
    EXPECT_EQ(ReadBytes(dir_ / "Module2.bas"), CrLf({"Attribute VB_Name = \"Module2\"", "Option Explicit"}));
    std::string after = "Module=basMain; Modules\\basMain.bas\r\n";
    std::string expected = kVbp;
    expected.insert(expected.find(after) + after.size(), "Module=Module2; Module2.bas\r\n");
    EXPECT_EQ(ReadBytes(dir_ / "Ledger.vbp"), expected);
    EXPECT_EQ(ReadBytes(dir_ / "Module1.bas"), "");
}

TEST(ProjectOpen, MissingPathRaisesFileNotFound) {
    testsupport::TempDir dir;
    host::VBE vbe;
    auto error = ErrorOf([&] { vbe.OpenProject(dir / "Nowhere.vbp"); });
    EXPECT_EQ(error.Number(), 53);
    EXPECT_EQ(error.Description(), "File not found: " + (dir / "Nowhere.vbp").string());
}

TEST(ProjectOpen, FolderLoadsModulesSortedByFileName) {
    testsupport::TempDir dir;
    WriteBytes(dir / "zUtil.bas", CrLf({"Attribute VB_Name = \"zUtil\""}));
    WriteBytes(dir / "CAccount.cls",
               CrLf({"VERSION 1.0 CLASS", "BEGIN", "END", "Attribute VB_Name = \"CAccount\""}));
    WriteBytes(dir / "basStart.BAS", CrLf({"Attribute VB_Name = \"basStart\""}));
    WriteBytes(dir / "notes.txt", "not code");
    host::VBE vbe;
    host::VBProject& project = vbe.OpenProject(dir.Path());
    std::vector<std::string> names;
    for (auto& c : project.VBComponents()) names.push_back(c->Name());
    EXPECT_EQ(names, (std::vector<std::string>{"CAccount", "basStart", "zUtil"}));
    EXPECT_TRUE(project.ProjectFile().empty());
    project.VBComponents().Add(host::vbext_ct_StdModule);
    project.SaveAll();
    EXPECT_EQ(ReadBytes(dir / "Module1.bas"), "Attribute VB_Name = \"Module1\"\r\n");
}

TEST(VbeActiveObjects, CodePaneOnlyWhileACodeWindowIsActive) {
    testsupport::TempDir dir;
    WriteBytes(dir / "frmAbout.frm", Designer("Form", "frmAbout"));
    host::VBE vbe;
    EXPECT_EQ(ErrorOf([&] { vbe.ActiveVBProject(); }).Number(), 91);
    EXPECT_EQ(ErrorOf([&] { vbe.ActiveCodePane(); }).Number(), 91);
    EXPECT_EQ(vbe.ActiveWindow(), nullptr);
    int changes = 0;
    vbe.OnActiveChanged([&] { ++changes; });
    host::VBComponent& form = vbe.OpenProject(dir.Path()).VBComponents().Item(1);
    form.Activate();
    EXPECT_TRUE(vbe.HasActiveCodePane());
    vbe.SetActiveDesigner(&form);
    EXPECT_EQ(vbe.ActiveWindow()->Type(), host::vbext_wt_Designer);
    EXPECT_EQ(ErrorOf([&] { vbe.ActiveCodePane(); }).Number(), 91);
    EXPECT_EQ(changes, 2);
}

TEST(ProjectSave, ALinkedModuleStaysALinkAndItsTargetIsWritten) {
    testsupport::TempDir dir;
    fs::create_directories(dir / "shared");
    fs::create_directories(dir / "project");
    WriteBytes(dir / "shared/Module1.bas", CrLf({"Attribute VB_Name = \"Module1\"", "x = 1"}));
    fs::create_symlink(dir / "shared/Module1.bas", dir / "project/Module1.bas");
    host::VBE vbe;
    host::VBComponent& module = vbe.OpenProject(dir / "project").VBComponents().Item("Module1");
    module.CodeModule().ReplaceLine(1, "x = 2");
    module.Save();
    EXPECT_TRUE(fs::is_symlink(dir / "project/Module1.bas"));
    EXPECT_EQ(ReadBytes(dir / "shared/Module1.bas"), CrLf({"Attribute VB_Name = \"Module1\"", "x = 2"}));
    // Saved once, the module still knows its file: a second save is not refused.
    module.CodeModule().ReplaceLine(1, "x = 3");
    EXPECT_NO_THROW(module.Save());
}

}  // namespace
