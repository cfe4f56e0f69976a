#pragma once
// The library dialogs against a real library file holding the sample rows,
// with the example project open in the host (or one written by the test), a
// scripted user and an in-memory settings store pointing at the library.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "dao/LibraryFixture.h"
#include "forms/Form.h"
#include "forms/ScriptedUi.h"
#include "host/VBE.h"
#include "library/basConnect.h"
#include "settings/Options.h"

namespace librarytest {

class LibraryDialogTest : public testing::Test {
protected:
    void SetUp() override {
        pv::ResetLibraryProcedures();
        daotest::FillSample(*file.Open());
        pv::WriteOption(store, pv::key::ProcvaultLocation, file.Path());
        vbe.OpenProject(std::string(PV_SOURCE_DIR) + "/examples/Inventory/Inventory.vbp");
        pv::objVBE = &vbe;
    }
    void TearDown() override {
        pv::objVBE = nullptr;
        pv::ResetLibraryProcedures();
    }
    // Plays the user in the next showing of `formName`.
    template <class Dialog>
    void When(const std::string& formName, std::function<void(Dialog&)> script) {
        ui.OnShow(formName, [script](forms::Form& form) { script(static_cast<Dialog&>(form)); });
    }
    std::vector<std::string> Prompts() const {
        std::vector<std::string> out;
        for (const auto& m : ui.Messages()) out.push_back(m.prompt);
        return out;
    }
    // Each message as its icon ("i:", "!:", "?:", "x:") and its text, a failure report as "title: text";
    // the library's path as "@", its folder as "~"; "|" after each.
    std::string Said() const {
        std::string out;
        for (const auto& m : ui.Messages()) {
            std::string text = m.Icon() == forms::vbCritical && m.title != "Procvault" ? m.title + ": " : "";
            text += m.prompt;
            for (const auto& [from, to] : {std::pair{file.Path(), "@"}, {file.Dir().Path().string(), "~"}})
                for (auto at = text.find(from); at != std::string::npos; at = text.find(from))
                    text.replace(at, from.size(), to);
            const char mark = m.Icon() ? "x?!i"[m.Icon() / forms::vbCritical - 1] : '-';
            out += std::string(1, mark) + ":" + text + "|";
        }
        return out;
    }
    // Runs SQLite's own `sql` on the library, past the engine (to plant a trigger that fails a statement).
    void RunRaw(const std::string& sql) {
        sqlite3* raw = nullptr;
        sqlite3_open(file.Path().c_str(), &raw);
        EXPECT_EQ(sqlite3_exec(raw, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK) << sql;
        sqlite3_close(raw);
    }
    // Another program holds the library exclusively until `holder` is reset.
    void Lock() { holder = dao::DBEngine(daotest::kTestBusyTimeoutMs).OpenDatabase(file.Path(), true); }
    daotest::Table Rows(const std::string& sql) { return daotest::Rows(*file.Open(), sql); }
    // Writes `files` (name, then bytes) to a fresh folder and opens the first as the project.
    void OpenWritten(const std::vector<std::pair<std::string, std::string>>& files) {
        for (const auto& [name, bytes] : files) testsupport::WriteBytes(projectDir / name, bytes);
        vbe.OpenProject(projectDir / files.front().first);
    }
    // A project of one standard module `name` holding these code lines, "|" between them.
    void OpenModule(const std::string& name, const std::string& lines) {
        std::string bytes = "Attribute VB_Name = \"" + name + "\"\r\n";
        for (char c : lines + "|") bytes += c == '|' ? std::string("\r\n") : std::string(1, c);
        OpenWritten({{name + ".bas", bytes}});
    }
    std::vector<std::string> Items(const forms::ListControl& list) const {
        std::vector<std::string> out;
        for (int i = 0; i < list.ListCount(); ++i) out.push_back(list.List(i));
        return out;
    }

    daotest::LibraryFile file;
    testsupport::TempDir projectDir;
    host::VBE vbe;
    forms::ScriptedUi ui;
    vbrt::MemorySettingsStore store;
    pv::Env env{ui, store};
    std::unique_ptr<dao::Database> holder;
};

}  // namespace librarytest
