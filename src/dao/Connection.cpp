#include "dao/Connection.h"

#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <iterator>

#include "dao/Errors.h"
#include "vbrt/Text.h"

namespace dao::detail {
namespace {

bool IsAscii(std::string_view text) {
    for (char c : text)
        if (c & 0x80) return false;
    return true;
}

// Text of SQLite's message after `prefix`, e.g. the table of "no such table: X".
std::string After(const std::string& message, std::string_view prefix) {
    const auto at = message.find(prefix);
    return at == std::string::npos ? std::string() : message.substr(at + prefix.size());
}

std::vector<std::string> UserTables(SqliteConn& conn) {
    std::vector<std::string> names;
    Stmt stmt = Prepare(conn, "SELECT name FROM sqlite_master WHERE type='table'", {});
    while (Step(conn, stmt.get(), {})) names.push_back(Column(stmt.get(), 0).ToText());
    return names;
}

// Tables that `table` refers to (children's parents) ...
std::vector<std::string> ParentsOf(SqliteConn& conn, const std::string& table) {
    std::vector<std::string> parents;
    Stmt stmt = Prepare(conn, "SELECT \"table\" FROM pragma_foreign_key_list(?)", {});
    Bind(conn, stmt.get(), 1, table);
    while (Step(conn, stmt.get(), {})) parents.push_back(Column(stmt.get(), 0).ToText());
    return parents;
}

// ... and the tables that refer to `table`.
std::string FirstChildOf(SqliteConn& conn, const std::string& table) {
    for (const std::string& candidate : UserTables(conn))
        for (const std::string& parent : ParentsOf(conn, candidate))
            if (vbrt::EqualsText(parent, table)) return candidate;
    return table;
}

[[noreturn]] void FailForeignKey(SqliteConn& conn, const FailContext& context) {
    const std::vector<std::string> parents = ParentsOf(conn, context.table);
    const bool changesChild =
        context.kind == StatementKind::Insert || (context.kind == StatementKind::Update && !parents.empty());
    if (changesChild) Raise(jet::RelatedRecordRequired, parents.empty() ? context.table : parents.front());
    Raise(jet::RelatedRecordsExist, FirstChildOf(conn, context.table));
}

[[noreturn]] void FailError(const std::string& message, const FailContext& context) {
    if (auto table = After(message, "no such table: "); !table.empty()) {
        if (auto dot = table.find('.'); dot != std::string::npos) table = table.substr(dot + 1);
        Raise(jet::TableNotFound, table);
    }
    if (auto column = After(message, "no such column: "); !column.empty()) Raise(jet::UnknownField, column);
    if (message.find("syntax error") != std::string::npos ||
        message.find("unrecognized token") != std::string::npos)
        throw vbrt::VbError(jet::SyntaxError,
                            JetText(jet::SyntaxError, context.statement) + " (" + message + ")");
    Raise(jet::ReservedError, message);
}

}  // namespace

void SqliteConn::Close() {
    if (db) {
        if (!sqlite3_get_autocommit(db)) sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
        prepared_.clear();
        sqlite3_close_v2(db);
    }
    db = nullptr;
    transactions.clear();
    pendingAdd = false;
}

void Fail(SqliteConn& conn, int rc, const FailContext& context) {
    const std::string message = conn.db ? sqlite3_errmsg(conn.db) : sqlite3_errstr(rc);
    const bool writing = context.kind != StatementKind::Select && context.kind != StatementKind::Other;
    switch (rc & 0xFF) {
        case SQLITE_BUSY:
        case SQLITE_LOCKED:
            if (writing) Raise(jet::CouldNotUpdateLocked);
            Raise(jet::FileInUse, conn.path);
        case SQLITE_READONLY:
            Raise(jet::ReadOnly);
        case SQLITE_NOTADB:
            Raise(jet::UnrecognizedFormat, conn.path);
        case SQLITE_CORRUPT:
            Raise(jet::CorruptDatabase, conn.path);
        case SQLITE_CANTOPEN:
            Raise(jet::CannotOpenFile, conn.path);
        case SQLITE_FULL:
            Raise(jet::DiskFull);
        case SQLITE_IOERR:
            Raise(jet::DiskOrNetworkError, message);
        case SQLITE_PERM:
        case SQLITE_AUTH:
            Raise(jet::CannotOpenFile, conn.path);
        case SQLITE_CONSTRAINT:
            if (rc == SQLITE_CONSTRAINT_FOREIGNKEY) FailForeignKey(conn, context);
            if (rc == SQLITE_CONSTRAINT_NOTNULL) Raise(jet::FieldRequired, After(message, "failed: "));
            if (rc == SQLITE_CONSTRAINT_PRIMARYKEY || rc == SQLITE_CONSTRAINT_UNIQUE)
                Raise(jet::DuplicateKey);
            Raise(jet::ReservedError, message);
        case SQLITE_ERROR:
            FailError(message, context);
        default:
            Raise(jet::ReservedError, message);
    }
}

Stmt& Stmt::operator=(Stmt&& other) noexcept {
    if (this != &other) {
        sqlite3_finalize(s_);
        s_ = other.s_;
        other.s_ = nullptr;
    }
    return *this;
}

std::string ToUtf8(std::string_view text) {
    return IsAscii(text) ? std::string(text) : vbrt::Cp1252ToUtf8(text);
}

std::string FromUtf8(const char* text, int bytes) {
    const std::string_view view(text, static_cast<std::size_t>(bytes));
    return IsAscii(view) ? std::string(view) : vbrt::Utf8ToCp1252(view);
}

Stmt Prepare(SqliteConn& conn, const std::string& sqliteSql, const FailContext& context) {
    conn.CheckOpen();
    conn.CheckNotReplaced();
    const std::string utf8 = ToUtf8(sqliteSql);
    sqlite3_stmt* raw = nullptr;
    const char* tail = nullptr;
    const int rc = sqlite3_prepare_v2(conn.db, utf8.c_str(), static_cast<int>(utf8.size() + 1), &raw, &tail);
    Stmt stmt(raw);
    if (rc != SQLITE_OK) Fail(conn, sqlite3_extended_errcode(conn.db), context);
    if (!stmt) Raise(jet::SyntaxError, context.statement);  // nothing but blanks or comments
    for (; tail && *tail; ++tail)
        if (!std::isspace(static_cast<unsigned char>(*tail))) Raise(jet::CharactersAfterEnd);
    return stmt;
}

void Bind(SqliteConn& conn, sqlite3_stmt* stmt, int index, const Value& value) {
    int rc = SQLITE_OK;
    if (value.IsNull()) {
        rc = sqlite3_bind_null(stmt, index);
    } else if (value.IsInteger()) {
        rc = sqlite3_bind_int64(stmt, index, value.AsInt64());
    } else if (value.IsDouble()) {
        rc = sqlite3_bind_double(stmt, index, value.AsDouble());
    } else {
        const std::string utf8 = ToUtf8(std::get<std::string>(value.Raw()));
        rc = sqlite3_bind_text(stmt, index, utf8.data(), static_cast<int>(utf8.size()), SQLITE_TRANSIENT);
    }
    if (rc != SQLITE_OK) Fail(conn, rc, {});
}

Value Column(sqlite3_stmt* stmt, int index) {
    switch (sqlite3_column_type(stmt, index)) {
        case SQLITE_INTEGER:
            return Value(static_cast<long long>(sqlite3_column_int64(stmt, index)));
        case SQLITE_FLOAT:
            return Value(sqlite3_column_double(stmt, index));
        case SQLITE_NULL:
            return Value();
        default: {
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, index));
            return Value(FromUtf8(text ? text : "", sqlite3_column_bytes(stmt, index)));
        }
    }
}

