// The procvault command line run in-process on real files in a temp folder.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <nlohmann/json.hpp>

#include "CliRun.h"
#include "dao/DBEngine.h"
#include "settings/Options.h"
#include "support/TempDir.h"

namespace {

namespace fs = std::filesystem;
using testsupport::ReadBytes;
using testsupport::WriteBytes;

const std::string kHyphens = "'------------------------------------------------------------------";
const std::string kModule = testsupport::CrLf(
    {"Attribute VB_Name = \"Module1\"", "Option Explicit", "Private mlngCount As Long", "",
     "Public Property Get Total() As Long", "    Total = 1", "End Property", "", "Sub DoIt()",
     "    x = 1 ' one", "End Sub", "", "Sub Safe()", "On Error GoTo E", "End Sub"});
const std::string kBlob("MZ\x90\0\x03\0\0\0", 8);

// '|' stands for a line break, to keep expected module text on one line.
std::string Lines(std::string text) {
    for (auto at = text.find('|'); at != std::string::npos; at = text.find('|', at + 2))
        text.replace(at, 1, "\r\n");
    return text;
}

std::string Handler(const std::string& label, const std::string& kind) {
    return "Exit_" + label + ":|\tExit " + kind + "||Err_" + label + ":|\tMsgBox Err.Description & \" \" & " +
           "Err.Number, vbCritical, \"" + label + "()\"|\tResume Exit_" + label + "||";
}

class Cli : public ::testing::Test {
protected:
    void SetUp() override {
        WriteBytes(file(), kModule);
        WriteBytes(dir / "Blob.bas", kBlob);
        WriteBytes(dir / "Demo.vbp", "Type=Exe\r\nModule=Module1; Module1.bas\r\nName=\"Demo\"\r\n");
        WriteBytes(dir / "Broken.vbp",
                   "Type=Exe\r\nModule=Module1; Module1.bas\r\nModule=Gone; Gone.bas\r\n");
    }
    fs::path file() const { return dir / "Module1.bas"; }
    // FILE, DIR and an X.vbp/X.bas name stand for paths in the temp folder.
    clitest::Run Do(std::vector<std::string> args) {
        for (auto& arg : args) {
            if (arg == "FILE")
                arg = file().string();
            else if (arg == "DIR")
                arg = dir.Path().string();
            else if (arg.find('.') != std::string::npos && arg.find('/') == std::string::npos)
                arg = (dir / arg).string();
        }
        return clitest::Procvault(std::move(args), store);
    }
    void Options(const std::vector<std::pair<const char*, const char*>>& options) {
        for (const auto& [key, value] : options) pv::WriteOption(store, key, value);
    }
    std::map<std::string, std::string> Files() {
        std::map<std::string, std::string> files;
        for (const auto& entry : fs::directory_iterator(dir.Path()))
            files[entry.path().filename().string()] = ReadBytes(entry.path());
        return files;
    }
    fs::path CopyInventory() {
        for (const auto& entry : fs::directory_iterator(testsupport::ExamplesDir() / "Inventory"))
            fs::copy_file(entry.path(), inventory / entry.path().filename().string());
        return inventory / "Inventory.vbp";
    }

