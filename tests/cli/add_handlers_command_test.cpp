#include <gtest/gtest.h>

#include <filesystem>

#include "CliRun.h"
#include "settings/Options.h"
#include "support/TempDir.h"

namespace {

namespace fs = std::filesystem;
using clitest::Procvault;
using testsupport::CrLf;
using testsupport::ReadBytes;
using testsupport::TempDir;
using testsupport::WriteBytes;

const std::string kHeader = "Attribute VB_Name = \"Module1\"\r\n";
const std::string kModule =
    kHeader + CrLf({"Option Explicit", "", "Public Property Get Total() As Long", "    Total = 1",
                    "End Property", "", "Sub DoIt()", "    x = 1", "End Sub"});

std::string Message(const std::string& label) {
    return "\tMsgBox Err.Description & \" \" & Err.Number, vbCritical, \"" + label + "()\"";
}

class AddHandlersCommand : public ::testing::Test {
protected:
    void SetUp() override { WriteBytes(file(), kModule); }
    fs::path file() const { return dir / "Module1.bas"; }
    clitest::Run Do(std::vector<std::string> args) {
        args.insert(args.begin(), "add-handlers");
        return Procvault(std::move(args), store);
    }
    TempDir dir;
    vbrt::MemorySettingsStore store;
};

TEST_F(AddHandlersCommand, ChosenEntryGetsItsBlockAndTheOtherStaysAsItWas) {
    const auto run = Do({file().string(), "--proc", "Get Total"});
    EXPECT_EQ(run.code, 0) << run.err;
    const std::string expected =
        kHeader +
        CrLf({"Option Explicit", "", "Public Property Get Total() As Long", "\tOn Error Goto Err_Get_Total",
              "", "", "    Total = 1", "Exit_Get_Total:", "\tExit Property", "",
              "Err_Get_Total:", Message("Get_Total"), "\tResume Exit_Get_Total", "", "End Property", "",
              "Sub DoIt()", "    x = 1", "End Sub"});
    EXPECT_EQ(ReadBytes(file()), expected);
}

TEST_F(AddHandlersCommand, AllThenScanListsNothing) {
    const auto run = Do({file().string(), "--all"});
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_NE(run.err.find("added error handling to 2 procedures"), std::string::npos) << run.err;
    const auto scan = Procvault({"scan", file().string()}, store);
    EXPECT_EQ(scan.out, "Module1.bas:\n");
}

TEST_F(AddHandlersCommand, StubsWriteTheHeaderWhenThePreferenceIsOn) {
    pv::WriteOption(store, pv::key::ShowCommentStubs, "True");
    pv::WriteOption(store, pv::key::ShowProcedureName, "1");
    const auto run = Do({file().string(), "--proc", "DoIt", "--stubs"});
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_NE(ReadBytes(file()).find("' Procedure: DoIt\r\nSub DoIt()\r\n\tOn Error Goto Err_DoIt\r\n"),
              std::string::npos);
}

struct RefusalRow {
    const char* name;
    std::vector<std::string> args;  // after FILE
    int code;
    const char* message;
};

class AddHandlersRefusal : public AddHandlersCommand, public ::testing::WithParamInterface<RefusalRow> {};

TEST_P(AddHandlersRefusal, LeavesTheFileUntouched) {
    std::vector<std::string> args{file().string()};
    args.insert(args.end(), GetParam().args.begin(), GetParam().args.end());
    const auto run = Do(args);
    EXPECT_EQ(run.code, GetParam().code);
    EXPECT_NE(run.err.find(GetParam().message), std::string::npos) << run.err;
    EXPECT_EQ(ReadBytes(file()), kModule);
}

INSTANTIATE_TEST_SUITE_P(
    Requests, AddHandlersRefusal,
    ::testing::Values(RefusalRow{"UnknownEntry", {"--proc", "DoIt", "Missing"}, 2, "no procedure 'Missing'"},
                      RefusalRow{
                          "BarePropertyNameIsNotAnEntry", {"--proc", "Total"}, 2, "no procedure 'Total'"},
                      RefusalRow{"StubsWithThePreferenceOff", {"--all", "--stubs"}, 2, "ShowCommentStubs"},
                      RefusalRow{"NeitherProcNorAll", {}, 2, "either --proc ENTRY... or --all"},
                      RefusalRow{"BothProcAndAll", {"--all", "--proc", "DoIt"}, 2, "either --proc"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(AddHandlersCommand, ProjectBatchLeavesNothingToList) {
    TempDir project;
    for (const auto& entry : fs::directory_iterator(testsupport::ExamplesDir() / "Inventory"))
        fs::copy_file(entry.path(), project / entry.path().filename().string());
    const std::string vbp = (project / "Inventory.vbp").string();
    const auto run = Do({"--project", vbp, "--all"});
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_NE(run.err.find("added error handling to 16 procedures"), std::string::npos) << run.err;
    const auto scan = Procvault({"scan", "--project", vbp}, store);
    EXPECT_EQ(scan.out, "frmMain.frm:\nModule1.bas:\nmodStock.bas:\nclsItem.cls:\n");
}

TEST_F(AddHandlersCommand, HelpNamesBothForms) {
    const auto run = Do({"--help"});
    EXPECT_EQ(run.code, 0);
    EXPECT_NE(run.out.find("procvault add-handlers --project P.vbp --all"), std::string::npos);
}

}  // namespace