bool Step(SqliteConn& conn, sqlite3_stmt* stmt, const FailContext& context) {
    const int rc = sqlite3_step(stmt);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    const int code = sqlite3_extended_errcode(conn.db);
    sqlite3_reset(stmt);
    Fail(conn, code, context);
}

void Exec(SqliteConn& conn, const std::string& sqliteSql, const FailContext& context) {
    Stmt stmt = Prepare(conn, sqliteSql, context);
    while (Step(conn, stmt.get(), context)) {
    }
}

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

class SqliteCursor final : public Cursor {
public:
    SqliteCursor(SqliteConn& conn, Stmt stmt, FailContext context)
        : conn_(conn), stmt_(std::move(stmt)), context_(std::move(context)) {}
    int ColumnCount() const override { return sqlite3_column_count(stmt_.get()); }
    std::string ColumnName(int column) const override {
        const char* name = sqlite3_column_name(stmt_.get(), column);
        return name ? name : "";
    }
    bool Next() override { return Step(conn_, stmt_.get(), context_); }
    Value Get(int column) const override { return Column(stmt_.get(), column); }

private:
    SqliteConn& conn_;
    Stmt stmt_;
    FailContext context_;
};

void BindAll(SqliteConn& conn, sqlite3_stmt* stmt, const std::vector<Value>& params) {
    for (std::size_t i = 0; i < params.size(); ++i) Bind(conn, stmt, static_cast<int>(i + 1), params[i]);
}

}  // namespace

