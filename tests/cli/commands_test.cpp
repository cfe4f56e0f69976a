// The procvault commands run in-process on real module and library files in a temp folder.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "CliRun.h"

namespace {

using clitest::ReadBytes;
using clitest::WriteBytes;
namespace fs = std::filesystem;
using Args = std::vector<std::string>;

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
        WriteBytes(Dir() / "Demo.vbp", "Type=Exe\r\nModule=Module1; Module1.bas\r\nName=\"Demo\"\r\n");
        WriteBytes(Dir() / "Broken.vbp",
                   "Type=Exe\r\nModule=Module1; Module1.bas\r\nModule=Gone; Gone.bas\r\n");
    }
};
class Commands : public testing::Test, public Folder {};

TEST(Edit, ChangesExactlyTheChosenText) {
    // clang-format off
    // Options stored first, the command, the text it changes ("": it appends) and the text after.
    struct Row { std::vector<std::pair<const char*, const char*>> options; Args args;
        const char* from; std::string to; };
    const Row rows[] = {
        {{}, {"comment", "{FILE}", "--lines", "4-6"}, "Public Property Get Total() As Long|    Total = 1|End Property",
         "' Public Property Get Total() As Long|'     Total = 1|' End Property"},
        {{}, {"comment", "{FILE}", "--select", "4:5-6:1"}, "Public Property Get Total() As Long|    Total",
         "' Public Property Get Total() As Long|'     Total"},  // a selection ending at column 1 leaves that line out
        {{{"CommentPrefix", "'TODO "}}, {"comment", "{FILE}", "--lines", "1"}, "Option Explicit", "'TODO Option Explicit"},
        {{}, {"comment", "Module1", "--project", "Demo.vbp", "--lines", "1"}, "Option Explicit", "' Option Explicit"},
        {{}, {"add-handlers", "{FILE}", "--proc", "Get Total"}, "    Total = 1|End Property",
         "\tOn Error Goto Err_Get_Total|||    Total = 1|" + Handler("Get_Total", "Property") + "End Property"},
        {{{pv::key::ShowCommentStubs, "True"}, {pv::key::ShowProcedureName, "1"}}, {"add-handlers", "{FILE}", "--proc",
         "DoIt", "--stubs"}, "Sub DoIt()|    x = 1 ' one|End Sub", kHyphens + "|' Procedure: DoIt|Sub DoIt()|\tOn Error "
         "Goto Err_DoIt|||    x = 1 ' one|" + Handler("DoIt", "Sub") + "End Sub"},
        {{}, {"new", "{FILE}", "Foo", "--function", "--public"}, "", Added("Public Function Foo()", "Foo", "Function")},
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
    // clang-format off
    // `text` is part of stdout when the code is 0, else of stderr; the other stream stays empty.
    struct Row { Args args; int code; const char* text; };
    const Row rows[] = {
        {{}, 2, "Commands:"}, {{"frobnicate"}, 2, "unknown command"}, {{"comment", "{FILE}"}, 2, "--lines"},
        {{"uncomment", "{FILE}", "--lines", "6"}, 1, "could not find any lines in the selection"},
        {{"comment", "{FILE}", "--lines", "1", "--select", "1:1-1:2"}, 2, "--lines excludes --select"},
        {{"comment", "{FILE}", "--lines", "3-99"}, 2, "outside the module"}, {{"comment", "{FILE}", "--lines", "0-2"}, 2, "invalid line"},
        {{"uncomment", "{FILE}", "--lines", "4-2"}, 2, "before the first"},
        {{"comment", "Module1", "--project", "Broken.vbp", "--lines", "1"}, 2, "Gone.bas"},
        {{"comment", "{FILE}", "--lines", "1", "--fast"}, 2, "not expected: --fast"},
        {{"add-handlers", "{FILE}", "--proc", "DoIt", "Missing"}, 2, "no procedure 'Missing'"},
        {{"add-handlers", "{FILE}", "--proc", "Total"}, 2, "no procedure 'Total'"},  // a property needs its part
        {{"add-handlers", "{FILE}", "--all", "--stubs"}, 2, "ShowCommentStubs"},
        {{"add-handlers", "{FILE}"}, 2, "--proc ENTRY... or --all is required"},
        {{"add-handlers", "{FILE}", "--all", "--proc", "DoIt"}, 2, "excludes --all"}, {{"new", "{FILE}"}, 2, "NAME is required"},
        {{"new", "{FILE}", "1Foo"}, 1, "Procvault: note: Invalid procedure name."},
        {{"new", "{FILE}", "mlngcount"}, 1, "A variable of this name already exists."},
        {{"new", "{FILE}", "DOIT"}, 1, "A procedure of this name already exists."},
        {{"new", "{FILE}", "Foo", "--sub", "--function"}, 2, "--sub excludes --function"},
        {{"scan"}, 2, "FILE... or --project P.vbp is required"},
        {{"library"}, 2, "procvault library: A subcommand is required"}, {{"library", "drop", "x"}, 2, "unknown command 'drop'"},
        {{"library", "init", "Demo.vbp"}, 2, "Database already exists"}, {{"help"}, 0, "Commands:"},
        {{"comment", "--help"}, 0, "Usage: procvault comment [OPTIONS] FILE"},
        {{"scan", "--help"}, 0, "Usage: procvault scan [OPTIONS] [FILE...]"},
        {{"add-handlers", "--help"}, 0, "procvault add-handlers --project P.vbp --all"},
        {{"options", "set", "--help"}, 0, "Usage: procvault options set"},
        {{"library", "--help"}, 0, "Usage: procvault library [OPTIONS] COMMAND"},
        {{"library", "init", "--help"}, 0, "Usage: procvault library init [OPTIONS] LOCATION"}};
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

// #If groups as real modules hold them, and a procedure on one line: what scan lists, the module after
// add-handlers --all, a second scan, and what storing one of them keeps.
TEST(GroupedCode, EachProcedureListedHandledAndStoredOnItsOwn) {
    const std::string kEntry = "\tOn Error Goto Err_";
    // clang-format off
    struct Row { const char* name; std::string body, listed; int code; std::string after, store, stored; };
    const Row rows[] = {
        {"AboveAHandledNeighbour",
         "#If UNIT_TEST = 1 Then|Private Sub Setup()|    n = 0|End Sub|Private Sub Verify()|    On Error GoTo Failed|"
         "End Sub|Private Sub Teardown()|End Sub|#End If", "  Setup (line 3)\n  Teardown (line 9)\n", 0,
         "#If UNIT_TEST = 1 Then|Private Sub Setup()|" + kEntry + "Setup|||    n = 0|" + Handler("Setup", "Sub") +
         "End Sub|Private Sub Verify()|    On Error GoTo Failed|End Sub|Private Sub Teardown()|" + kEntry +
         "Teardown|||" + Handler("Teardown", "Sub") + "End Sub|#End If", "Sub Setup", "Private Sub Setup()\n    n = 0\nEnd Sub\n"},
        {"WholeModuleTwiceInAnotherOrder",
         "#If NEW_TRANSPORT Then|Sub A()|End Sub|Sub B()|    On Error Resume Next|End Sub|#Else|Sub B()|End Sub|"
         "Sub A()|End Sub|#End If", "  A (line 3)\n  B (line 9)\n", 0,
         "#If NEW_TRANSPORT Then|Sub A()|" + kEntry + "A|||" + Handler("A", "Sub") + "End Sub|Sub B()|    On Error "
         "Resume Next|End Sub|#Else|Sub B()|" + kEntry + "B|||" + Handler("B", "Sub") + "End Sub|Sub A()|" + kEntry +
         "A|||" + Handler("A", "Sub") + "End Sub|#End If", "", ""},
        {"DeclarationPerBranchOverOneBody",
         "#If WIN64 Then|Public Function Handle() As LongPtr|    Handle = mh64|#Else|Public Function Handle() As Long|"
         "    Handle = mh32|#End If|End Function", "  Handle (line 3)\n", 0,
         "#If WIN64 Then|Public Function Handle() As LongPtr|" + kEntry + "Handle|||    Handle = mh64|#Else|Public "
         "Function Handle() As Long|" + kEntry + "Handle|||    Handle = mh32|#End If|" + Handler("Handle", "Function") +
         "End Function", "Function Handle", "#If WIN64 Then\nPublic Function Handle() As LongPtr\n    Handle = mh64\n"
         "#Else\nPublic Function Handle() As Long\n    Handle = mh32\n#End If\nEnd Function\n"},
        {"OneLineProcedureIsRefused",
         "Sub A(): x = 1: End Sub|Sub B()|    y = 2|End Sub", "  A (line 2)\n  B (line 3)\n", 1, "", "Sub A",
         "Sub A(): x = 1: End Sub\n"}};
    // clang-format on
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        clitest::Folder f;
        const std::string module = "Attribute VB_Name = \"Module1\"\r\n" + Lines("Option Explicit|" + row.body) + "\r\n";
        WriteBytes(f.file(), module);
        EXPECT_EQ(f.Do({"scan", "{FILE}"}).out, "Module1.bas:\n" + row.listed);
        if (!row.store.empty()) {
            f.Do({"library", "categories", "add", "Tools"});
            EXPECT_EQ(f.Do({"library", "store", "{FILE}", row.store, "--category", "Tools"}).code, 0);
            EXPECT_EQ(f.Do({"library", "show", "1"}).out, row.stored);
        }
        const auto run = f.Do({"add-handlers", "{FILE}", "--all"});
        EXPECT_EQ(run.code, row.code) << run.err;
        if (row.code != 0) {
            EXPECT_NE(run.err.find("A is written on one line with its End statement; nothing was added"), std::string::npos)
                << run.err;
            EXPECT_EQ(ReadBytes(f.file()), module);
            continue;
        }
        EXPECT_EQ(ReadBytes(f.file()), "Attribute VB_Name = \"Module1\"\r\n" + Lines("Option Explicit|" + row.after) + "\r\n");
        EXPECT_EQ(f.Do({"scan", "{FILE}"}).out, "Module1.bas:\n");
    }
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

TEST(LibraryOptions, DoesTheWorkOrLeavesItAsItWas) {
    const std::string kModule = testsupport::CrLf(
        {"Attribute VB_Name = \"Module1\"", "Option Explicit", "", "Sub DoIt()", "End Sub"});
    const std::string kMessage = "MsgBox Err.Description & \" \" & Err.Number, vbCritical, \"<NAME>()\"";
    const std::string kShown =
        "CommentPrefix: ' \nIndentLevel: 0 (left)\nProcvaultLocation: {LIB}\nCommentStubs: ";
    const Args kShow{"options", "show"}, kList{"library", "categories"}, kFolder{"FOLDER"};
    // clang-format off
    // Location stored, part of stderr, the command whose output is checked ({}: module bytes, FOLDER: file names,
    // stored procedures), its output ("": same). Unreadable libraries: tests/reliability/bad-input.sh.
    struct Row { Args args; const char* stored; int code; std::string message; Args check; std::string result; };
    const Row rows[] = {
        {{"options", "set", "--comment-prefix", " TODO ", "--align", "left", "--yes"}, "{LIB}", 0, "", kShow,
         "CommentPrefix: 'TODO \nIndentLevel: 0 (left)\nProcvaultLocation: {LIB}\nCommentStubs: off\nErrorMessage: " + kMessage + "\n"},
        {{"options", "set", "--comment-prefix", "TODO", "--align", "left"}, "{LIB}", 1, "not changed", kShow, ""},
        {{"options", "set", "--comment-prefix", "'\nX = 1"}, "{LIB}", 2, "must be one line", kShow, ""},
        {{"options", "comment-stubs", "--on", "--created-by", "Ann\r\nKill \"C:\\x\""}, "{LIB}", 2, "must be one line", kShow, ""},
        {{"options", "error-message", "Log \"<NAME>\"\rX"}, "{LIB}", 2, "must be one line", kShow, ""},
        {{"library", "categories", "add", "Misc"}, "{LIB}", 0, "", kList, "3\tFiles\n4\tMisc\n2\tStrings\n1\tUtilities\n"},
        {{"library", "categories", "add", "Files"}, "{LIB}", 1, "already a category", kList, ""},
        {{"library", "categories", "rename", "Files", "Documents"}, "{LIB}", 0, "", {"library", "categories", "list"},
         "3\tDocuments\n2\tStrings\n1\tUtilities\n"},
        {{"library", "categories", "remove", "Files", "--yes"}, "{LIB}", 0, "", kList, "2\tStrings\n1\tUtilities\n"},
        {{"library", "categories", "remove", "Files"}, "{LIB}", 1, "", kList, ""},  // answered no
        {{"library", "categories", "remove", "Strings", "--yes"}, "{LIB}", 1, "procedures grouped within it", kList, ""},
        {{"library", "insert", "{FILE}", "3", "1"}, "{LIB}", 0, "", {},  // in the order given
         kModule + testsupport::CrLf({"Public Function GetValue()", "End Function", "", "Sub OpenLog()", "End Sub", ""})},
        {{"library", "insert", "{FILE}", "1", "9"}, "{LIB}", 2, "no stored procedure with key 9", {}, ""},
        {{"options", "comment-stubs", "--on", "--created-by", "Zoë", "--output"}, "{LIB}", 0, "", kShow,
         kShown + "on (Created By: Zoë, Output)\nErrorMessage: " + kMessage + "\n"},
        {{"options", "comment-stubs", "--on"}, "{LIB}", 1, "not changed", kShow, ""},  // no lines, answered no
        {{"options", "comment-stubs", "--on", "--created-by", std::string(31, 'n')}, "{LIB}", 2, "longer than 30", kShow, ""},
        {{"options", "error-message", "Log \"<NAME>\""}, "{LIB}", 0, "", kShow, kShown + "off\nErrorMessage: Log \"<NAME>\"\n"},
        {{"options", "error-message", "Log", "--yes"}, "{LIB}", 0, "", kShow, kShown + "off\nErrorMessage: Log\n"},
        // Not a terminal: no progress lines.
        {{"library", "compact"}, "{LIB}", 0, "Procvault: note: The Repair & Compact was completed successfully.\n", kFolder, ""},
        {{"library", "compact"}, "", 1, "Procvault: error: There is no location entered for the Procvault database. "
         "Please enter the correct location of this file.\n", kFolder, ""},
        // Every library command opens the library as the organizer dialog does.
        {{"library", "list"}, "", 1, "There is no location entered for the Procvault database.", kFolder, ""}};
    // clang-format on
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::PrintToString(row.args));
        clitest::Folder f;
        daotest::FillSample(*f.library.Open());
        clitest::WriteBytes(f.file(), kModule);
        pv::WriteOption(f.store, pv::key::ProcvaultLocation, f.Expand(row.stored));
        const auto check = [&] {
            if (row.check.empty()) return clitest::ReadBytes(f.file());
            if (row.check != kFolder) return f.Do(row.check).out;
            std::string names;
            for (const auto& [name, bytes] : f.Files()) names += name + "\n";
            auto db = f.library.Open();
            return names + testing::PrintToString(daotest::Rows(*db, "SELECT * FROM ProcedureHeader")) +
                   testing::PrintToString(daotest::Rows(*db, "SELECT * FROM ProcedureLine"));
        };
        const std::string before = check();
        const auto run = f.Do(row.args);
        EXPECT_EQ(run.code, row.code) << run.err;
        EXPECT_NE(run.err.find(f.Expand(row.message)), std::string::npos) << run.err;
        EXPECT_EQ(check(), row.result.empty() ? before : f.Expand(row.result));
    }
}

