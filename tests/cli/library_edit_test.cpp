// The library commands on a real library file: store, list, show, move, remove.
#include <gtest/gtest.h>

#include <map>
#include <nlohmann/json.hpp>

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
    std::string out;     // must appear in stdout
    std::string absent;  // must not appear in stdout ("" : nothing checked)
    std::string err;     // must appear in stderr
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
        for (const auto& [entry, id] : keys)
            for (auto at = text.find("{" + entry + "}"); at != std::string::npos;
                 at = text.find("{" + entry + "}"))
                text.replace(at, entry.size() + 2, std::to_string(id));
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
            keys[item["entry"].get<std::string>().substr(item["entry"].get<std::string>().find(' ') + 1)] =
                item["id"].get<long>();
    }

    daotest::LibraryFile library;
    vbrt::MemorySettingsStore store;
    std::map<std::string, long> keys;
};

TEST_F(LibraryEdit, StoreListShowMoveRemove) {
    ASSERT_EQ(Do({"library", "store", "FILE", "Function GetValue", "Sub DoIt", "--category", "Tools"}).code,
              0);
    EXPECT_EQ(testsupport::ReadBytes(module()), kModule);
    ReadKeys();
    ASSERT_EQ(keys.size(), 2u);
    const std::vector<Step> steps = {
        {{"library", "store", "FILE", "Sub Nope", "--category", "Tools"},
         2,
         "",
         "",
         "has no procedure Sub Nope"},
        {{"library", "store", "FILE", "Sub DoIt", "--category", "Nope"}, 2, "", "", "no category 'Nope'"},
        {{"library", "list"}, 0, "{GetValue}\tFunction GetValue\n{DoIt}\tSub DoIt\n", "", ""},
        {{"library", "list", "--kind", "subs"}, 0, "{DoIt}\tSub DoIt", "GetValue", ""},
        {{"library", "list", "--category", "Nope"}, 2, "", "", "no category 'Nope'"},
        {{"library", "show", "{GetValue}"},
         0,
         "Public Function GetValue() As Long\n    GetValue = 42\nEnd Function",
         "DoIt",
         ""},
        {{"library", "show", "999"}, 2, "", "", "no stored procedure with key 999"},
        {{"library", "move", "{DoIt}", "--category", "Math"}, 0, "", "", ""},
        {{"library", "list", "--category", "Math"}, 0, "{DoIt}\tSub DoIt", "GetValue", ""},
        {{"library", "remove", "{GetValue}"},
         1,
         "",
         "",
         "Are you sure you want to delete the selected procedure?"},
        {{"library", "list"}, 0, "{GetValue}\tFunction GetValue", "", ""},
        {{"library", "remove", "{GetValue}", "--yes"}, 0, "", "", ""},
        {{"library", "list"}, 0, "{DoIt}\tSub DoIt", "GetValue", ""},
        {{"library", "show", "{GetValue}"}, 2, "", "", "no stored procedure with key"},
    };
    for (const Step& step : steps) {
        const auto run = Do(step.args);
        std::string words;
        for (const auto& arg : step.args) words += arg + " ";
        SCOPED_TRACE(Expand(words));
        EXPECT_EQ(run.code, step.code) << run.err;
        EXPECT_NE(run.out.find(Expand(step.out)), std::string::npos) << run.out;
        if (!step.absent.empty()) {
            EXPECT_EQ(run.out.find(step.absent), std::string::npos) << run.out;
        }
        EXPECT_NE(run.err.find(step.err), std::string::npos) << run.err;
    }
}

struct DoorRow {
    const char* name;
    const char* foreignSql;  // nullptr: no library location at all
    const char* message;
};

class LibraryDoor : public LibraryEdit, public ::testing::WithParamInterface<DoorRow> {};

TEST_P(LibraryDoor, RefusedLibraryStopsEveryCommand) {
    if (GetParam().foreignSql)
        library.Open()->Execute(GetParam().foreignSql);
    else
        pv::WriteOption(store, pv::key::ProcvaultLocation, "");
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"library", "list"},
          {"library", "show", "1"},
          {"library", "store", "FILE", "Sub DoIt", "--category", "Tools"},
          {"library", "remove", "1", "--yes"}}) {
        const auto run = Do(args);
        EXPECT_EQ(run.code, 1) << args[1] << ": " << run.err;
        EXPECT_NE(run.err.find(GetParam().message), std::string::npos) << run.err;
        EXPECT_EQ(run.out, "");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cli, LibraryDoor,
    ::testing::Values(DoorRow{"NoLocation", nullptr,
                              "There is no location entered for the Procvault database."},
                      DoorRow{"ForeignTable", "CREATE TABLE Notes (x TEXT)",
                              "The database you entered is not a valid Procvault database."}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
