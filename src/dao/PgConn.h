#pragma once
// A library in a PostgreSQL database, through libpq. Tables keep Jet's names
// (created quoted, so with their letter case), text columns compare without
// regard to case (citext), and AutoNumber keys are serial columns. Writers
// take one advisory lock per transaction, so that a procedure's lines get
// contiguous keys even when a team stores at once, as with the file's lock.
#include <libpq-fe.h>

#include <map>
#include <memory>
#include <string>

#include "dao/Connection.h"

namespace dao::detail {

struct PgResultFree {
    void operator()(PGresult* result) const { PQclear(result); }
};
using PgResult = std::unique_ptr<PGresult, PgResultFree>;

class PgConn final : public Conn {
public:
    // Connects to `uri` (3024 when no server or database answers, 3051 when refused).
    PgConn(const std::string& uri, int busyTimeoutMs, bool readOnly);
    ~PgConn() override { Close(); }

    bool IsOpen() const override { return pg_ != nullptr; }
    void Close() override;
    JetStatement Translate(std::string_view jetSql) override;
    std::string TableSource(const std::string& name) override { return Canonical(name); }
    std::string Quote(std::string_view name) const override;
    std::string Marker(int n) const override { return "$" + std::to_string(n); }
    std::string RowId(const std::string& table) override;
    std::string KeyField(const std::string& table, bool& autoIncrement) override;
    std::unique_ptr<Cursor> Query(const std::string& sql, const std::vector<Value>& params,
                                  const FailContext& context) override;
    long Run(const std::string& sql, const std::vector<Value>& params, const FailContext& context) override;
    long long NextKey(const std::string& table, const std::string& key, bool autoIncrement,
                      const FailContext& context) override;
    bool InEngineTransaction() override;
    void BeginWrite(const FailContext& context) override;
    void RollbackQuietly() override;
    std::vector<std::string> TableNames() override;
    bool OnServer() const override { return true; }
    void SyncKeys(const std::string& table) override;

    // Runs a statement as is and returns its result; failures raised with Jet's numbers.
    PgResult Exec(const std::string& sql, const std::vector<Value>& params, const FailContext& context);

private:
    struct Key {
        std::string column;  // "" when the table has no one-column primary key
        bool serial = false;
    };
    PGconn* pg_ = nullptr;
    // Table and column names of the library's schema by their lower case.
    std::map<std::string, std::string> names_;
    bool namesRead_ = false;
    std::map<std::string, Key> keys_;

    const std::map<std::string, std::string>& Names();
    std::string Canonical(const std::string& name);
    const Key& KeyOf(const std::string& table);
    [[noreturn]] void Fail(const PGresult* result, const FailContext& context);
};

// The library's tables in an empty PostgreSQL database; 3204 when it has tables.
void CreateServerLibrary(const std::string& uri);
// The server's own upkeep of the library's tables: space reclaimed, indexes rebuilt, statistics renewed.
void MaintainServerLibrary(const std::string& uri, int busyTimeoutMs);

}  // namespace dao::detail