TEST(LibraryEdit, InitStoreListShowMoveRemove) {
    const std::string kModule = testsupport::CrLf({"Attribute VB_Name = \"Module1\"", "Option Explicit", "",
                                                   "Public Function GetValue() As Long", "    GetValue = 42",
                                                   "End Function", "", "Sub DoIt()", "    x = 1", "End Sub"});
    clitest::Folder f;
    clitest::WriteBytes(f.file(), kModule);
    // clang-format off
    // All of stdout and a text stderr must hold.
    struct Step { Args args; int code; std::string out, err; };
    const Step steps[] = {
        {{"library", "init", "New.mdb"}, 0, "", ""}, {{"options", "set", "--library", "New.mdb"}, 0, "", ""},
        {{"library", "categories", "add", "Tools"}, 0, "", ""}, {{"library", "categories", "add", "Math"}, 0, "", ""},
        {{"library", "store", "{FILE}", "Function GetValue", "Sub DoIt", "--category", "Tools"}, 0, "", ""},
        {{"library", "store", "{FILE}", "Sub Nope", "--category", "Tools"}, 2, "", "has no procedure Sub Nope"},
        {{"library", "store", "{FILE}", "Sub DoIt", "--category", "Nope"}, 2, "", "no category 'Nope'"},
        {{"library", "list"}, 0, "1\tFunction GetValue\n2\tSub DoIt\n", ""},
        {{"library", "list", "--kind", "functions", "--category", "Tools"}, 0, "1\tFunction GetValue\n", ""},
        {{"library", "show", "1"}, 0, "Public Function GetValue() As Long\n    GetValue = 42\nEnd Function\n", ""},
        {{"library", "show", "999"}, 2, "", "no stored procedure with key 999"},
        {{"library", "search", "GetVal"}, 0, "1\tFunction GetValue\n", ""},
        {{"library", "search", "x", "--json"}, 0, "[\n  {\n    \"id\": 2,\n    \"entry\": \"Sub DoIt\",\n    \"lines\": 1\n  }\n]\n", ""},
        {{"library", "search", "nowhere"}, 1, "", "procvault library search: no stored procedure matches 'nowhere'"},
        {{"library", "search", "()"}, 2, "", "no letters or digits to search for in '()'"},
        // The organizer opens on the first category; search still covers every one.
        {{"library", "categories", "add", "!Old"}, 0, "", ""}, {{"library", "search", "GetVal"}, 0, "1\tFunction GetValue\n", ""},
        {{"library", "categories", "add", std::string(51, 'n')}, 2, "", "holds at most 50 characters"},
        {{"library", "categories", "rename", "!Old", std::string(50, 'n') + "\xC3\xA9"}, 2, "", "has 51"},
        {{"library", "move", "2", "--category", "Math"}, 0, "", ""},
        {{"library", "list", "--kind", "subs", "--category", "Math"}, 0, "2\tSub DoIt\n", ""},
        {{"library", "remove", "1"}, 1, "", "Are you sure you want to delete the selected procedure?"},
        {{"library", "remove", "1", "--yes"}, 0, "", ""}, {{"library", "list"}, 0, "2\tSub DoIt\n", ""},
        {{"library", "search", "GetValue"}, 1, "", "no stored procedure matches 'GetValue'"}};
    // clang-format on
    for (const Step& step : steps) {
        SCOPED_TRACE(testing::PrintToString(step.args));
        const auto run = f.Do(step.args);
        EXPECT_EQ(run.code, step.code) << run.err;
        EXPECT_EQ(run.out, step.out);
        EXPECT_NE(run.err.find(step.err), std::string::npos) << run.err;
    }
    EXPECT_EQ(f.Do({"options", "show"}).code, 0);
    EXPECT_EQ(clitest::ReadBytes(f.file()), kModule);
}

