#pragma once
// The library dialogs against a real library file holding the sample rows, with the example project open in
// the host (or one written by the test), a scripted user and an in-memory settings store.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
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

// Messages as Said() gives them.
inline const std::string kInUse =
    "!:@:\r\nThis file is currently opened by another user. Please close the database and try again.|";
inline const std::string kNotFound =
    ":\r\nThis file was not found. Please enter the correct location from the Procvault tab on the Options "
    "screen|";
inline const std::string kSelectItem = "i:You must select an item from the list.|";

class LibraryDialogTest : public testing::Test {
protected:
    void SetUp() override {
        pv::ResetLibraryProcedures();
        daotest::FillSample(*file.Open());
        PointAt(file.Path());
        vbe.OpenProject(std::string(PV_SOURCE_DIR) + "/examples/Inventory/Inventory.vbp");
        pv::objVBE = &vbe;
    }
    void TearDown() override {
        pv::objVBE = nullptr;
        pv::ResetLibraryProcedures();
    }
    void PointAt(const std::string& location) {
        pv::WriteOption(store, pv::key::ProcvaultLocation, location);
    }
    // Plays the user in the next showing of `formName`.
    template <class Dialog>
    void When(const std::string& formName, std::function<void(Dialog&)> script) {
        ui.OnShow(formName, [script](forms::Form& form) { script(static_cast<Dialog&>(form)); });
    }
    // Each message as its icon ("i:", "!:", "?:", "x:") and its text, a failure report as "title: text";
    // the library's path as "@", its folder as "~"; "|" after each.
    std::string Said() const {
        std::string out;
        for (const auto& m : ui.Messages()) {
            std::string text =
                (m.Icon() == forms::vbCritical && m.title != "Procvault" ? m.title + ": " : "") + m.prompt;
            for (const auto& [from, to] : {std::pair{file.Path(), "@"}, {file.Dir().Path().string(), "~"}})
                for (auto at = text.find(from); at != std::string::npos; at = text.find(from))
                    text.replace(at, from.size(), to);
            out +=
                std::string(1, m.Icon() ? "x?!i"[m.Icon() / forms::vbCritical - 1] : '-') + ":" + text + "|";
        }
        return out;
    }
    // Runs `sql` on the library past the dialogs (to plant a trigger that fails a statement): SQLite's own
    // text on a file; on the server `serverSql` as is, or else `sql`'s statements in Jet's dialect.
    void RunRaw(const std::string& sql, const std::string& serverSql = "") {
        if (daotest::OnServer()) {
            if (serverSql.empty()) {
                auto db = file.Open();
                for (std::size_t from = 0, to = 0; from < sql.size(); from = to + 1)
                    db->Execute(sql.substr(from, (to = std::min(sql.find(';', from), sql.size())) - from));
                return;
            }
            PGconn* pg = PQconnectdb(file.Path().c_str());
            PGresult* result = PQexec(pg, serverSql.c_str());
            EXPECT_EQ(PQresultStatus(result), PGRES_COMMAND_OK) << PQerrorMessage(pg);
            PQclear(result);
            PQfinish(pg);
            return;
        }
        sqlite3* raw = nullptr;
        sqlite3_open(file.Path().c_str(), &raw);
        EXPECT_EQ(sqlite3_exec(raw, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK) << sql;
        sqlite3_close(raw);
    }
    // A server trigger raising "no" before `event` on `table`, when `condition` holds.
    static std::string ServerRefusal(const std::string& event, const std::string& table,
                                     const std::string& condition = "") {
        return "CREATE FUNCTION no() RETURNS trigger LANGUAGE plpgsql AS 'BEGIN RAISE EXCEPTION ''no''; "
               "END'; "
               "CREATE TRIGGER no BEFORE " +
               event + " ON \"" + table + "\" FOR EACH ROW " +
               (condition.empty() ? "" : "WHEN (" + condition + ") ") + "EXECUTE FUNCTION no()";
    }
    // Another program holds the library exclusively until `holder` is reset.
    void Lock() { holder = dao::DBEngine(daotest::kTestBusyTimeoutMs).OpenDatabase(file.Path(), true); }
    // The first column of `sql`'s rows, "|" after each.
    std::string Column(const std::string& sql) {
        std::string out;
        for (const auto& row : daotest::Rows(*file.Open(), sql)) out += row[0] + "|";
        return out;
    }
    // A list's entries, "|" after each.
    static std::string Items(const forms::ListControl& list) {
        std::string out;
        for (int i = 0; i < list.ListCount(); ++i) out += list.List(i) + "|";
        return out;
    }

    daotest::LibraryFile file;
    host::VBE vbe;
    forms::ScriptedUi ui;
    vbrt::MemorySettingsStore store;
    pv::Env env{ui, store};
    std::unique_ptr<dao::Database> holder;
};

}  // namespace librarytest
