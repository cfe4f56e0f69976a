#pragma once
// The engine's inner layer: one SQLite connection shared by a Database and the
// record sets opened on it, prepared statements, value conversion and the
// mapping of SQLite's failures onto Jet's numbers. Not for callers of the engine.
#include <sqlite3.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "dao/JetSql.h"
#include "dao/Value.h"

namespace dao {
class Recordset;
}

namespace dao::detail {

struct Conn {
    sqlite3* db = nullptr;
    std::string path;
    // Open transactions, outermost first; true marks a nested one (a savepoint).
    std::vector<bool> transactions;
    // A record set's own transaction, holding the write lock from AddNew to Update.
    bool pendingAdd = false;
    // Snapshots still reading their statement's rows.
    std::vector<Recordset*> streams;

    Conn() = default;
    Conn(const Conn&) = delete;
    Conn& operator=(const Conn&) = delete;
    ~Conn() { Close(); }
    void Close();
    bool IsOpen() const { return db != nullptr; }
    // Error 3420 once the database was closed.
    void CheckOpen() const;
    // Before this connection writes: open snapshots take the rest of their
    // rows first, so that they stay copies of the moment they were opened.
    void FinishStreams();
};

// What a failure is about, for the text of its error.
struct FailContext {
    std::string statement;  // the caller's text
    StatementKind kind = StatementKind::Other;
    std::string table;
};

[[noreturn]] void Fail(Conn& conn, int rc, const FailContext& context);

class Stmt {
public:
    Stmt() = default;
    explicit Stmt(sqlite3_stmt* s) : s_(s) {}
    Stmt(Stmt&& other) noexcept : s_(other.s_) { other.s_ = nullptr; }
    Stmt& operator=(Stmt&& other) noexcept;
    Stmt(const Stmt&) = delete;
    Stmt& operator=(const Stmt&) = delete;
    ~Stmt() { sqlite3_finalize(s_); }
    sqlite3_stmt* get() const { return s_; }
    explicit operator bool() const { return s_ != nullptr; }

private:
    sqlite3_stmt* s_ = nullptr;
};

// Windows-1252 text of the program to SQLite's UTF-8 and back (ASCII passes as is).
std::string ToUtf8(std::string_view text);
std::string FromUtf8(const char* text, int bytes);

// Prepares one statement in SQLite syntax; error 3142 when text follows it.
Stmt Prepare(Conn& conn, const std::string& sqliteSql, const FailContext& context);
void Bind(Conn& conn, sqlite3_stmt* stmt, int index, const Value& value);
Value Column(sqlite3_stmt* stmt, int index);
// Steps once; true when a row is ready, false when done; failures raised.
bool Step(Conn& conn, sqlite3_stmt* stmt, const FailContext& context);
// Runs a statement that returns no rows.
void Exec(Conn& conn, const std::string& sqliteSql, const FailContext& context = {});

// Runs `work` inside a write transaction unless one is already open.
template <class F>
void InWriteTransaction(Conn& conn, F&& work) {
    if (!sqlite3_get_autocommit(conn.db)) {
        work();
        return;
    }
    Exec(conn, "BEGIN IMMEDIATE", {"", StatementKind::Update, ""});
    try {
        work();
        Exec(conn, "COMMIT", {"", StatementKind::Update, ""});
    } catch (...) {
        sqlite3_exec(conn.db, "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
}

}  // namespace dao::detail
