// The library and options commands run in-process against real library and module files in a temp folder:
// init, store, list, show, move, remove, categories, insert, compact and the options, and every library
// command refused when the library cannot be used.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "CliRun.h"

namespace {

using Args = std::vector<std::string>;

TEST(LibraryOptions, DoesTheWorkOrLeavesItAsItWas) {
    const std::string kModule = testsupport::CrLf(
        {"Attribute VB_Name = \"Module1\"", "Option Explicit", "", "Sub DoIt()", "End Sub"});
    const std::string kMessage = "MsgBox Err.Description & \" \" & Err.Number, vbCritical, \"<NAME>()\"";
    const std::string kShown =
        "CommentPrefix: ' \nIndentLevel: 0 (left)\nProcvaultLocation: {LIB}\nCommentStubs: ";
    const Args kShow{"options", "show"}, kList{"library", "categories"}, kFolder{"FOLDER"};
    const Args kStore{"library", "store", "{FILE}", "Sub DoIt", "--category", "Files"};
    const std::string kNoLocation = "There is no location entered for the Procvault database.";
    const std::string kForeign = "The database you entered is not a valid Procvault database.";
    struct Row {
        Args args;
        const char* stored;  // the library location stored first; FOREIGN or HELD the library with a table of
                             // another program, or held exclusively by another connection
        int code;
        std::string message;  // part of stderr
        Args check;          // its output; {} the module's bytes; FOLDER the file names and stored procedures
        std::string result;  // what `check` gives afterwards; "" when the same as before
    };
    // clang-format off
    const Row rows[] = {
        {{"options", "set", "--comment-prefix", " TODO ", "--align", "left", "--yes"}, "{LIB}", 0, "", kShow,
         "CommentPrefix: 'TODO \nIndentLevel: 0 (left)\nProcvaultLocation: {LIB}\nCommentStubs: off\nErrorMessage: " + kMessage + "\n"},
        {{"options", "set", "--comment-prefix", "TODO", "--align", "left"}, "{LIB}", 1, "not changed", kShow, ""},
        {{"options", "set", "--library", "{MISSING}"}, "{LIB}", 1, "This file was not found.", kShow, ""},
        {{"library", "categories", "add", "Misc"}, "{LIB}", 0, "", kList, "3\tFiles\n4\tMisc\n2\tStrings\n1\tUtilities\n"},
        {{"library", "categories", "add", "Files"}, "{LIB}", 1, "already a category", kList, ""},
        {{"library", "categories", "rename", "Files", "Documents"}, "{LIB}", 0, "", {"library", "categories", "list"},
         "3\tDocuments\n2\tStrings\n1\tUtilities\n"},
        {{"library", "categories", "rename", "Nope", "X"}, "{LIB}", 2, "no category 'Nope'", kList, ""},
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
        {{"options", "error-message", ""}, "{LIB}", 1, "You must enter an error message.", kShow, ""},
        // Not a terminal: no progress lines.
        {{"library", "compact"}, "{LIB}", 0, "Procvault: note: The Repair & Compact was completed successfully.\n", kFolder, ""},
        {{"library", "compact"}, "", 1, "Procvault: error: There is no location entered for the Procvault database. "
         "Please enter the correct location of this file.\n", kFolder, ""},
        {{"library", "compact"}, "{MISSING}", 1, "Procvault: error: {MISSING}:\nThis file was not found. Please "
         "enter the correct location of the Procvault database.\n", kFolder, ""},
        {{"library", "list"}, "", 1, kNoLocation, kFolder, ""}, {{"library", "show", "1"}, "", 1, kNoLocation, kFolder, ""},
        {{"library", "remove", "1", "--yes"}, "", 1, kNoLocation, kFolder, ""}, {kStore, "", 1, kNoLocation, kFolder, ""},
        {{"library", "list"}, "FOREIGN", 1, kForeign, kFolder, ""}, {{"library", "show", "1"}, "FOREIGN", 1, kForeign, kFolder, ""},
        {{"library", "remove", "1", "--yes"}, "FOREIGN", 1, kForeign, kFolder, ""}, {kStore, "FOREIGN", 1, kForeign, kFolder, ""},
        {{"library", "list"}, "HELD", 1, "file already in use. 3045", kFolder, ""},
        {{"library", "show", "1"}, "HELD", 1, "file already in use. 3045", kFolder, ""},
        {{"library", "remove", "1", "--yes"}, "HELD", 1, "file already in use. 3045", kFolder, ""},
        {kStore, "HELD", 1, "file already in use. 3045", kFolder, ""}};
    // clang-format on
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::PrintToString(row.args));
        clitest::Folder f;
        daotest::FillSample(*f.library.Open());
        clitest::WriteBytes(f.file(), kModule);
        const std::string stored = row.stored;
        pv::WriteOption(f.store, pv::key::ProcvaultLocation,
                        stored == "FOREIGN" || stored == "HELD" ? f.library.Path() : f.Expand(stored));
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
        if (stored == "FOREIGN") f.library.Open()->Execute("CREATE TABLE Notes (x TEXT)");
        auto holder = stored == "HELD" ? dao::DBEngine().OpenDatabase(f.library.Path(), true) : nullptr;
        const auto run = f.Do(row.args);
        holder.reset();
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
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"library", "init", "New.mdb"},
          {"options", "set", "--library", "New.mdb"},
          {"library", "categories", "add", "Tools"},
          {"library", "categories", "add", "Math"},
          {"library", "store", "{FILE}", "Function GetValue", "Sub DoIt", "--category", "Tools"}}) {
        const auto run = f.Do(args);
        ASSERT_EQ(run.code, 0) << args[1] << ": " << run.err;
    }
    EXPECT_EQ(clitest::ReadBytes(f.file()), kModule);
    for (const auto& item : nlohmann::json::parse(f.Do({"library", "list", "--json"}).out))
        f.keys["{" + item["entry"].get<std::string>() + "}"] = item["id"].get<long>();
    struct Step {
        std::vector<std::string> args;  // "{Entry}" stands for that entry's key
        int code;
        std::string out, err;  // all of stdout; a text stderr must hold
    };
    // clang-format off
    const Step steps[] = {
        {{"library", "store", "{FILE}", "Sub Nope", "--category", "Tools"}, 2, "", "has no procedure Sub Nope"},
        {{"library", "store", "{FILE}", "Sub DoIt", "--category", "Nope"}, 2, "", "no category 'Nope'"},
        {{"library", "list"}, 0, "{Function GetValue}\tFunction GetValue\n{Sub DoIt}\tSub DoIt\n", ""},
        {{"library", "list", "--kind", "subs"}, 0, "{Sub DoIt}\tSub DoIt\n", ""},
        {{"library", "list", "--kind", "functions", "--category", "Tools"}, 0, "{Function GetValue}\tFunction GetValue\n", ""},
        {{"library", "list", "--category", "Nope"}, 2, "", "no category 'Nope'"},
        {{"library", "show", "{Function GetValue}"}, 0, "Public Function GetValue() As Long\n    GetValue = 42\nEnd Function\n", ""},
        {{"library", "show", "999"}, 2, "", "no stored procedure with key 999"},
        {{"library", "move", "{Sub DoIt}", "--category", "Math"}, 0, "", ""},
        {{"library", "list", "--category", "Math"}, 0, "{Sub DoIt}\tSub DoIt\n", ""},
        {{"library", "remove", "{Function GetValue}"}, 1, "", "Are you sure you want to delete the selected procedure?"},
        {{"library", "list", "--category", "Tools"}, 0, "{Function GetValue}\tFunction GetValue\n", ""},
        {{"library", "remove", "{Function GetValue}", "--yes"}, 0, "", ""},
        {{"library", "list"}, 0, "{Sub DoIt}\tSub DoIt\n", ""}};
    // clang-format on
    for (const Step& step : steps) {
        SCOPED_TRACE(testing::PrintToString(step.args));
        const auto run = f.Do(step.args);
        EXPECT_EQ(run.code, step.code) << run.err;
        EXPECT_EQ(run.out, f.Expand(step.out));
        EXPECT_NE(run.err.find(step.err), std::string::npos) << run.err;
    }
}

}  // namespace