void Conn::CheckOpen() const {
    if (!IsOpen()) Raise(jet::ObjectInvalid);
}

// Jet's system table names for SQLite's own: MSysObjects is the catalogue.
std::string SqliteConn::TableSource(const std::string& name) {
    if (vbrt::EqualsText(name, "MSysObjects")) return "sqlite_master";
    if (name.size() > 4 && vbrt::EqualsText(name.substr(0, 4), "MSys")) {
        std::string out = "sqlite";
        for (char c : name.substr(4)) {
            if (std::isupper(static_cast<unsigned char>(c))) out += '_';
            out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
        return out;
    }
    return name;
}

// The INTEGER PRIMARY KEY of `table`, AUTOINCREMENT or not.
std::string SqliteConn::KeyField(const std::string& table, bool& autoIncrement) {
    Stmt info = Prepare(*this, "SELECT name, type, pk FROM pragma_table_info(?)", {});
    Bind(*this, info.get(), 1, table);
    std::string key;
    int keys = 0;
    while (Step(*this, info.get(), {})) {
        if (Column(info.get(), 2).AsInt64() == 0) continue;
        ++keys;
        if (vbrt::EqualsText(Column(info.get(), 1).ToText(), "INTEGER")) key = Column(info.get(), 0).ToText();
    }
    Stmt sql = Prepare(*this, "SELECT sql FROM sqlite_master WHERE type='table' AND name=?", {});
    Bind(*this, sql.get(), 1, table);
    autoIncrement = Step(*this, sql.get(), {}) &&
                    vbrt::UCase(Column(sql.get(), 0).ToText()).find("AUTOINCREMENT") != std::string::npos;
    return keys == 1 ? key : std::string();
}

std::unique_ptr<Cursor> SqliteConn::Query(const std::string& sql, const std::vector<Value>& params,
                                          const FailContext& context) {
    Stmt stmt = Prepare(*this, sql, context);
    BindAll(*this, stmt.get(), params);
    return std::make_unique<SqliteCursor>(*this, std::move(stmt), context);
}

Stmt& SqliteConn::Prepared(const std::string& sql, const FailContext& context) {
    auto it = prepared_.find(sql);
    if (it == prepared_.end()) it = prepared_.emplace(sql, Prepare(*this, sql, context)).first;
    sqlite3_reset(it->second.get());
    return it->second;
}

long SqliteConn::Run(const std::string& sql, const std::vector<Value>& params, const FailContext& context) {
    if (params.empty()) {
        Exec(*this, sql, context);
    } else {
        CheckNotReplaced();
        sqlite3_stmt* stmt = Prepared(sql, context).get();
        BindAll(*this, stmt, params);
        Step(*this, stmt, context);
        sqlite3_reset(stmt);
    }
    return sqlite3_changes(db);
}

long long SqliteConn::NextKey(const std::string& table, const std::string& /*key*/, bool autoIncrement,
                              const FailContext& context) {
    const std::string held = autoIncrement ? "(SELECT seq FROM sqlite_sequence WHERE name=?1)" : "0";
    sqlite3_stmt* stmt = Prepared("SELECT max(coalesce(" + held + ",0), coalesce((SELECT max(_rowid_) FROM " +
                                      Bracketed(table) + "),0)) + 1",
                                  context)
                             .get();
    if (autoIncrement) Bind(*this, stmt, 1, table);
    Step(*this, stmt, context);
    const long long next = sqlite3_column_int64(stmt, 0);
    sqlite3_reset(stmt);
    return next;
}

namespace {

[[noreturn]] void RaiseReplaced() {
    Raise(jet::CouldNotUpdateLocked, "the library file was replaced while it was open; try again");
}

}  // namespace

void SqliteConn::BeginWrite(const FailContext& context) {
    try {
        Exec(*this, "BEGIN IMMEDIATE", context);
    } catch (const vbrt::VbError&) {
        if (Replaced()) RaiseReplaced();
        throw;
    }
    if (!Replaced()) return;
    RollbackQuietly();
    RaiseReplaced();
}

void SqliteConn::RememberFile(int busyTimeoutMs) {
    std::error_code ec;
    absolutePath_ = std::filesystem::absolute(path, ec).string();
    struct stat info {};
    deviceKnown_ = ::stat(absolutePath_.c_str(), &info) == 0;
    device_ = info.st_dev;
    busyTimeoutMs_ = busyTimeoutMs;
    sqlite3_busy_handler(db, &SqliteConn::WaitForLock, this);
}

// SQLite compares the inode of its open file with the one the path names now;
// the device is compared here.
bool SqliteConn::Replaced() const {
    if (!db || absolutePath_.empty()) return false;
    int moved = 0;
    if (sqlite3_file_control(db, "main", SQLITE_FCNTL_HAS_MOVED, &moved) == SQLITE_OK && moved) return true;
    struct stat info {};
    if (::stat(absolutePath_.c_str(), &info) != 0) return true;
    return deviceKnown_ && info.st_dev != device_;
}

void SqliteConn::CheckNotReplaced() const {
    if (sqlite3_get_autocommit(db) && Replaced()) RaiseReplaced();
}

// SQLite's own waiting (sqlite3_busy_timeout), looking after every pause whether
// the file was replaced meanwhile, as it is when a compaction lets its waiters go.
int SqliteConn::WaitForLock(void* self, int attempts) {
    static constexpr int kPauses[] = {1, 2, 5, 10, 15, 20, 25, 25, 25, 50, 50, 100};
    constexpr int kCount = static_cast<int>(std::size(kPauses));
    const auto& conn = *static_cast<const SqliteConn*>(self);
    int waited = 0;
    for (int i = 0; i < std::min(attempts, kCount); ++i) waited += kPauses[i];
    if (attempts > kCount) waited += (attempts - kCount) * kPauses[kCount - 1];
    const int pause = std::min(kPauses[std::min(attempts, kCount - 1)], conn.busyTimeoutMs_ - waited);
    if (pause <= 0) return 0;
    sqlite3_sleep(pause);
    return conn.Replaced() ? 0 : 1;
}

void SqliteConn::RollbackQuietly() {
    if (db && !sqlite3_get_autocommit(db)) sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
    pendingAdd = false;
}

// Every table, the engine's own included: SQLite's catalogue shows as
// "MSysObjects" and its other internal tables as "MSys" + their name. The word
// index and its shadow tables are the engine's business, not the library's tables.
std::vector<std::string> SqliteConn::TableNames() {
    std::vector<std::string> names{"MSysObjects"};
    Stmt stmt =
        Prepare(*this,
                "SELECT name FROM sqlite_master WHERE type='table' AND name NOT IN ('ProcedureSearch', "
                "'ProcedureSearch_data', 'ProcedureSearch_idx', 'ProcedureSearch_content', "
                "'ProcedureSearch_docsize', 'ProcedureSearch_config') ORDER BY name",
                {});
    while (Step(*this, stmt.get(), {})) {
        std::string name = Column(stmt.get(), 0).ToText();
        names.push_back(name.rfind("sqlite_", 0) == 0 ? SystemName(name) : name);
    }
    return names;
}

}  // namespace dao::detail
