#include "dao/Database.h"

#include "dao/Connection.h"
#include "dao/Errors.h"

namespace dao {
namespace {

const detail::FailContext kTransaction{"", StatementKind::Update, ""};

}  // namespace

Database::Database(std::shared_ptr<detail::Conn> conn) : conn_(std::move(conn)) {}

Database::~Database() {
    Close();
}

const std::string& Database::Name() const {
    return conn_->path;
}

std::unique_ptr<Recordset> Database::OpenRecordset(const std::string& source, int type, int options) {
    conn_->CheckOpen();
    return std::make_unique<Recordset>(conn_, source, type, options);
}

void Database::Execute(const std::string& sql) {
    conn_->CheckOpen();
    const JetStatement statement = conn_->Translate(sql);
    if (statement.kind == StatementKind::Select) Raise(jet::CannotExecuteSelect);
    const detail::FailContext context{sql, statement.kind, statement.table};
    conn_->FinishStreams();
    detail::InWriteTransaction(*conn_, [&] { recordsAffected_ = conn_->Run(statement.sql, {}, context); });
}

std::vector<TableDef> Database::TableDefs() {
    conn_->CheckOpen();
    std::vector<TableDef> defs;
    for (std::string& name : conn_->TableNames()) defs.emplace_back(std::move(name));
    return defs;
}

void Database::BeginTrans() {
    conn_->CheckOpen();
    if (conn_->pendingAdd) Raise(jet::NotSupported);
    conn_->FinishStreams();
    const bool nested = !conn_->transactions.empty();
    if (nested) {
        conn_->Run("SAVEPOINT pv" + std::to_string(conn_->transactions.size()), {}, kTransaction);
    } else {
        conn_->BeginWrite(kTransaction);
    }
    conn_->transactions.push_back(nested);
}

void Database::CommitTrans() {
    conn_->CheckOpen();
    if (conn_->transactions.empty()) Raise(jet::NoTransaction);
    const bool nested = conn_->transactions.back();
    const std::size_t level = conn_->transactions.size() - 1;
    conn_->Run(nested ? "RELEASE pv" + std::to_string(level) : "COMMIT", {}, kTransaction);
    conn_->transactions.pop_back();
}

void Database::Rollback() {
    conn_->CheckOpen();
    if (conn_->transactions.empty()) Raise(jet::NoTransaction);
    const bool nested = conn_->transactions.back();
    const std::string level = std::to_string(conn_->transactions.size() - 1);
    conn_->transactions.pop_back();
    if (nested) {
        conn_->Run("ROLLBACK TO pv" + level, {}, kTransaction);
        conn_->Run("RELEASE pv" + level, {}, kTransaction);
    } else {
        conn_->Run("ROLLBACK", {}, kTransaction);
    }
}

bool Database::InTransaction() const {
    return !conn_->transactions.empty();
}

void Database::Close() {
    if (!conn_ || !conn_->IsOpen()) return;
    conn_->Close();
}

bool Database::OnServer() const {
    return conn_->OnServer();
}

std::vector<std::vector<Value>> Database::QueryNative(const std::string& sql,
                                                      const std::vector<Value>& params) {
    conn_->CheckOpen();
    conn_->FinishStreams();
    std::unique_ptr<detail::Cursor> cursor = conn_->Query(sql, params, {sql, StatementKind::Select, ""});
    std::vector<std::vector<Value>> rows;
    while (cursor->Next()) {
        std::vector<Value>& row = rows.emplace_back();
        for (int i = 0; i < cursor->ColumnCount(); ++i) row.push_back(cursor->Get(i));
    }
    return rows;
}

void Database::SyncKeys(const std::string& table) {
    conn_->CheckOpen();
    conn_->SyncKeys(table);
}

Transaction::~Transaction() {
    if (!db_) return;
    try {
        db_->Rollback();
    } catch (const vbrt::VbError&) {
        // Closing the database has rolled it back already.
    }
}

void Transaction::Commit() {
    db_->CommitTrans();
    db_ = nullptr;
}

}  // namespace dao
