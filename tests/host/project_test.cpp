// Projects on disk: loading a .vbp or a folder, saving atomically, refusing to
// overwrite what changed elsewhere, and adding a standard module.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <functional>

#include "host/VBE.h"
#include "support/TempDir.h"
#include "vbrt/VbError.h"

namespace {

namespace fs = std::filesystem;
using testsupport::CrLf;
using testsupport::ReadBytes;
using testsupport::WriteBytes;

vbrt::VbError ErrorOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const vbrt::VbError& e) {
        return e;
    }
    return vbrt::VbError(0, "no error");
}

const std::string kVbp =
    CrLf({"Type=Exe",
          "Reference=*\\G{00020430-0000-0000-C000-000000000046}#2.0#0#..\\stdole2.tlb#OLE Automation",
          "Object={831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.0#0; MSCOMCTL.OCX",
          "Form=Forms\\frmMain.frm",
          "Form=Forms\\mdiShell.frm",
          "Module=basMain; Modules\\basMain.bas",
          "Class=CInvoice; CInvoice.cls",
          "UserControl=ctlGauge.ctl",
          "PropertyPage=ppgGauge.pag",
          "UserDocument=docHome.dob",
          "Designer=DataEnv.Dsr",
          "RelatedDoc=ReadMe.txt",
          "ResFile32=\"Ledger.RES\"",
          "IconForm=\"frmMain\"",
          "Startup=\"Sub Main\"",
          "HelpFile=\"\"",
          "Title=\"Ledger\"",
          "Name=\"Ledger\"",
          "ExeName32=\"Ledger.exe\"",
          "MajorVer=1",
          "",
          "[MS Transaction Server]",
          "AutoRefresh=1"});

const std::string kBasMain = CrLf(
    {"Attribute VB_Name = \"basMain\"", "Option Explicit", "", "Sub Main()", "    frmMain.Show", "End Sub"});

class ProjectOnDisk : public testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(dir_ / "Forms");
        fs::create_directories(dir_ / "Modules");
        WriteBytes(dir_ / "Ledger.vbp", kVbp);
        WriteBytes(dir_ / "Forms/frmMain.frm",
                   CrLf({"VERSION 5.00", "Begin VB.Form frmMain ", "   Caption = \"Ledger\"", "End",
                         "Attribute VB_Name = \"frmMain\"", "Option Explicit"}));
        WriteBytes(dir_ / "Forms/mdiShell.frm",
                   CrLf({"VERSION 5.00", "Begin VB.MDIForm mdiShell ", "   Caption = \"Shell\"", "End",
                         "Attribute VB_Name = \"mdiShell\""}));
        WriteBytes(dir_ / "Modules/basMain.bas", kBasMain);
        WriteBytes(dir_ / "CInvoice.cls",
                   CrLf({"VERSION 1.0 CLASS", "BEGIN", "  MultiUse = -1  'True", "END",
                         "Attribute VB_Name = \"CInvoice\"", "Private mTotal As Currency"}));
        WriteBytes(dir_ / "ctlGauge.ctl", CrLf({"VERSION 5.00", "Begin VB.UserControl ctlGauge ", "End",
                                                "Attribute VB_Name = \"ctlGauge\""}));
        WriteBytes(dir_ / "ppgGauge.pag", CrLf({"VERSION 5.00", "Begin VB.PropertyPage ppgGauge ", "End",
                                                "Attribute VB_Name = \"ppgGauge\""}));
        WriteBytes(dir_ / "docHome.dob", CrLf({"VERSION 5.00", "Begin VB.UserDocument docHome ", "End",
                                               "Attribute VB_Name = \"docHome\""}));
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

TEST_F(ProjectOnDisk, SaveAllWritesOnlyTheEditedModule) {
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
    code.DeleteLines(4, 1);
    project.SaveAll();  // the stamp taken at the first save lets the second one through
    EXPECT_EQ(ReadBytes(Module()), kBasMain);
}

