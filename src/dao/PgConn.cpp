#include "dao/PgConn.h"

#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <string_view>

#include "dao/Errors.h"
#include "dao/Location.h"
#include "vbrt/Text.h"

namespace dao::detail {
namespace {

// Any fixed number: every Procvault writer of one database waits on the same lock.
constexpr long long kWriteLock = 0x50726f63;

// Type numbers of PostgreSQL's built-in types (pg_type.h); the rest reads as text.
enum : Oid { kBool = 16, kInt8 = 20, kInt2 = 21, kInt4 = 23, kFloat4 = 700, kFloat8 = 701, kNumeric = 1700 };

std::string Lower(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

std::string Field(const PGresult* result, int code) {
    const char* text = result ? PQresultErrorField(result, code) : nullptr;
    return text ? text : "";
}

// The name between the first pair of double quotes of a server message.
std::string QuotedIn(const std::string& message) {
    const auto open = message.find('"');
    const auto close = open == std::string::npos ? open : message.find('"', open + 1);
    return close == std::string::npos ? std::string() : message.substr(open + 1, close - open - 1);
}

// The server folds an unknown unquoted name to lower case; the message names it as the user wrote it.
std::string AsWritten(const std::string& name, const std::string& statement) {
    const std::string lower = Lower(statement);
    const auto at = lower.find(Lower(name));
    return at == std::string::npos ? name : statement.substr(at, name.size());
}

// libpq takes text as C strings: a NUL would silently cut the value short.
std::string ParamText(const Value& value) {
    if (value.IsInteger()) return std::to_string(value.AsInt64());
    if (value.IsDouble()) {
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, "%.17g", value.AsDouble());
        return buffer;
    }
    const std::string& text = std::get<std::string>(value.Raw());
    if (text.find('\0') != std::string::npos)
        Raise(jet::ReservedError, "a server library cannot hold text with a NUL character");
    return ToUtf8(text);
}

bool IsTransactionControl(const std::string& sql) {
    const std::string head = Lower(sql.substr(0, sql.find(' ')));
    return head == "begin" || head == "commit" || head == "rollback" || head == "savepoint" ||
           head == "release";
}

class PgCursor final : public Cursor {
public:
    explicit PgCursor(PgResult result) : result_(std::move(result)), rows_(PQntuples(result_.get())) {}
    int ColumnCount() const override { return PQnfields(result_.get()); }
    std::string ColumnName(int column) const override { return PQfname(result_.get(), column); }
    bool Next() override { return ++row_ < rows_; }
    Value Get(int column) const override {
        PGresult* r = result_.get();
        if (PQgetisnull(r, row_, column)) return Value();
        const char* text = PQgetvalue(r, row_, column);
        switch (PQftype(r, column)) {
            case kInt2:
            case kInt4:
            case kInt8:
                return Value(std::strtoll(text, nullptr, 10));
            case kBool:
                return Value(static_cast<long long>(*text == 't'));
            case kFloat4:
            case kFloat8:
            case kNumeric:
                return Value(std::strtod(text, nullptr));
            default:
                return Value(FromUtf8(text, PQgetlength(r, row_, column)));
        }
    }

private:
    PgResult result_;
    int rows_;
    int row_ = -1;
};

// libpq's first line, without its "connection to server ... failed:" lead-in and the level word.
std::string Reason(const std::string& message) {
    std::string line = message.substr(0, message.find('\n'));
    if (const auto failed = line.find("failed: "); failed != std::string::npos) line.erase(0, failed + 8);
    for (const char* level : {"FATAL:  ", "ERROR:  "})
        if (line.rfind(level, 0) == 0) line.erase(0, std::string_view(level).size());
    return line;
}

bool Holds(const std::string& text, std::initializer_list<const char*> parts) {
    for (const char* part : parts)
        if (text.find(part) != std::string::npos) return true;
    return false;
}

// Jet's numbers as the dialogs test them (3024 nothing to open there, 3051 refused), in words
// that say what the server answered.
[[noreturn]] void FailConnect(PGconn* pg, const std::string& shown) {
    const std::string reason = Reason(pg ? PQerrorMessage(pg) : "out of memory");
    if (Holds(reason, {"authentication", "password", "permission denied", "role \"", "pg_hba.conf"}))
        throw vbrt::VbError(jet::CannotOpenFile,
                            "The server refused the login to '" + shown + "': " + reason);
    if (Holds(reason, {"database \""}))
        throw vbrt::VbError(jet::FileNotFound, "There is no such database for '" + shown + "': " + reason);
    throw vbrt::VbError(jet::FileNotFound, "The server of '" + shown + "' is not reachable: " + reason);
}

// Every library text is stored and read as UTF-8; a database in another encoding
// would refuse the first line outside its character set.
void RequireUtf8(PGconn* pg, const std::string& shown) {
    const char* encoding = PQparameterStatus(pg, "server_encoding");
    if (encoding && std::string_view(encoding) == "UTF8") return;
    throw vbrt::VbError(jet::UnrecognizedFormat,
                        "The database '" + shown + "' uses the encoding " + (encoding ? encoding : "?") +
                            "; a Procvault library database must be UTF8 (createdb -T template0 -E UTF8)");
}

}  // namespace

PgConn::PgConn(const std::string& location, int busyTimeoutMs, bool readOnly) {
    const std::string uri = ServerUri(location);
    path = MaskedLocation(location);
    // libpq's own account of a URI it cannot read may quote the password.
    if (!ParsesAsUri(uri))
        throw vbrt::VbError(jet::FileNotFound,
                            "'" + path +
                                "' is not a postgresql:// location the server's client can "
                                "read: check its parameter names and %-escapes");
    const std::string options =
        "-c lock_timeout=" + std::to_string(busyTimeoutMs) + " -c standard_conforming_strings=on" +
        // The library's reads are small or whole-table: starting workers costs more than they save.
        " -c max_parallel_workers_per_gather=0" + (readOnly ? " -c default_transaction_read_only=on" : "");
    // Later keywords win over the same settings in the URI: these are what the engine relies on.
    const char* keywords[] = {"dbname",  "client_encoding", "application_name",
                              "options", "connect_timeout", nullptr};
    const char* values[] = {uri.c_str(), "UTF8", "procvault", options.c_str(), "10", nullptr};
    pg_ = PQconnectdbParams(keywords, values, 1);
    if (PQstatus(pg_) != CONNECTION_OK) {
        PGconn* failed = pg_;
        pg_ = nullptr;
        try {
            FailConnect(failed, path);
        } catch (...) {
            PQfinish(failed);
            throw;
        }
    }
    try {
        RequireUtf8(pg_, path);
    } catch (...) {
        Close();
        throw;
    }
}

void PgConn::Close() {
    if (pg_) {
        if (PQtransactionStatus(pg_) != PQTRANS_IDLE) PgResult(PQexec(pg_, "ROLLBACK"));
        PQfinish(pg_);
    }
    pg_ = nullptr;
    transactions.clear();
    pendingAdd = false;
}

std::string PgConn::Quote(std::string_view name) const {
    std::string out = "\"";
    for (char c : name) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

const std::map<std::string, std::string>& PgConn::Names() {
    if (namesRead_) return names_;
    names_.clear();
    PgResult result = Exec(
        "SELECT c.relname, a.attname FROM pg_class c JOIN pg_namespace n ON n.oid = c.relnamespace "
        "LEFT JOIN pg_attribute a ON a.attrelid = c.oid AND a.attnum > 0 AND NOT a.attisdropped "
        "WHERE n.nspname = current_schema() AND c.relkind IN ('r', 'p', 'v')",
        {}, {});
    for (int row = 0; row < PQntuples(result.get()); ++row)
        for (int column = 0; column < 2; ++column)
            if (!PQgetisnull(result.get(), row, column)) {
                const std::string name =
                    FromUtf8(PQgetvalue(result.get(), row, column), PQgetlength(result.get(), row, column));
                names_.emplace(Lower(name), name);
            }
    namesRead_ = true;
    return names_;
}

std::string PgConn::Canonical(const std::string& name) {
    const auto& names = Names();
    const auto it = names.find(Lower(name));
    return it == names.end() ? name : it->second;
}

JetStatement PgConn::Translate(std::string_view jetSql) {
    CheckOpen();
    const auto& names = Names();
    // Jet's names are read without regard to case; the server's quoted ones are exact.
    JetStatement out = TranslateJet(jetSql, [&](std::string_view name, bool bracketed) {
        const auto it = names.find(Lower(name));
        if (it != names.end()) return Quote(it->second);
        return bracketed ? Quote(name) : std::string();
    });
    if (!out.table.empty()) out.table = Canonical(out.table);
    return out;
}

const PgConn::Key& PgConn::KeyOf(const std::string& table) {
    if (auto it = keys_.find(table); it != keys_.end()) return it->second;
    PgResult result = Exec(
        "SELECT a.attname, coalesce(pg_get_expr(d.adbin, d.adrelid), '') LIKE 'nextval(%' FROM pg_index i "
        "JOIN pg_attribute a ON a.attrelid = i.indrelid AND a.attnum = ANY(i.indkey) "
        "LEFT JOIN pg_attrdef d ON d.adrelid = a.attrelid AND d.adnum = a.attnum "
        "WHERE i.indrelid = to_regclass($1) AND i.indisprimary",
        {Value(Quote(table))}, {});
    Key key;
    if (PQntuples(result.get()) == 1) {
        key.column = FromUtf8(PQgetvalue(result.get(), 0, 0), PQgetlength(result.get(), 0, 0));
        key.serial = *PQgetvalue(result.get(), 0, 1) == 't';
    }
    return keys_.emplace(table, key).first->second;
}

std::string PgConn::RowId(const std::string& table) {
    const Key& key = KeyOf(table);
    return key.column.empty() ? std::string() : Quote(key.column);
}

std::string PgConn::KeyField(const std::string& table, bool& autoIncrement) {
    const Key& key = KeyOf(table);
    autoIncrement = key.serial;
    return key.column;
}

PgResult PgConn::Exec(const std::string& sql, const std::vector<Value>& params, const FailContext& context) {
    CheckOpen();
    std::vector<std::string> texts;
    std::vector<const char*> values;
    texts.reserve(params.size());
    for (const Value& value : params) {
        texts.push_back(value.IsNull() ? std::string() : ParamText(value));
        values.push_back(value.IsNull() ? nullptr : texts.back().c_str());
    }
    const std::string utf8 = ToUtf8(sql);
    PgResult result(PQexecParams(pg_, utf8.c_str(), static_cast<int>(params.size()), nullptr, values.data(),
                                 nullptr, nullptr, 0));
    const ExecStatusType status = PQresultStatus(result.get());
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) Fail(result.get(), context);
    return result;
}

std::unique_ptr<Cursor> PgConn::Query(const std::string& sql, const std::vector<Value>& params,
                                      const FailContext& context) {
    return std::make_unique<PgCursor>(Exec(sql, params, context));
}

long PgConn::Run(const std::string& sql, const std::vector<Value>& params, const FailContext& context) {
    CheckOpen();
    if (Lower(sql) == "commit" && PQtransactionStatus(pg_) == PQTRANS_INERROR) {
        // The server would answer COMMIT with a rollback and no error.
        RollbackQuietly();
        Raise(jet::ReservedError, "the transaction was rolled back after an earlier failure");
    }
    // A statement refused inside the caller's transaction leaves it usable, as with a file.
    const bool guarded = !transactions.empty() && !IsTransactionControl(sql);
    if (guarded) Exec("SAVEPOINT pv_statement", {}, context);
    try {
        PgResult result = Exec(sql, params, context);
        if (guarded) Exec("RELEASE pv_statement", {}, context);
        if (context.kind == StatementKind::Other && !IsTransactionControl(sql)) {
            namesRead_ = false;  // the statement may have changed the schema
            keys_.clear();
        }
        return std::atol(PQcmdTuples(result.get()));
    } catch (...) {
        if (guarded && PQtransactionStatus(pg_) == PQTRANS_INERROR)
            PgResult(PQexec(pg_, "ROLLBACK TO SAVEPOINT pv_statement; RELEASE pv_statement"));
        throw;
    }
}

long long PgConn::NextKey(const std::string& table, const std::string& key, bool autoIncrement,
                          const FailContext& context) {
    PgResult result =
        autoIncrement
            ? Exec("SELECT nextval(pg_get_serial_sequence($1, $2))", {Value(Quote(table)), Value(key)},
                   context)
            : Exec("SELECT coalesce(max(" + Quote(key) + "), 0) + 1 FROM " + Quote(table), {}, context);
    return std::strtoll(PQgetvalue(result.get(), 0, 0), nullptr, 10);
}

bool PgConn::InEngineTransaction() {
    return pg_ && PQtransactionStatus(pg_) != PQTRANS_IDLE;
}

void PgConn::BeginWrite(const FailContext& context) {
    Exec("BEGIN", {}, context);
    try {
        Exec("SELECT pg_advisory_xact_lock(" + std::to_string(kWriteLock) + ")", {}, context);
    } catch (...) {
        RollbackQuietly();
        throw;
    }
}

void PgConn::RollbackQuietly() {
    if (pg_ && PQtransactionStatus(pg_) != PQTRANS_IDLE) PgResult(PQexec(pg_, "ROLLBACK"));
    pendingAdd = false;
}

std::vector<std::string> PgConn::TableNames() {
    PgResult result = Exec(
        "SELECT c.relname FROM pg_class c JOIN pg_namespace n ON n.oid = c.relnamespace "
        "WHERE n.nspname = current_schema() AND c.relkind IN ('r', 'p') ORDER BY c.relname",
        {}, {});
    std::vector<std::string> names;
    for (int row = 0; row < PQntuples(result.get()); ++row)
        names.push_back(FromUtf8(PQgetvalue(result.get(), row, 0), PQgetlength(result.get(), row, 0)));
    return names;
}

// Only ever moves the counter forward: keys handed out before stay used.
void PgConn::SyncKeys(const std::string& table) {
    const Key& key = KeyOf(Canonical(table));
    if (!key.serial) return;
    const std::string column = Quote(key.column);
    const std::string source = Quote(Canonical(table));
    PgResult sequence = Exec("SELECT pg_get_serial_sequence($1, $2)", {Value(source), Value(key.column)}, {});
    const std::string name = PQgetvalue(sequence.get(), 0, 0);
    Exec("SELECT setval($1::regclass, m) FROM (SELECT max(" + column + ") AS m FROM " + source +
             ") t WHERE m >= (SELECT CASE WHEN is_called THEN last_value + 1 ELSE last_value END FROM " +
             name + ")",
         {Value(name)}, {});
}

void PgConn::Fail(const PGresult* result, const FailContext& context) {
    const std::string state = Field(result, PG_DIAG_SQLSTATE);
    const std::string message =
        result ? Field(result, PG_DIAG_MESSAGE_PRIMARY) : std::string(pg_ ? PQerrorMessage(pg_) : "");
    const bool writing = context.kind != StatementKind::Select && context.kind != StatementKind::Other;
    if (state == "23503") {
        // The reported table is the referring one in both directions.
        const std::string child = Field(result, PG_DIAG_TABLE_NAME);
        const bool changesChild =
            context.kind == StatementKind::Insert ||
            (context.kind == StatementKind::Update && vbrt::EqualsText(child, context.table));
        if (!changesChild) Raise(jet::RelatedRecordsExist, child);
        // "Key (CategoryID)=(42) is not present in table "Category"." (the transaction can no longer ask).
        const std::string detail = Field(result, PG_DIAG_MESSAGE_DETAIL);
        const auto close = detail.rfind('"'),
                   open = close == std::string::npos ? close : detail.rfind('"', close - 1);
        const std::string parent = open == std::string::npos ? "" : detail.substr(open + 1, close - open - 1);
        Raise(jet::RelatedRecordRequired, parent.empty() ? context.table : parent);
    }
    if (state == "23505") Raise(jet::DuplicateKey);
    if (state == "23502") Raise(jet::FieldRequired, Field(result, PG_DIAG_COLUMN_NAME));
    if (state == "42P01") Raise(jet::TableNotFound, AsWritten(QuotedIn(message), context.statement));
    if (state == "42703") Raise(jet::UnknownField, AsWritten(QuotedIn(message), context.statement));
    if (message.find("multiple commands") != std::string::npos) Raise(jet::CharactersAfterEnd);
    if (state == "42601" || state == "42883" || state == "42804")
        throw vbrt::VbError(jet::SyntaxError,
                            JetText(jet::SyntaxError, context.statement) + " (" + message + ")");
    if (state == "55P03" || state == "40P01" || state == "40001") {
        if (writing) Raise(jet::CouldNotUpdateLocked);
        Raise(jet::FileInUse, path);
    }
    if (state == "25006" || state == "42501") Raise(jet::ReadOnly);
    if (state == "53100") Raise(jet::DiskFull);
    if (state.rfind("08", 0) == 0 || state.empty()) Raise(jet::DiskOrNetworkError, message);
    Raise(jet::ReservedError, message);
}

}  // namespace dao::detail
