#include <gtest/gtest.h>

#include <filesystem>

#include "CliRun.h"
#include "settings/Options.h"
#include "support/TempDir.h"

namespace {

namespace fs = std::filesystem;
using clitest::Procvault;
using testsupport::ReadBytes;
using testsupport::TempDir;
using testsupport::WriteBytes;

const std::string kModule = testsupport::CrLf(
    {"Attribute VB_Name = \"Module1\"", "Option Explicit", "", "Public Property Get Total() As Long",
     "End Property", "", "Sub DoIt()", "End Sub", "", "Sub Safe()", "On Error GoTo E", "End Sub"});

class ScanCommand : public ::testing::Test {
protected:
    void SetUp() override {
        WriteBytes(dir / "Module1.bas", kModule);
        for (const auto& entry : fs::directory_iterator(testsupport::ExamplesDir() / "Inventory"))
            fs::copy_file(entry.path(), inventory / entry.path().filename().string());
    }
    TempDir dir;
    TempDir inventoryDir;
    fs::path inventory = inventoryDir.Path();
    vbrt::MemorySettingsStore store;
};

TEST_F(ScanCommand, ListsTheEntriesOfTheExistingProceduresTab) {
    const auto run = Procvault({"scan", (dir / "Module1.bas").string()}, store);
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out, "Module1.bas:\n  DoIt (line 6)\n  Get Total (line 3)\n");
    EXPECT_EQ(ReadBytes(dir / "Module1.bas"), kModule);
}

TEST_F(ScanCommand, JsonNamesModuleFileAndEntries) {
    const std::string file = (dir / "Module1.bas").string();
    const auto run = Procvault({"scan", file, "--json"}, store);
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out,
              "[\n  {\"module\": \"Module1\", \"file\": \"" + file +
                  "\", \"entries\": [{\"name\": \"DoIt\", \"line\": 6}, {\"name\": \"Get Total\", \"line\": "
                  "3}]}\n]\n");
}

TEST_F(ScanCommand, ProjectListsEveryModuleAndChangesNothing) {
    const auto before = ReadBytes(inventory / "Module1.bas");
    const auto run = Procvault({"scan", "--project", (inventory / "Inventory.vbp").string()}, store);
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_NE(run.out.find("Module1.bas:\n  AddItem (line 20)\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("clsItem.cls:\n  Get Code (line 10)\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("frmMain.frm:\n"), std::string::npos);
    EXPECT_NE(run.out.find("modStock.bas:\n"), std::string::npos);
    EXPECT_EQ(run.out.find("\n  QuantityChanged ("), std::string::npos);  // an event has no body
    EXPECT_EQ(ReadBytes(inventory / "Module1.bas"), before);
}

struct BadRow {
    const char* name;
    std::vector<std::string> args;
    const char* message;
};

class ScanCommandBadInput : public ScanCommand, public ::testing::WithParamInterface<BadRow> {};

TEST_P(ScanCommandBadInput, ExitsWithTwoAndSaysWhy) {
    const auto run = Procvault(GetParam().args, store);
    EXPECT_EQ(run.code, 2);
    EXPECT_NE(run.err.find(GetParam().message), std::string::npos) << run.err;
    EXPECT_TRUE(run.out.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Args, ScanCommandBadInput,
    ::testing::Values(BadRow{"NothingToScan", {"scan"}, "expected FILE... or --project"},
                      BadRow{"MissingFile", {"scan", "/no/such/Module.bas"}, "error 53"},
                      BadRow{"UnknownOption", {"scan", "x.bas", "--fast"}, "unknown option"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ScanCommand, HelpDescribesTheOutput) {
    const auto run = Procvault({"scan", "--help"}, store);
    EXPECT_EQ(run.code, 0);
    EXPECT_NE(run.out.find("usage: procvault scan FILE..."), std::string::npos);
}

}  // namespace
