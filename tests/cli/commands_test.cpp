// The procvault command line run in-process on real files in a temp folder.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "CliRun.h"

namespace {

using clitest::ReadBytes;
using clitest::WriteBytes;
namespace fs = std::filesystem;

const std::string kHyphens = "'------------------------------------------------------------------";
const std::string kModule = testsupport::CrLf(
    {"Attribute VB_Name = \"Module1\"", "Option Explicit", "Private mlngCount As Long", "",
     "Public Property Get Total() As Long", "    Total = 1", "End Property", "", "Sub DoIt()",
     "    x = 1 ' one", "End Sub", "", "Sub Safe()", "On Error GoTo E", "End Sub"});

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

// A new procedure as appended to the module: a blank line, then the declaration and its handler.
std::string Added(const std::string& declaration, const std::string& label, const std::string& kind) {
    return "|" + declaration + "|\tOn Error Goto Err_" + label + "||||" + Handler(label, kind) + "End " +
           kind + "|";
}

struct Folder : clitest::Folder {
    Folder() {
        WriteBytes(file(), kModule);
        WriteBytes(Dir() / "Blob.bas", std::string("MZ\x90\0\x03\0\0\0", 8));
        WriteBytes(Dir() / "Demo.vbp", "Type=Exe\r\nModule=Module1; Module1.bas\r\nName=\"Demo\"\r\n");
        WriteBytes(Dir() / "Broken.vbp",
                   "Type=Exe\r\nModule=Module1; Module1.bas\r\nModule=Gone; Gone.bas\r\n");
    }
};
class Commands : public testing::Test, public Folder {};

TEST(Edit, ChangesExactlyTheChosenText) {
    struct Row {
        std::vector<std::pair<const char*, const char*>> options;
        std::vector<std::string> args;
        const char* from;  // empty: the text is appended
        std::string to;
    };
    // One row per change reads better than one field per line.
    // clang-format off
    const Row rows[] = {
        {{}, {"comment", "{FILE}", "--lines", "4-6"}, "Public Property Get Total() As Long|    Total = 1|End Property",
         "' Public Property Get Total() As Long|'     Total = 1|' End Property"},
        // A selection ending at column 1 leaves that line out.
        {{}, {"comment", "{FILE}", "--select", "4:5-6:1"}, "Public Property Get Total() As Long|    Total",
         "' Public Property Get Total() As Long|'     Total"},
        {{{"CommentPrefix", "'TODO "}}, {"comment", "{FILE}", "--lines", "1"}, "Option Explicit", "'TODO Option Explicit"},
        {{}, {"comment", "Module1", "--project", "Demo.vbp", "--lines", "1"}, "Option Explicit", "' Option Explicit"},
        {{}, {"add-handlers", "{FILE}", "--proc", "Get Total"}, "    Total = 1|End Property",
         "\tOn Error Goto Err_Get_Total|||    Total = 1|" + Handler("Get_Total", "Property") + "End Property"},
        {{{pv::key::ShowCommentStubs, "True"}, {pv::key::ShowProcedureName, "1"}}, {"add-handlers", "{FILE}", "--proc",
         "DoIt", "--stubs"}, "Sub DoIt()|    x = 1 ' one|End Sub", kHyphens + "|' Procedure: DoIt|Sub DoIt()|\tOn Error "
         "Goto Err_DoIt|||    x = 1 ' one|" + Handler("DoIt", "Sub") + "End Sub"},
        {{}, {"new", "{FILE}", "Foo", "--function", "--public"}, "", Added("Public Function Foo()", "Foo", "Function")},
        {{}, {"new", "{FILE}", "Foo", "--friend", "--static"}, "", Added("Friend Static Sub Foo()", "Foo", "Sub")},
        {{}, {"new", "{FILE}", "Foo", "--property"}, "", Added("Private Property Get Foo() As Variant", "Get_Foo",
         "Property") + Added("Private Property Let Foo(varArgument)", "Let_Foo", "Property")},
        {{{pv::key::ShowCommentStubs, "1"}, {pv::key::ShowPurpose, "1"}}, {"new", "{FILE}", "Foo"}, "",
         "|" + kHyphens + "|' Purpose: " + Added("Private Sub Foo()", "Foo", "Sub")}};
    // clang-format on
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::PrintToString(row.args));
        Folder f;
        for (const auto& [key, value] : row.options) pv::WriteOption(f.store, key, value);
        auto files = f.Files();
        const auto run = f.Do(row.args);
        EXPECT_EQ(run.code, 0) << run.err;
        const std::string from = Lines(row.from);
        std::string& text = files["Module1.bas"];
        from.empty() ? text += Lines(row.to) : text.replace(text.find(from), from.size(), Lines(row.to));
        EXPECT_EQ(f.Files(), files);  // no other file touched
    }
}