// Every procedure as `library list --json` and `library show` print it, from the library at `location`.
std::string Shown(clitest::Folder& f, const std::string& location) {
    pv::WriteOption(f.store, pv::key::ProcvaultLocation, location);
    std::string shown = f.Do({"library", "list", "--json"}).out;
    for (const auto& entry : nlohmann::json::parse(shown))
        shown += f.Do({"library", "show", std::to_string(entry["id"].get<long>())}).out;
    return shown;
}

TEST(LibraryCopy, CopiesEveryProcedureWithItsKeysOrChangesNothing) {
    clitest::Folder f;
    {
        auto db = f.library.Open();
        daotest::FillSample(*db);
        const std::vector<std::string> lines{"Function Quote()", "  Quote = \"\"\"Gr\xfc\xdf\"\"\"",
                                             "End Function"};
        daotest::AddProcedure(*db, {"Quote", "Function", 3, lines});
        // Gaps in the keys.
        db->Execute("DELETE * FROM ProcedureLine WHERE ProcedureHeaderID = 2");
        db->Execute("DELETE * FROM ProcedureHeader WHERE ProcedureHeaderID = 2");
    }
    const std::string copy = (f.Dir() / "Copy.mdb").string();
    ASSERT_EQ(f.Do({"library", "init", copy}).code, 0);
    const auto run = f.Do({"library", "copy", "{LIB}", copy});
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_NE(run.err.find("copied 3 procedures (7 lines) in 3 categories"), std::string::npos) << run.err;
    EXPECT_EQ(Shown(f, copy), Shown(f, f.library.Path()));
    const auto copied = dao::DBEngine().OpenDatabase(copy);
    for (const char* table : {"Category", "ProcedureHeader", "ProcedureLine"})
        EXPECT_EQ(daotest::Flat(*copied, table), daotest::Flat(*f.library.Open(), table)) << table;

    // clang-format off
    // Copies that are refused (exit 2), with part of stderr; every file stays as it was.
    struct Row { Args args; const char* err; };
    const Row rows[] = {
        {{"library", "copy", "{LIB}", copy}, "Copy.mdb already holds categories or procedures"},
        {{"library", "copy", "{LIB}", "{LIB}"}, "Library.mdb already holds categories or procedures"},
        {{"library", "copy", "{DIR}/Missing.mdb", copy}, "Could not find file '{DIR}/Missing.mdb'. (error 3024)"},
        {{"library", "copy", "{LIB}", "{DIR}/Missing.mdb"}, "Could not find file '{DIR}/Missing.mdb'. (error 3024)"},
        {{"library", "copy", "{LIB}", "{FILE}"}, "Unrecognized database format"},
        // Server locations as typed by hand: blanks around, a %-escaped name, a parameter libpq does not know.
        {{"library", "copy", "{LIB}", " postgresql://team:s3cret@/lib?host=/nonexistent"},
         "The server of 'postgresql://team:****@/lib?host=/nonexistent' is not reachable: "},
        {{"library", "copy", "{LIB}", "postgresql://team@/lib?host=/nonexistent&pass%77ord=s3cret"}, "&pass%77ord=****'"},
        {{"library", "copy", "{LIB}", "postgresql://team:s3cret@/lib?nosuch=1"}, "'postgresql://****' is not a postgresql://"}};
    // clang-format on
    clitest::WriteBytes(f.file(), "Attribute VB_Name = \"Module1\"\r\n");
    const auto before = f.Files();
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::PrintToString(row.args));
        const auto refused = f.Do(row.args);
        EXPECT_EQ(refused.code, 2);
        EXPECT_NE(refused.err.find(f.Expand(row.err)), std::string::npos) << refused.err;
        EXPECT_TRUE(refused.err.ends_with("; nothing was copied\n")) << refused.err;
        EXPECT_EQ(refused.err.find("s3cret"), std::string::npos) << refused.err;
        EXPECT_EQ(f.Files(), before);
    }
}

}  // namespace