TEST_F(ProjectOnDisk, SaveKeepsPermissionBitsAndLeavesNoTempFile) {
    fs::permissions(Module(), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    host::VBProject& project = Open();
    project.VBComponents().Item("basMain").CodeModule().ReplaceLine(1, "Option Explicit ' required");
    project.SaveAll();
    EXPECT_EQ(fs::status(Module()).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir_ / "Modules"))
        names.push_back(entry.path().filename().string());
    EXPECT_EQ(names, std::vector<std::string>{"basMain.bas"});
}

TEST_F(ProjectOnDisk, RefusesToOverwriteAFileChangedOnDisk) {
    host::VBProject& project = Open();
    project.VBComponents().Item("basMain").CodeModule().InsertLines(1, "' mine");
    std::string theirs = kBasMain + "' theirs\r\n";
    WriteBytes(Module(), theirs);
    auto error = ErrorOf([&] { project.SaveAll(); });
    EXPECT_EQ(error.Number(), 75);
    EXPECT_EQ(error.Description(), "Path/File access error: basMain.bas changed on disk since it was loaded");
    EXPECT_EQ(ReadBytes(Module()), theirs);
}

TEST_F(ProjectOnDisk, RefusesToSaveOverAReadOnlyFile) {
    host::VBProject& project = Open();
    project.VBComponents().Item("basMain").CodeModule().InsertLines(1, "' mine");
    fs::permissions(Module(), fs::perms::owner_read | fs::perms::group_read);
    auto error = ErrorOf([&] { project.SaveAll(); });
    EXPECT_EQ(error.Number(), 75);
    EXPECT_EQ(error.Description(), "Path/File access error: basMain.bas is read-only");
    EXPECT_EQ(ReadBytes(Module()), kBasMain);
    EXPECT_EQ(fs::status(Module()).permissions(), fs::perms::owner_read | fs::perms::group_read);
}

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
    std::string expected = kVbp;
    std::string after = "Module=basMain; Modules\\basMain.bas\r\n";
    expected.insert(expected.find(after) + after.size(), "Module=Module2; Module2.bas\r\n");
    EXPECT_EQ(ReadBytes(dir_ / "Ledger.vbp"), expected);
    EXPECT_EQ(ReadBytes(dir_ / "Module1.bas"), "");
}

TEST_F(ProjectOnDisk, MissingModuleNamesTheFileAndTheProject) {
    fs::remove(Module());
    auto error = ErrorOf([&] { Open(); });
    EXPECT_EQ(error.Number(), 53);
    EXPECT_NE(error.Description().find("basMain.bas"), std::string::npos);
    EXPECT_NE(error.Description().find("Ledger.vbp"), std::string::npos);
    EXPECT_EQ(vbe_.VBProjects().Count(), 0);
}

TEST_F(ProjectOnDisk, BinaryModuleIsRefused) {
    WriteBytes(Module(), std::string("\x7F"
                                     "ELF\0\0\0",
                                     7));
    auto error = ErrorOf([&] { Open(); });
    EXPECT_EQ(error.Number(), 5);
    EXPECT_EQ(error.Description(), "basMain.bas is not a Visual Basic source file");
}

TEST_F(ProjectOnDisk, FolderListedAsModuleIsRefused) {
    fs::remove(Module());
    fs::create_directory(Module());
    auto error = ErrorOf([&] { Open(); });
    EXPECT_EQ(error.Number(), 75);
    EXPECT_EQ(error.Description(), "Path/File access error: basMain.bas is a folder, not a file");
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

TEST(VbeActiveObjects, RaiseObjectNotSetWhenNothingIsOpen) {
    host::VBE vbe;
    EXPECT_EQ(ErrorOf([&] { vbe.ActiveVBProject(); }).Number(), 91);
    EXPECT_EQ(ErrorOf([&] { vbe.ActiveCodePane(); }).Number(), 91);
    EXPECT_EQ(vbe.ActiveWindow(), nullptr);
}

TEST(VbeActiveObjects, DesignerWindowHasNoCodePane) {
    testsupport::TempDir dir;
    WriteBytes(dir / "frmAbout.frm",
               CrLf({"VERSION 5.00", "Begin VB.Form frmAbout ", "End", "Attribute VB_Name = \"frmAbout\""}));
    host::VBE vbe;
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

}  // namespace

namespace {

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
