#include <gtest/gtest.h>

#include "CliRun.h"
#include "settings/Options.h"
#include "support/TempDir.h"

namespace {

using clitest::Procvault;
using testsupport::CrLf;
using testsupport::ReadBytes;
using testsupport::TempDir;
using testsupport::WriteBytes;

const std::string kModule = CrLf({"Attribute VB_Name = \"Module1\"", "Option Explicit",
                                  "Private mlngCount As Long", "", "Sub Existing()", "End Sub"});

class NewCommand : public ::testing::Test {
protected:
    void SetUp() override { WriteBytes(file(), kModule); }
    std::filesystem::path file() const { return dir / "Module1.bas"; }
    clitest::Run Do(std::vector<std::string> args) {
        args.insert(args.begin(), {"new", file().string()});
        return Procvault(std::move(args), store);
    }
    TempDir dir;
    vbrt::MemorySettingsStore store;
};

TEST_F(NewCommand, AppendsTheWorkedExample) {
    const auto run = Do({"Foo", "--function"});
    EXPECT_EQ(run.code, 0) << run.err;
    const std::string expected =
        kModule + CrLf({"", "Private Function Foo()", "\tOn Error Goto Err_Foo", "", "", "",
                        "Exit_Foo:", "\tExit Function", "",
                        "Err_Foo:", "\tMsgBox Err.Description & \" \" & Err.Number, vbCritical, \"Foo()\"",
                        "\tResume Exit_Foo", "", "End Function"});
    EXPECT_EQ(ReadBytes(file()), expected);
}

struct DeclarationRow {
    const char* name;
    std::vector<std::string> flags;
    const char* declaration;
};

class NewCommandChoices : public NewCommand, public ::testing::WithParamInterface<DeclarationRow> {};

TEST_P(NewCommandChoices, DeclareAsTheDialogWould) {
    std::vector<std::string> args{"Foo"};
    args.insert(args.end(), GetParam().flags.begin(), GetParam().flags.end());
    const auto run = Do(args);
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_NE(ReadBytes(file()).find(std::string("\r\n") + GetParam().declaration + "\r\n"),
              std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Flags, NewCommandChoices,
    ::testing::Values(
        DeclarationRow{"Defaults", {}, "Private Sub Foo()"},
        DeclarationRow{"PublicFunction", {"--public", "--function"}, "Public Function Foo()"},
        DeclarationRow{"FriendStaticSub", {"--friend", "--static"}, "Friend Static Sub Foo()"},
        DeclarationRow{"PropertyGetPart", {"--property", "--public"}, "Public Property Get Foo() As Variant"},
        DeclarationRow{"PropertyLetPart", {"--property"}, "Private Property Let Foo(varArgument)"}),
    [](const auto& info) { return std::string(info.param.name); });

struct RefusalRow {
    const char* name;
    std::vector<std::string> args;
    int code;
    const char* message;
};

class NewCommandRefusal : public NewCommand, public ::testing::WithParamInterface<RefusalRow> {};

TEST_P(NewCommandRefusal, ShowsWhyAndLeavesTheFile) {
    const auto run = Do(GetParam().args);
    EXPECT_EQ(run.code, GetParam().code);
    EXPECT_NE(run.err.find(GetParam().message), std::string::npos) << run.err;
    EXPECT_EQ(ReadBytes(file()), kModule);
}

INSTANTIATE_TEST_SUITE_P(
    Requests, NewCommandRefusal,
    ::testing::Values(
        RefusalRow{"InvalidName", {"1Foo"}, 1, "Procvault: note: Invalid procedure name."},
        RefusalRow{"NameWithABlank", {"Foo Bar"}, 1, "Invalid procedure name."},
        RefusalRow{"VariableClash", {"mlngcount"}, 1, "A variable of this name already exists."},
        RefusalRow{"ProcedureClash", {"EXISTING"}, 1, "A procedure of this name already exists."},
        RefusalRow{"TwoKinds", {"Foo", "--sub", "--function"}, 2, "give only one of"},
        RefusalRow{"NoName", {}, 2, "expected FILE and NAME"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(NewCommand, HeaderFollowsThePreferences) {
    pv::WriteOption(store, pv::key::ShowCommentStubs, "1");
    pv::WriteOption(store, pv::key::ShowPurpose, "1");
    const auto run = Do({"Foo"});
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_NE(ReadBytes(file()).find(
                  "End Sub\r\n\r\n'------------------------------------------------------------------\r\n' "
                  "Purpose: \r\n"
                  "Private Sub Foo()\r\n"),
              std::string::npos);
}

}  // namespace
