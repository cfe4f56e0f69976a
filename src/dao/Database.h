#pragma once
// DAO's Database: one open library file. Statements are written in Jet's
// dialect (see JetSql.h). A transaction, begun and ended by the caller around
// the work of one user action, makes that work all-or-nothing; without one,
// every statement and every saved row stands on its own, as in DAO.
#include <memory>
#include <string>
#include <vector>

#include "dao/Recordset.h"

namespace dao {

namespace detail {
class Conn;
}

class TableDef {
public:
    explicit TableDef(std::string name) : name_(std::move(name)) {}
    const std::string& Name() const { return name_; }

private:
    std::string name_;
};

class Database {
public:
    explicit Database(std::shared_ptr<detail::Conn> conn);
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    const std::string& Name() const;
    // `source`: a SELECT statement or a table name; type 1, 2 or 4; options 8 (append only).
    std::unique_ptr<Recordset> OpenRecordset(const std::string& source, int type = dbOpenTable,
                                             int options = 0);
    // A DELETE, UPDATE or INSERT statement; 3065 for a SELECT.
    void Execute(const std::string& sql);
    long RecordsAffected() const { return recordsAffected_; }
    // Every table, the engine's own included: SQLite's catalogue shows as
    // "MSysObjects" and its other internal tables as "MSys" + their name.
    std::vector<TableDef> TableDefs();

    // Transactions nest; the outermost holds the file's write lock until it ends.
    void BeginTrans();
    void CommitTrans();
    void Rollback();
    bool InTransaction() const;

    // Rolls back an open transaction, as DAO does when a database is closed.
    void Close();

    // A library on a database server rather than in a file.
    bool OnServer() const;
    // The rows of a statement in the engine's own dialect (SQLite's or
    // PostgreSQL's), with $1-style or ? markers: for work Jet's dialect cannot say.
    std::vector<std::vector<Value>> QueryNative(const std::string& sql,
                                                const std::vector<Value>& params = {});
    // After rows were added with keys of their own: the next AutoNumber of
    // `table` goes past them.
    void SyncKeys(const std::string& table);

private:
    std::shared_ptr<detail::Conn> conn_;
    long recordsAffected_ = 0;
};

// Begins a transaction; rolls it back when it goes out of scope uncommitted.
class Transaction {
public:
    explicit Transaction(Database& db) : db_(&db) { db.BeginTrans(); }
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    void Commit();

private:
    Database* db_;
};

}  // namespace dao
