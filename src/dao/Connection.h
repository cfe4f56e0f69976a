#pragma once
// The engine's inner layer: the connection a Database and the record sets
// opened on it share, behind one interface per database engine, and, for the
// file engine, SQLite's statements, value conversion and the mapping of its
// failures onto Jet's numbers. Not for callers of the engine.
#include <sqlite3.h>

#include <map>
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

// What a failure is about, for the text of its error.
struct FailContext {
    std::string statement;  // the caller's text
    StatementKind kind = StatementKind::Other;
    std::string table;
};

// The rows of one statement, read forward.
class Cursor {
public:
    virtual ~Cursor() = default;
    virtual int ColumnCount() const = 0;
    virtual std::string ColumnName(int column) const = 0;
    // Moves to the next row; false when there is none.
    virtual bool Next() = 0;
    virtual Value Get(int column) const = 0;
};

// One open connection to a library, whatever engine holds it.
class Conn {
public:
    std::string path;  // the library's location as messages show it
    // Open transactions, outermost first; true marks a nested one (a savepoint).
    std::vector<bool> transactions;
    // A record set's own transaction, holding the write lock from AddNew to Update.
    bool pendingAdd = false;
    // Snapshots still reading their statement's rows.
    std::vector<Recordset*> streams;

    Conn() = default;
    Conn(const Conn&) = delete;
    Conn& operator=(const Conn&) = delete;
    virtual ~Conn() = default;

    virtual bool IsOpen() const = 0;
    // Rolls back a transaction still open and lets the connection go.
    virtual void Close() = 0;
    // Error 3420 once the database was closed.
    void CheckOpen() const;
    // Before this connection writes: open snapshots take the rest of their
    // rows first, so that they stay copies of the moment they were opened.
    void FinishStreams();

    // The engine's reading of a statement in Jet's dialect.
    virtual JetStatement Translate(std::string_view jetSql) = 0;
    // The engine's table behind a record set source naming a table (Jet's system names mapped).
    virtual std::string TableSource(const std::string& name) = 0;
    virtual std::string Quote(std::string_view name) const = 0;
    // The marker of the `n`th parameter of a statement (from 1).
    virtual std::string Marker(int n) const = 0;
    // The column that identifies a row of `table` for changes; "" when it has none.
    virtual std::string RowId(const std::string& table) = 0;
    // The AutoNumber field of `table`, if it has one.
    virtual std::string KeyField(const std::string& table, bool& autoIncrement) = 0;

    virtual std::unique_ptr<Cursor> Query(const std::string& sql, const std::vector<Value>& params,
                                          const FailContext& context) = 0;
    // Runs a statement that returns no rows; the number of rows it changed.
    virtual long Run(const std::string& sql, const std::vector<Value>& params,
                     const FailContext& context) = 0;
    // The next AutoNumber of `table`: past every key it holds or has held.
    virtual long long NextKey(const std::string& table, const std::string& key, bool autoIncrement,
                              const FailContext& context) = 0;

    // A transaction of the engine is open (the caller's or a record set's own).
    virtual bool InEngineTransaction() = 0;
    // Begins a transaction that holds the library's write lock until it ends.
    virtual void BeginWrite(const FailContext& context) = 0;
    virtual void RollbackQuietly() = 0;
    // Every table, as Jet's TableDefs names them.
    virtual std::vector<std::string> TableNames() = 0;
    virtual bool OnServer() const { return false; }
    // The AutoNumber of `table` past the keys it holds (SQLite's counter follows them by itself).
    virtual void SyncKeys(const std::string& /*table*/) {}
};

// Runs `work` inside a write transaction unless one is already open.
template <class F>
void InWriteTransaction(Conn& conn, F&& work) {
    if (conn.InEngineTransaction()) {
        work();
        return;
    }
    const FailContext context{"", StatementKind::Update, ""};
    conn.BeginWrite(context);
    try {
        work();
        conn.Run("COMMIT", {}, context);
    } catch (...) {
        conn.RollbackQuietly();
        throw;
    }
}

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

// A library file, through SQLite.
class SqliteConn final : public Conn {
public:
    sqlite3* db = nullptr;

    ~SqliteConn() override { Close(); }
    bool IsOpen() const override { return db != nullptr; }
    void Close() override;
    JetStatement Translate(std::string_view jetSql) override { return TranslateJet(jetSql); }
    std::string TableSource(const std::string& name) override;
    std::string Quote(std::string_view name) const override { return Bracketed(name); }
    std::string Marker(int /*n*/) const override { return "?"; }
    std::string RowId(const std::string& /*table*/) override { return "_rowid_"; }
    std::string KeyField(const std::string& table, bool& autoIncrement) override;
    std::unique_ptr<Cursor> Query(const std::string& sql, const std::vector<Value>& params,
                                  const FailContext& context) override;
    long Run(const std::string& sql, const std::vector<Value>& params, const FailContext& context) override;
    long long NextKey(const std::string& table, const std::string& key, bool autoIncrement,
                      const FailContext& context) override;
    bool InEngineTransaction() override { return db && !sqlite3_get_autocommit(db); }
    // Takes the write lock, then makes sure the file still is the one the path
    // names: a Repair & Compact may have put another under that name meanwhile,
    // and what was written here would be lost with the old file (3218).
    void BeginWrite(const FailContext& context) override;
    void RollbackQuietly() override;
    std::vector<std::string> TableNames() override;
    // Notes which file was opened, and waits up to `busyTimeoutMs` for another
    // connection's lock, but not once that file is no longer the one its path names.
    void RememberFile(int busyTimeoutMs);
    // Another file has taken the path's name since it was opened (false for a
    // connection opened otherwise). A connection on the replaced file must not
    // even read: SQLite would take the new file's journal for one of its own and
    // play it back.
    bool Replaced() const;
    // 3218 when the file was replaced and no transaction holds it.
    void CheckNotReplaced() const;

private:
    std::string absolutePath_;  // as opened, whatever the current folder is later
    unsigned long long device_ = 0;
    bool deviceKnown_ = false;
    int busyTimeoutMs_ = 0;
    static int WaitForLock(void* self, int attempts);
    // Statements with parameters, prepared once: storing a procedure runs the same insert for every line.
    std::map<std::string, Stmt> prepared_;
    Stmt& Prepared(const std::string& sql, const FailContext& context);
};

[[noreturn]] void Fail(SqliteConn& conn, int rc, const FailContext& context);

// Windows-1252 text of the program to SQLite's UTF-8 and back (ASCII passes as is).
std::string ToUtf8(std::string_view text);
std::string FromUtf8(const char* text, int bytes);

// Prepares one statement in SQLite syntax; error 3142 when text follows it.
Stmt Prepare(SqliteConn& conn, const std::string& sqliteSql, const FailContext& context);
void Bind(SqliteConn& conn, sqlite3_stmt* stmt, int index, const Value& value);
Value Column(sqlite3_stmt* stmt, int index);
// Steps once; true when a row is ready, false when done; failures raised.
bool Step(SqliteConn& conn, sqlite3_stmt* stmt, const FailContext& context);
// Runs a statement that returns no rows.
void Exec(SqliteConn& conn, const std::string& sqliteSql, const FailContext& context = {});

}  // namespace dao::detail