TEST_F(Commands, RefusalsAndHelpExplainAndChangeNoFile) {
    struct Row {
        std::vector<std::string> args;
        int code;
        const char* text;  // part of stdout when the code is 0, else of stderr; the other stream stays empty
    };
    // clang-format off
    const Row rows[] = {
        {{}, 2, "Commands:"}, {{"frobnicate"}, 2, "unknown command"}, {{"comment", "{FILE}"}, 2, "--lines"},
        {{"uncomment", "{FILE}", "--lines", "6"}, 1, "could not find any lines in the selection"},
        {{"comment", "{FILE}", "--lines", "1", "--select", "1:1-1:2"}, 2, "--lines excludes --select"},
        {{"comment", "{FILE}", "--lines", "3-99"}, 2, "outside the module"},
        {{"comment", "{FILE}", "--lines", "0-2"}, 2, "invalid line"}, {{"comment", "{FILE}", "--lines", "a-b"}, 2, "invalid line"},
        {{"uncomment", "{FILE}", "--lines", "4-2"}, 2, "before the first"},
        {{"comment", "Nope.bas", "--lines", "1"}, 2, "Nope.bas"}, {{"comment", "{DIR}", "--lines", "1"}, 2, "folder"},
        {{"comment", "Blob.bas", "--lines", "1"}, 2, "not a Visual Basic source file"},
        {{"comment", "Module1", "--project", "Broken.vbp", "--lines", "1"}, 2, "Gone.bas"},
        {{"comment", "{FILE}", "--lines", "1", "--fast"}, 2, "not expected: --fast"},
        {{"add-handlers", "{FILE}", "--proc", "DoIt", "Missing"}, 2, "no procedure 'Missing'"},
        {{"add-handlers", "{FILE}", "--proc", "Total"}, 2, "no procedure 'Total'"},  // a property needs its part
        {{"add-handlers", "{FILE}", "--all", "--stubs"}, 2, "ShowCommentStubs"},
        {{"add-handlers", "{FILE}"}, 2, "--proc ENTRY... or --all is required"},
        {{"add-handlers", "{FILE}", "--all", "--proc", "DoIt"}, 2, "excludes --all"},
        {{"new", "{FILE}", "1Foo"}, 1, "Procvault: note: Invalid procedure name."},
        {{"new", "{FILE}", "Foo Bar"}, 1, "Invalid procedure name."}, {{"new", "{FILE}"}, 2, "NAME is required"},
        {{"new", "{FILE}", "mlngcount"}, 1, "A variable of this name already exists."},
        {{"new", "{FILE}", "DOIT"}, 1, "A procedure of this name already exists."},
        {{"new", "{FILE}", "Foo", "--sub", "--function"}, 2, "--sub excludes --function"},
        {{"scan"}, 2, "FILE... or --project P.vbp is required"}, {{"scan", "/no/such/Module.bas"}, 2, "error 53"},
        {{"library"}, 2, "procvault library: A subcommand is required"},
        {{"library", "drop", "x"}, 2, "unknown command 'drop'"},
        {{"library", "init", "Blob.bas"}, 2, "Database already exists"},
        {{"--help"}, 0, "Commands:"}, {{"help"}, 0, "Commands:"},
        {{"comment", "--help"}, 0, "Usage: procvault comment [OPTIONS] FILE"},
        {{"add-handlers", "--help"}, 0, "procvault add-handlers --project P.vbp --all"},
        {{"scan", "--help"}, 0, "Usage: procvault scan [OPTIONS] [FILE...]"},
        {{"library", "--help"}, 0, "Usage: procvault library [OPTIONS] COMMAND"},
        {{"library", "init", "--help"}, 0, "Usage: procvault library init [OPTIONS] PATH"},
        {{"options", "set", "--help"}, 0, "Usage: procvault options set"}};
    // clang-format on
    const auto before = Files();
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::PrintToString(row.args));
        const auto run = Do(row.args);
        EXPECT_EQ(run.code, row.code);
        EXPECT_NE((row.code ? run.err : run.out).find(row.text), std::string::npos) << run.err << run.out;
        EXPECT_EQ(row.code ? run.out : run.err, "");
        EXPECT_EQ(Files(), before);
    }
}

