// The library commands on a real library file: store, list, show, move, remove.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <map>
#include <nlohmann/json.hpp>
#include <string_view>

#include "CliRun.h"
#include "dao/LibraryFixture.h"
#include "settings/Options.h"

namespace {

const std::string kModule = testsupport::CrLf({"Attribute VB_Name = \"Module1\"", "Option Explicit", "",
                                               "Public Function GetValue() As Long", "    GetValue = 42",
                                               "End Function", "", "Sub DoIt()", "    x = 1", "End Sub"});

struct Step {
    std::vector<std::string> args;  // "{Entry}" stands for that entry's key, FILE for the module
    int code;
    std::string out, err;  // all of stdout; a text stderr must hold
};

class LibraryEdit : public ::testing::Test {
protected:
    void SetUp() override {
        testsupport::WriteBytes(module(), kModule);
        auto db = library.Open();
        daotest::AddCategory(*db, "Tools");
        daotest::AddCategory(*db, "Math");
        pv::WriteOption(store, pv::key::ProcvaultLocation, library.Path());
    }
    std::filesystem::path module() const { return library.Dir() / "Module1.bas"; }
    std::string Expand(std::string text) const {
        for (const auto& [tag, id] : keys)
            if (const auto at = text.find(tag); at != std::string::npos)
                text.replace(at, tag.size(), std::to_string(id));
        return text == "FILE" ? module().string() : text;
    }
    clitest::Run Do(std::vector<std::string> args) {
        for (auto& arg : args) arg = Expand(arg);
        return clitest::Procvault(args, store);
    }
    void ReadKeys() {
        const auto run = Do({"library", "list", "--json"});
        ASSERT_EQ(run.code, 0) << run.err;
        for (const auto& item : nlohmann::json::parse(run.out))
            keys["{" + item["entry"].get<std::string>() + "}"] = item["id"].get<long>();
    }

    daotest::LibraryFile library;
    vbrt::MemorySettingsStore store;
    std::map<std::string, long> keys;
};

TEST_F(LibraryEdit, StoreListShowMoveRemove) {
    const auto stored =
        Do({"library", "store", "FILE", "Function GetValue", "Sub DoIt", "--category", "Tools"});
    ASSERT_EQ(stored.code, 0) << stored.err;
    EXPECT_EQ(testsupport::ReadBytes(module()), kModule);
    ReadKeys();
    // clang-format off
    const std::vector<Step> steps = {
        {{"library", "store", "FILE", "Sub Nope", "--category", "Tools"}, 2, "", "has no procedure Sub Nope"},
        {{"library", "store", "FILE", "Sub DoIt", "--category", "Nope"}, 2, "", "no category 'Nope'"},
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
    for (std::size_t i = 0; i < steps.size(); ++i) {
        const auto run = Do(steps[i].args);
        EXPECT_EQ(run.code, steps[i].code) << "step " << i << ": " << run.err;
        EXPECT_EQ(run.out, Expand(steps[i].out)) << "step " << i;
        EXPECT_NE(run.err.find(steps[i].err), std::string::npos) << "step " << i << ": " << run.err;
    }
}

// A null foreignSql: no library location at all; "LOCK": held exclusively by another process.
struct DoorRow {
    const char *name, *foreignSql, *message;
};

const std::vector<std::vector<std::string>> kEveryCommand = {
    {"library", "list"},
    {"library", "show", "1"},
    {"library", "remove", "1", "--yes"},
    {"library", "store", "FILE", "Sub DoIt", "--category", "Tools"}};

class LibraryDoor : public LibraryEdit, public ::testing::WithParamInterface<DoorRow> {};

TEST_P(LibraryDoor, RefusedLibraryStopsEveryCommand) {
    sqlite3* other = nullptr;
    const char* sql = GetParam().foreignSql;
    if (sql && sql == std::string_view("LOCK")) {
        ASSERT_EQ(sqlite3_open(library.Path().c_str(), &other), SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    } else if (sql)
        library.Open()->Execute(sql);
    else
        pv::WriteOption(store, pv::key::ProcvaultLocation, "");
    for (const auto& args : kEveryCommand) {
        const auto run = Do(args);
        EXPECT_EQ(run.code, 1) << args[1] << ": " << run.err;
        EXPECT_TRUE(run.out.empty() && run.err.find(GetParam().message) != std::string::npos) << run.err;
    }
    sqlite3_close(other);
    EXPECT_EQ(daotest::Count(*library.Open(), "ProcedureHeader"), 0);  // store refused too
}

INSTANTIATE_TEST_SUITE_P(
    Cli, LibraryDoor,
    ::testing::Values(DoorRow{"NoLocation", nullptr,
                              "There is no location entered for the Procvault database."},
                      DoorRow{"ForeignTable", "CREATE TABLE Notes (x TEXT)",
                              "The database you entered is not a valid Procvault database."},
                      DoorRow{"Locked", "LOCK", "file already in use. 3045"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