    testsupport::TempDir dir, inventory;
    vbrt::MemorySettingsStore store;
};

struct EditRow {
    const char* name;
    std::vector<std::pair<const char*, const char*>> options;
    std::vector<std::string> args;
    const char* from;  // empty: the text is appended
    std::string to;
};

class Edit : public Cli, public ::testing::WithParamInterface<EditRow> {};

TEST_P(Edit, ChangesExactlyTheChosenText) {
    Options(GetParam().options);
    auto others = Files();
    const auto run = Do(GetParam().args);
    ASSERT_EQ(run.code, 0) << run.err;
    auto othersAfter = Files();
    others.erase("Module1.bas");
    othersAfter.erase("Module1.bas");
    EXPECT_EQ(othersAfter, others);
    std::string expected = kModule;
    const std::string from = Lines(GetParam().from);
    if (from.empty())
        expected += Lines(GetParam().to);
    else
        expected.replace(expected.find(from), from.size(), Lines(GetParam().to));
    EXPECT_EQ(ReadBytes(file()), expected);
}

// clang-format off: one row per change reads better than one field per line
INSTANTIATE_TEST_SUITE_P(Commands, Edit, ::testing::Values(
    EditRow{"CommentLines", {}, {"comment", "FILE", "--lines", "4-6"},
            "Public Property Get Total() As Long|    Total = 1|End Property",
            "' Public Property Get Total() As Long|'     Total = 1|' End Property"},
    EditRow{"SelectEndingAtColumnOneLeavesThatLineOut", {}, {"comment", "FILE", "--select", "4:5-6:1"},
            "Public Property Get Total() As Long|    Total",
            "' Public Property Get Total() As Long|'     Total"},
    EditRow{"PrefixFromTheSettings", {{"CommentPrefix", "'TODO "}}, {"comment", "FILE", "--lines", "1"},
            "Option Explicit", "'TODO Option Explicit"},
    EditRow{"ModuleOfAProject", {}, {"comment", "Module1", "--project", "Demo.vbp", "--lines", "1"},
            "Option Explicit", "' Option Explicit"},
    EditRow{"HandlerForAPropertyPart", {}, {"add-handlers", "FILE", "--proc", "Get Total"},
            "    Total = 1|End Property", "\tOn Error Goto Err_Get_Total|||    Total = 1|" +
                Handler("Get_Total", "Property") + "End Property"},
    EditRow{"HandlerWithStubs", {{pv::key::ShowCommentStubs, "True"}, {pv::key::ShowProcedureName, "1"}},
            {"add-handlers", "FILE", "--proc", "DoIt", "--stubs"}, "Sub DoIt()|    x = 1 ' one|End Sub",
            kHyphens + "|' Procedure: DoIt|Sub DoIt()|\tOn Error Goto Err_DoIt|||    x = 1 ' one|" +
                Handler("DoIt", "Sub") + "End Sub"},
    EditRow{"NewFunction", {}, {"new", "FILE", "Foo", "--function"}, "",
            "|Private Function Foo()|\tOn Error Goto Err_Foo||||" + Handler("Foo", "Function") +
                "End Function|"},
    EditRow{"NewSubWithHeader", {{pv::key::ShowCommentStubs, "1"}, {pv::key::ShowPurpose, "1"}},
            {"new", "FILE", "Foo"}, "",
            "|" + kHyphens + "|' Purpose: |Private Sub Foo()|\tOn Error Goto Err_Foo||||" +
                Handler("Foo", "Sub") +
                "End Sub|"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Cli, CommentThenUncommentEndingOnAnEmptyLineRestoresTheBytes) {
    ASSERT_EQ(Do({"comment", "FILE", "--lines", "4-7"}).code, 0);
    const auto run = Do({"uncomment", "FILE", "--lines", "4-7"});
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(ReadBytes(file()), kModule);
}

struct DeclarationRow {
    const char* name;
    std::vector<std::string> flags;
    const char* declaration;
};

class NewDeclaration : public Cli, public ::testing::WithParamInterface<DeclarationRow> {};

TEST_P(NewDeclaration, DeclaresAsTheDialogWould) {
    std::vector<std::string> args{"new", "FILE", "Foo"};
    args.insert(args.end(), GetParam().flags.begin(), GetParam().flags.end());
    const auto run = Do(args);
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_NE(ReadBytes(file()).find(std::string("\r\n") + GetParam().declaration + "\r\n"),
              std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Flags, NewDeclaration,
    ::testing::Values(
        DeclarationRow{"PublicFunction", {"--public", "--function"}, "Public Function Foo()"},
        DeclarationRow{"FriendStaticSub", {"--friend", "--static"}, "Friend Static Sub Foo()"},
        DeclarationRow{"PropertyGetPart", {"--property", "--public"}, "Public Property Get Foo() As Variant"},
        DeclarationRow{"PropertyLetPart", {"--property"}, "Private Property Let Foo(varArgument)"}),
    [](const auto& info) { return std::string(info.param.name); });

struct RefusalRow {
    const char* name;
    std::vector<std::string> args;
    int code;
    const char* message;  // part of what stderr says
};

class Refusal : public Cli, public ::testing::WithParamInterface<RefusalRow> {};

TEST_P(Refusal, ExplainsAndChangesNoFile) {
    const auto before = Files();
    const auto run = Do(GetParam().args);
    EXPECT_EQ(run.code, GetParam().code);
    EXPECT_NE(run.err.find(GetParam().message), std::string::npos) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(Files(), before);
}

INSTANTIATE_TEST_SUITE_P(Requests, Refusal, ::testing::Values(
    RefusalRow{"NoCommand", {}, 2, "Commands:"},
    RefusalRow{"UnknownCommand", {"frobnicate"}, 2, "unknown command"},
    RefusalRow{"UncommentWithNothingToRemove", {"uncomment", "FILE", "--lines", "6"}, 1,
               "could not find any lines in the selection"},
    RefusalRow{"NoRange", {"comment", "FILE"}, 2, "--lines"},
    RefusalRow{"BothRanges", {"comment", "FILE", "--lines", "1", "--select", "1:1-1:2"}, 2,
               "--lines excludes --select"},
    RefusalRow{"LinesPastTheEnd", {"comment", "FILE", "--lines", "3-99"}, 2, "outside the module"},
    RefusalRow{"LineZero", {"comment", "FILE", "--lines", "0-2"}, 2, "invalid line"},
    RefusalRow{"ReversedRange", {"uncomment", "FILE", "--lines", "4-2"}, 2, "before the first"},
    RefusalRow{"NotANumber", {"comment", "FILE", "--lines", "a-b"}, 2, "invalid line"},
    RefusalRow{"MissingFile", {"comment", "Nope.bas", "--lines", "1"}, 2, "Nope.bas"},
    RefusalRow{"BinaryFile", {"comment", "Blob.bas", "--lines", "1"}, 2, "not a Visual Basic source file"},
    RefusalRow{"ADirectory", {"comment", "DIR", "--lines", "1"}, 2, "folder"},
    RefusalRow{"ProjectWithAMissingModule", {"comment", "Module1", "--project", "Broken.vbp",
               "--lines", "1"}, 2,
               "Gone.bas"},
    RefusalRow{"UnknownOption", {"comment", "FILE", "--lines", "1", "--fast"}, 2, "not expected: --fast"},
    RefusalRow{"UnknownEntry", {"add-handlers", "FILE", "--proc", "DoIt", "Missing"}, 2,
               "no procedure 'Missing'"},
    RefusalRow{"BarePropertyNameIsNotAnEntry", {"add-handlers", "FILE", "--proc", "Total"}, 2,
               "no procedure 'Total'"},
    RefusalRow{"StubsWithThePreferenceOff", {"add-handlers", "FILE", "--all", "--stubs"}, 2,
               "ShowCommentStubs"},
    RefusalRow{"NeitherProcNorAll", {"add-handlers", "FILE"}, 2, "--proc ENTRY... or --all is required"},
    RefusalRow{"BothProcAndAll", {"add-handlers", "FILE", "--all", "--proc", "DoIt"}, 2, "excludes --all"},
    RefusalRow{"InvalidName", {"new", "FILE", "1Foo"}, 1, "Procvault: note: Invalid procedure name."},
    RefusalRow{"NameWithABlank", {"new", "FILE", "Foo Bar"}, 1, "Invalid procedure name."},
    RefusalRow{"VariableClash", {"new", "FILE", "mlngcount"}, 1, "A variable of this name already exists."},
    RefusalRow{"ProcedureClash", {"new", "FILE", "DOIT"}, 1, "A procedure of this name already exists."},
    RefusalRow{"TwoKinds", {"new", "FILE", "Foo", "--sub", "--function"}, 2, "--sub excludes --function"},
    RefusalRow{"NoName", {"new", "FILE"}, 2, "NAME is required"},
    RefusalRow{"NothingToScan", {"scan"}, 2, "FILE... or --project P.vbp is required"},
    RefusalRow{"ScanMissingFile", {"scan", "/no/such/Module.bas"}, 2, "error 53"},
    RefusalRow{"ScanUnknownOption", {"scan", "x.bas", "--fast"}, 2, "not expected: --fast"},
    RefusalRow{"LibraryWithoutAction", {"library"}, 2, "procvault library: A subcommand is required"},
    RefusalRow{"UnknownLibraryAction", {"library", "drop", "x"}, 2, "unknown command 'drop'"},
    RefusalRow{"LibraryNeverOverwritesAFile", {"library", "init", "Blob.bas"}, 2, "Database already exists"}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST_F(Cli, AReadOnlyFileIsRefusedAndUntouched) {
    // Root could write anyway; the host must still honour the missing write permission.
    fs::permissions(file(), fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    const auto run = Do({"comment", "FILE", "--lines", "1-2"});
    EXPECT_EQ(run.code, 2);
    EXPECT_NE(run.err.find("Module1.bas"), std::string::npos) << run.err;
    EXPECT_EQ(ReadBytes(file()), kModule);
    EXPECT_EQ(fs::status(file()).permissions() & fs::perms::owner_write, fs::perms::none);
}

TEST_F(Cli, HelpOfEveryCommand) {
    const std::vector<std::pair<std::vector<std::string>, const char*>> rows = {
        {{"--help"}, "Commands:"},
        {{"help"}, "Commands:"},
        {{"comment", "--help"}, "Usage: procvault comment [OPTIONS] FILE"},
        {{"uncomment", "--help"}, "Usage: procvault uncomment"},
        {{"add-handlers", "--help"}, "procvault add-handlers --project P.vbp --all"},
        {{"scan", "--help"}, "Usage: procvault scan [OPTIONS] [FILE...]"},
        {{"library", "--help"}, "Usage: procvault library [OPTIONS] COMMAND"},
        {{"library", "init", "--help"}, "Usage: procvault library init [OPTIONS] PATH"},
        {{"library", "list", "--help"}, "Usage: procvault library list"},
        {{"library", "show", "--help"}, "Usage: procvault library show"},
        {{"library", "store", "--help"}, "Usage: procvault library store"},
        {{"library", "insert", "--help"}, "Usage: procvault library insert"},
        {{"library", "remove", "--help"}, "Usage: procvault library remove"},
        {{"library", "move", "--help"}, "Usage: procvault library move"},
        {{"library", "categories", "--help"}, "Usage: procvault library categories"},
        {{"options", "show", "--help"}, "Usage: procvault options show"},
        {{"options", "set", "--help"}, "Usage: procvault options set"}};
    for (const auto& [args, text] : rows) {
        const auto run = Do(args);
        EXPECT_EQ(run.code, 0) << args[0];
        EXPECT_NE(run.out.find(text), std::string::npos) << run.out;
    }
}

TEST_F(Cli, ScanListsTheExistingProceduresTabAsTextOrJson) {
    auto run = Do({"scan", "FILE"});
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out, "Module1.bas:\n  DoIt (line 8)\n  Get Total (line 4)\n");
    run = Do({"scan", "FILE", "--json"});
    EXPECT_EQ(nlohmann::ordered_json::parse(run.out),
              nlohmann::ordered_json::parse(R"([{"module": "Module1", "file": )" +
                                            nlohmann::json(file().string()).dump() +
                                            R"(, "entries": [{"name": "DoIt", "line": 8},
                                                             {"name": "Get Total", "line": 4}]}])"));
    EXPECT_EQ(ReadBytes(file()), kModule);
}

TEST_F(Cli, ScanJsonCarriesWindows1252NamesAsUtf8) {
    WriteBytes(dir / "Umlaut.bas",
               testsupport::CrLf({"Attribute VB_Name = \"M\xF6" "dul\"", "Sub Gr\xF6\xDF" "e()", "End Sub"}));
    const auto run = Do({"scan", "Umlaut.bas", "--json"});
    ASSERT_EQ(run.code, 0) << run.err;
    const auto listing = nlohmann::json::parse(run.out);
    EXPECT_EQ(listing.at(0).at("module"), "M\u00f6dul");
    EXPECT_EQ(listing.at(0).at("entries").at(0).at("name"), "Gr\u00f6\u00dfe");
}

TEST_F(Cli, AddHandlersToAllThenScanListsNothing) {
    const auto run = Do({"add-handlers", "FILE", "--all"});
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_NE(run.err.find("added error handling to 2 procedures"), std::string::npos) << run.err;
    EXPECT_EQ(Do({"scan", "FILE"}).out, "Module1.bas:\n");
}

TEST_F(Cli, ProjectScanThenBatchLeavesNothingToList) {
    const std::string vbp = CopyInventory().string();
    const auto before = ReadBytes(inventory / "Module1.bas");
    auto run = Do({"scan", "--project", vbp});
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_NE(run.out.find("Module1.bas:\n  AddItem (line 20)\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("clsItem.cls:\n  Get Code (line 10)\n"), std::string::npos) << run.out;
    EXPECT_EQ(run.out.find("\n  QuantityChanged ("), std::string::npos);  // an event has no body
    EXPECT_EQ(ReadBytes(inventory / "Module1.bas"), before);
    run = Do({"add-handlers", "--project", vbp, "--all"});
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_NE(run.err.find("added error handling to 16 procedures"), std::string::npos) << run.err;
    EXPECT_EQ(Do({"scan", "--project", vbp}).out,
              "frmMain.frm:\nModule1.bas:\nmodStock.bas:\nclsItem.cls:\n");
}

TEST_F(Cli, LibraryInitCreatesALibraryTheEngineOpens) {
    const std::string path = (dir / "Procvault.mdb").string();
    ASSERT_EQ(Do({"library", "init", path}).code, 0);
    std::vector<std::string> tables;
    for (const auto& table : dao::DBEngine().OpenDatabase(path)->TableDefs()) tables.push_back(table.Name());
    for (const char* name : {"Category", "ProcedureHeader", "ProcedureLine"})
        EXPECT_NE(std::find(tables.begin(), tables.end(), name), tables.end()) << name;
}

}  // namespace
