// procvault options, library categories and library insert run in-process
// against a real library file and a real module file in a temp folder.
#include <gtest/gtest.h>

#include "CliRun.h"
#include "dao/LibraryFixture.h"
#include "settings/Options.h"

namespace {

using Args = std::vector<std::string>;
const std::string kModule = testsupport::CrLf({"Attribute VB_Name = \"Module1\"", "Option Explicit"});

struct Row {
    const char* name;
    Args args;  // LIB, FILE and MISSING stand for paths in the temp folder
    int code;
    Args check;          // its output, or the module's bytes when empty
    std::string result;  // what `check` gives afterwards; "" when the same as before
    const char* message = "";
};

class LibraryOptions : public testing::TestWithParam<Row> {
protected:
    void SetUp() override {
        daotest::FillSample(*library.Open());
        pv::WriteOption(store, pv::key::ProcvaultLocation, library.Path());
        testsupport::WriteBytes(module(), kModule);
    }
    std::filesystem::path module() const { return library.Dir() / "Module1.bas"; }
    std::string Path(const std::string& arg) const {
        if (arg == "LIB") return library.Path();
        if (arg == "FILE") return module().string();
        return arg == "MISSING" ? (library.Dir() / "Gone.mdb").string() : arg;
    }
    clitest::Run Do(Args args) {
        for (auto& arg : args) arg = Path(arg);
        return clitest::Procvault(args, store);
    }
    std::string Check(const Args& check) {
        return check.empty() ? testsupport::ReadBytes(module()) : Do(check).out;
    }
    std::string Expected(std::string text) const {
        for (const char* mark : {"LIB", "FILE"})
            for (auto at = text.find(mark); at != std::string::npos; at = text.find(mark))
                text.replace(at, std::string(mark).size(), Path(mark));
        return text;
    }

    daotest::LibraryFile library;
    vbrt::MemorySettingsStore store;
};

TEST_P(LibraryOptions, DoesTheWorkOrLeavesItAsItWas) {
    const Row& row = GetParam();
    const std::string before = Check(row.check);
    const auto run = Do(row.args);
    EXPECT_EQ(run.code, row.code) << run.err;
    EXPECT_NE(run.err.find(row.message), std::string::npos) << run.err;
    EXPECT_EQ(Check(row.check), row.result.empty() ? before : Expected(row.result));
}

const Args kShow{"options", "show"};
const Args kList{"library", "categories"};
const std::string kDefaultMessage = "MsgBox Err.Description & \" \" & Err.Number, vbCritical, \"<NAME>()\"";
const std::string kAlign =
    "IndentLevel: 0 (left)\nProcvaultLocation: LIB\nCommentStubs: off\nErrorMessage: " + kDefaultMessage + "\n";
const std::string kShown = "CommentPrefix: ' \nIndentLevel: 0 (left)\nProcvaultLocation: LIB\nCommentStubs: ";

// One row per case reads better than one field per line.
// clang-format off
INSTANTIATE_TEST_SUITE_P(Cli, LibraryOptions, testing::Values(
    Row{"PrefixSymbolAddedOnYes", {"options", "set", "--comment-prefix", " TODO ", "--align", "left", "--yes"}, 0,
        kShow, "CommentPrefix: 'TODO \n" + kAlign},
    Row{"PrefixRefusedWithoutYes", {"options", "set", "--comment-prefix", "TODO", "--align", "left"}, 1, kShow, "",
        "not changed"},
    Row{"MissingLibraryKeepsTheSetting", {"options", "set", "--library", "MISSING"}, 1, kShow, "",
        "This file was not found."},
    Row{"AddCategory", {"library", "categories", "add", "Misc"}, 0, kList,
        "3\tFiles\n4\tMisc\n2\tStrings\n1\tUtilities\n"},
    Row{"AddExistingCategory", {"library", "categories", "add", "Files"}, 1, kList, "", "already a category"},
    Row{"RenameCategory", {"library", "categories", "rename", "Files", "Documents"}, 0,
        {"library", "categories", "list"}, "3\tDocuments\n2\tStrings\n1\tUtilities\n"},
    Row{"RenameUnknownCategory", {"library", "categories", "rename", "Nope", "X"}, 2, kList, "", "no category 'Nope'"},
    Row{"RemoveOnYes", {"library", "categories", "remove", "Files", "--yes"}, 0, kList, "2\tStrings\n1\tUtilities\n"},
    Row{"RemoveAnsweredNo", {"library", "categories", "remove", "Files"}, 1, kList, ""},
    Row{"RemoveCategoryInUse", {"library", "categories", "remove", "Strings", "--yes"}, 1, kList, "",
        "procedures grouped within it"},
    Row{"InsertInStoredOrder", {"library", "insert", "FILE", "3", "1"}, 0, {}, kModule + testsupport::CrLf(
        {"Public Function GetValue()", "End Function", "", "Sub OpenLog()", "End Sub", ""})},
    Row{"StubsWithChosenLines", {"options", "comment-stubs", "--on", "--created-by", "Zoë", "--output"}, 0, kShow,
        kShown + "on (Created By: Zoë, Output)\nErrorMessage: " + kDefaultMessage + "\n"},
    Row{"StubsWithoutLinesAnsweredNo", {"options", "comment-stubs", "--on"}, 1, kShow, "", "not changed"},
    Row{"StubsNameTooLong", {"options", "comment-stubs", "--on", "--created-by", std::string(31, 'n')}, 2, kShow, "",
        "longer than 30"},
    Row{"MessageWithTheTag", {"options", "error-message", "Log \"<NAME>\""}, 0, kShow,
        kShown + "off\nErrorMessage: Log \"<NAME>\"\n"},
    Row{"MessageWithoutTheTagOnYes", {"options", "error-message", "Log", "--yes"}, 0, kShow,
        kShown + "off\nErrorMessage: Log\n"},
    Row{"EmptyMessageRefused", {"options", "error-message", ""}, 1, kShow, "", "You must enter an error message."},
    Row{"InsertUnknownKey", {"library", "insert", "FILE", "1", "9"}, 2, {}, "", "no stored procedure with key 9"}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

}  // namespace
