#include <sys/stat.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "cli/Cli.h"
#include "cli/CliRun.h"
#include "settings/Options.h"
#include "support/TempDir.h"

namespace {

namespace fs = std::filesystem;
using testsupport::ReadBytes;
using testsupport::TempDir;
using testsupport::WriteBytes;

using clitest::Procvault;
using Outcome = clitest::Run;

const std::string kModule =
    "Attribute VB_Name = \"Module1\"\r\n"
    "Option Explicit\r\n"
    "\r\n"
    "Public Sub Main()\r\n"
    "    Dim x As Long\r\n"
    "    x = 1 ' one\r\n"
    "End Sub\r\n";

class CommentCommand : public ::testing::Test {
protected:
    void SetUp() override { WriteBytes(file(), kModule); }
    fs::path file() const { return dir / "Module1.bas"; }
    Outcome Do(std::vector<std::string> args) { return Procvault(std::move(args), store); }

    TempDir dir;
    vbrt::MemorySettingsStore store;
};

TEST_F(CommentCommand, CommentThenUncommentRestoresTheFileByteForByte) {
    Outcome comment = Do({"comment", file().string(), "--lines", "3-6"});
    ASSERT_EQ(comment.code, 0) << comment.err;
    EXPECT_EQ(ReadBytes(file()),
              "Attribute VB_Name = \"Module1\"\r\nOption Explicit\r\n\r\n' Public Sub Main()\r\n"
              "'     Dim x As Long\r\n'     x = 1 ' one\r\n' End Sub\r\n");
    Outcome uncomment = Do({"uncomment", file().string(), "--lines", "3-6"});
    ASSERT_EQ(uncomment.code, 0) << uncomment.err;
    EXPECT_EQ(ReadBytes(file()), kModule);
}

TEST_F(CommentCommand, SelectUsesTheEndColumnRule) {
    Outcome run = Do({"comment", file().string(), "--select", "3:5-5:1"});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(ReadBytes(file()),
              "Attribute VB_Name = \"Module1\"\r\nOption Explicit\r\n\r\n' Public Sub Main()\r\n"
              "'     Dim x As Long\r\n    x = 1 ' one\r\nEnd Sub\r\n");
}

TEST_F(CommentCommand, AnEmptyLastLineOfTheRangeStillCounts) {
    WriteBytes(file(), "Attribute VB_Name = \"Module1\"\r\n' a\r\n\r\n");
    Outcome run = Do({"uncomment", file().string(), "--lines", "1-2"});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(ReadBytes(file()), "Attribute VB_Name = \"Module1\"\r\na\r\n\r\n");
}

TEST_F(CommentCommand, UncommentWithNothingToRemoveFailsAndLeavesTheFile) {
    Outcome run = Do({"uncomment", file().string(), "--lines", "5"});
    EXPECT_EQ(run.code, pvcli::kExitNotDone);
    EXPECT_NE(run.err.find("could not find any lines in the selection"), std::string::npos) << run.err;
    EXPECT_EQ(ReadBytes(file()), kModule);
}

TEST_F(CommentCommand, UsesThePrefixFromTheSettings) {
    pv::WriteOption(store, "CommentPrefix", "'TODO ");
    ASSERT_EQ(Do({"comment", file().string(), "--lines", "1"}).code, 0);
    EXPECT_NE(ReadBytes(file()).find("\r\n'TODO Option Explicit\r\n"), std::string::npos);
}

TEST_F(CommentCommand, WorksOnAModuleOfAProject) {
    WriteBytes(dir / "Demo.vbp", "Type=Exe\r\nModule=Module1; Module1.bas\r\nName=\"Demo\"\r\n");
    Outcome run = Do({"comment", "Module1", "--project", (dir / "Demo.vbp").string(), "--lines", "1"});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_NE(ReadBytes(file()).find("' Option Explicit"), std::string::npos);
    EXPECT_EQ(ReadBytes(dir / "Demo.vbp"), "Type=Exe\r\nModule=Module1; Module1.bas\r\nName=\"Demo\"\r\n");
}

struct BadInputRow {
    const char* name;
    std::vector<std::string> args;  // "FILE" stands for the module's path, "DIR" for the folder
    const char* message;            // part of what stderr must say
};

class CommentBadInput : public CommentCommand, public ::testing::WithParamInterface<BadInputRow> {};

TEST_P(CommentBadInput, ExplainsAndLeavesTheFileUntouched) {
    std::vector<std::string> args;
    for (const auto& arg : GetParam().args) {
        if (arg == "FILE") args.push_back(file().string());
        else if (arg == "DIR") args.push_back(dir.Path().string());
        else if (arg == "MISSING") args.push_back((dir / "Nope.bas").string());
        else args.push_back(arg);
    }
    Outcome run = Do(args);
    EXPECT_NE(run.code, 0);
    EXPECT_NE(run.err.find(GetParam().message), std::string::npos) << run.err;
    EXPECT_EQ(ReadBytes(file()), kModule);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, CommentBadInput,
    ::testing::Values(
        BadInputRow{"NoRange", {"comment", "FILE"}, "--lines"},
        BadInputRow{"BothRanges", {"comment", "FILE", "--lines", "1", "--select", "1:1-1:2"}, "either"},
        BadInputRow{"LinesPastTheEnd", {"comment", "FILE", "--lines", "3-9"}, "outside the module"},
        BadInputRow{"LineZero", {"comment", "FILE", "--lines", "0-2"}, "invalid line"},
        BadInputRow{"ReversedRange", {"uncomment", "FILE", "--lines", "4-2"}, "before the first"},
        BadInputRow{"NotANumber", {"comment", "FILE", "--lines", "a-b"}, "invalid line"},
        BadInputRow{"MissingFile", {"comment", "MISSING", "--lines", "1"}, "Nope.bas"},
        BadInputRow{"ADirectory", {"comment", "DIR", "--lines", "1"}, "folder"},
        BadInputRow{"UnknownOption", {"comment", "FILE", "--lines", "1", "--fast"}, "unknown option --fast"},
        BadInputRow{"UnknownCommand", {"frobnicate"}, "unknown command"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CommentCommand, ABinaryFileIsRefused) {
    WriteBytes(dir / "Blob.bas", std::string("MZ\x90\0\x03\0\0\0", 8));
    Outcome run = Do({"comment", (dir / "Blob.bas").string(), "--lines", "1"});
    EXPECT_EQ(run.code, pvcli::kExitBadInput);
    EXPECT_NE(run.err.find("not a Visual Basic source file"), std::string::npos) << run.err;
    EXPECT_EQ(ReadBytes(dir / "Blob.bas"), std::string("MZ\x90\0\x03\0\0\0", 8));
}

TEST_F(CommentCommand, AProjectNamingAMissingModuleIsRefused) {
    WriteBytes(dir / "Demo.vbp", "Type=Exe\r\nModule=Module1; Module1.bas\r\nModule=Gone; Gone.bas\r\n");
    Outcome run = Do({"comment", "Module1", "--project", (dir / "Demo.vbp").string(), "--lines", "1"});
    EXPECT_EQ(run.code, pvcli::kExitBadInput);
    EXPECT_NE(run.err.find("Gone.bas"), std::string::npos) << run.err;
    EXPECT_EQ(ReadBytes(file()), kModule);
}

TEST_F(CommentCommand, AReadOnlyFileIsRefusedAndUntouched) {
    // Root could write anyway; the host must still honour the missing write permission.
    fs::permissions(file(), fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    Outcome run = Do({"comment", file().string(), "--lines", "1-2"});
    EXPECT_NE(run.code, 0);
    EXPECT_NE(run.err.find("Module1.bas"), std::string::npos) << run.err;
    EXPECT_EQ(ReadBytes(file()), kModule);
    EXPECT_EQ(fs::status(file()).permissions() & fs::perms::owner_write, fs::perms::none);
}

TEST(CommandLineHelp, EveryCommandHasHelp) {
    vbrt::MemorySettingsStore store;
    for (const char* command : {"comment", "uncomment"}) {
        Outcome run = Procvault({command, "--help"}, store);
        EXPECT_EQ(run.code, 0) << command;
        EXPECT_NE(run.out.find(std::string("usage: procvault ") + command), std::string::npos) << run.out;
    }
    Outcome top = Procvault({"--help"}, store);
    EXPECT_EQ(top.code, 0);
    EXPECT_NE(top.out.find("commands:"), std::string::npos);
    EXPECT_EQ(Procvault({}, store).code, pvcli::kExitBadInput);
}

}  // namespace