TEST_F(Commands, AReadOnlyFileIsRefusedAndUntouched) {
    // Root could write anyway; the host must still honour the missing write permission.
    fs::permissions(file(), fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    const auto run = Do({"comment", "{FILE}", "--lines", "1-2"});
    EXPECT_EQ(run.code, 2);
    EXPECT_NE(run.err.find("Module1.bas"), std::string::npos) << run.err;
    EXPECT_EQ(ReadBytes(file()), kModule);
    EXPECT_EQ(fs::status(file()).permissions() & fs::perms::owner_write, fs::perms::none);
}

TEST_F(Commands, ScanListsTheProceduresWithoutHandlersAsTextOrJsonWithWindows1252NamesAsUtf8) {
    WriteBytes(Dir() / "Umlaut.bas",
               testsupport::CrLf({"Attribute VB_Name = \"M\366dul\"", "Sub Gr\366\337e()", "End Sub"}));
    EXPECT_EQ(Do({"scan", "{FILE}"}).out, "Module1.bas:\n  DoIt (line 8)\n  Get Total (line 4)\n");
    EXPECT_EQ(nlohmann::ordered_json::parse(Do({"scan", "{FILE}", "Umlaut.bas", "--json"}).out),
              nlohmann::ordered_json::parse(Expand(R"([{"module": "Module1", "file": "{FILE}", "entries":
        [{"name": "DoIt", "line": 8}, {"name": "Get Total", "line": 4}]}, {"module": "M\u00f6dul", "file":
        "{DIR}/Umlaut.bas", "entries": [{"name": "Gr\u00f6\u00dfe", "line": 1}]}])")));
    EXPECT_EQ(ReadBytes(file()), kModule);
}

TEST_F(Commands, ProjectScanThenBatchLeavesNothingToList) {
    testsupport::TempDir inventory;
    fs::copy(testsupport::ExamplesDir() / "Inventory", inventory.Path());
    const std::string vbp = (inventory / "Inventory.vbp").string(),
                      before = ReadBytes(inventory / "Module1.bas");
    auto run = Do({"scan", "--project", vbp});
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_NE(run.out.find("Module1.bas:\n  AddItem (line 20)\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("clsItem.cls:\n  Get Code (line 10)\n"), std::string::npos) << run.out;
    EXPECT_EQ(run.out.find("\n  QuantityChanged ("), std::string::npos);  // an event has no body
    EXPECT_EQ(ReadBytes(inventory / "Module1.bas"), before);
    run = Do({"add-handlers", "--project", vbp, "--all"});
    EXPECT_NE(run.err.find("added error handling to 16 procedures"), std::string::npos) << run.err;
    EXPECT_EQ(Do({"scan", "--project", vbp}).out,
              "frmMain.frm:\nModule1.bas:\nmodStock.bas:\nclsItem.cls:\n");
}

}  // namespace
