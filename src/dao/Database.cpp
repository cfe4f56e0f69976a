#include "dao/Database.h"

#include <cctype>

#include "dao/Connection.h"
#include "dao/Errors.h"

namespace dao {
namespace {

// "sqlite_sequence" → "MSysSequence": the engine's tables under Jet's prefix.
std::string SystemName(const std::string& sqliteName) {
    std::string out = "MSys";
    bool upper = true;
    for (char c : sqliteName.substr(7)) {
        if (c == '_') {
            upper = true;
            continue;
        }
        out += upper ? static_cast<char>(std::toupper(static_cast<unsigned char>(c))) : c;
        upper = false;
    }
    return out;
}

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
    const JetStatement statement = TranslateJet(sql);
    if (statement.kind == StatementKind::Select) Raise(jet::CannotExecuteSelect);
    const detail::FailContext context{sql, statement.kind, statement.table};
    detail::Stmt stmt = detail::Prepare(*conn_, statement.sql, context);
    conn_->FinishStreams();
    detail::InWriteTransaction(*conn_, [&] {
        while (detail::Step(*conn_, stmt.get(), context)) {
        }
    });
    recordsAffected_ = sqlite3_changes(conn_->db);
}

std::vector<TableDef> Database::TableDefs() {
    conn_->CheckOpen();
    std::vector<TableDef> defs{TableDef("MSysObjects")};
    detail::Stmt stmt =
        detail::Prepare(*conn_, "SELECT name FROM sqlite_master WHERE type='table' ORDER BY name", {});
    while (detail::Step(*conn_, stmt.get(), {})) {
        std::string name = detail::Column(stmt.get(), 0).ToText();
        defs.emplace_back(name.rfind("sqlite_", 0) == 0 ? SystemName(name) : name);
    }
    return defs;
}

void Database::BeginTrans() {
    conn_->CheckOpen();
    if (conn_->pendingAdd) Raise(jet::NotSupported);
    conn_->FinishStreams();
    const bool nested = !conn_->transactions.empty();
    detail::Exec(*conn_,
                 nested ? "SAVEPOINT pv" + std::to_string(conn_->transactions.size()) : "BEGIN IMMEDIATE",
                 kTransaction);
    conn_->transactions.push_back(nested);
}

void Database::CommitTrans() {
    conn_->CheckOpen();
    if (conn_->transactions.empty()) Raise(jet::NoTransaction);
    const bool nested = conn_->transactions.back();
    const std::size_t level = conn_->transactions.size() - 1;
    detail::Exec(*conn_, nested ? "RELEASE pv" + std::to_string(level) : "COMMIT", kTransaction);
    conn_->transactions.pop_back();
}

void Database::Rollback() {
    conn_->CheckOpen();
    if (conn_->transactions.empty()) Raise(jet::NoTransaction);
    const bool nested = conn_->transactions.back();
    const std::string level = std::to_string(conn_->transactions.size() - 1);
    conn_->transactions.pop_back();
    if (nested) {
        detail::Exec(*conn_, "ROLLBACK TO pv" + level, kTransaction);
        detail::Exec(*conn_, "RELEASE pv" + level, kTransaction);
    } else {
        detail::Exec(*conn_, "ROLLBACK", kTransaction);
    }
}

bool Database::InTransaction() const {
    return !conn_->transactions.empty();
}

void Database::Close() {
    if (!conn_ || !conn_->IsOpen()) return;
    if (!sqlite3_get_autocommit(conn_->db)) sqlite3_exec(conn_->db, "ROLLBACK", nullptr, nullptr, nullptr);
    conn_->Close();
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
