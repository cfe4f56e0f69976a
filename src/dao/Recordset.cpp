#include "dao/Recordset.h"

#include <algorithm>
#include <cctype>

#include "dao/Connection.h"
#include "dao/Errors.h"
#include "dao/JetSql.h"
#include "vbrt/Text.h"

namespace dao {

// Rows a snapshot reads at once; a smaller result is complete when the set opens.
constexpr std::size_t kBatch = 256;

struct Recordset::Stream {
    detail::Stmt stmt;
    detail::FailContext context;
};

void detail::Conn::FinishStreams() {
    const std::vector<Recordset*> open = streams;
    for (Recordset* rs : open) rs->ReadRows(static_cast<std::size_t>(-1));
}

struct Recordset::CachedInsert {
    std::string columns;  // the statement's column list, to tell when it can be reused
    detail::Stmt insert;
    detail::Stmt nextKey;
};

namespace {

// Jet's system table names for SQLite's own: MSysObjects is the catalogue.
std::string SqliteName(const std::string& name) {
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

// The AutoNumber field of `table` (its INTEGER PRIMARY KEY), if it has one.
std::string KeyField(detail::Conn& conn, const std::string& table, bool& autoIncrement) {
    detail::Stmt info = detail::Prepare(conn, "SELECT name, type, pk FROM pragma_table_info(?)", {});
    detail::Bind(conn, info.get(), 1, table);
    std::string key;
    int keys = 0;
    while (detail::Step(conn, info.get(), {})) {
        if (detail::Column(info.get(), 2).AsInt64() == 0) continue;
        ++keys;
        if (vbrt::EqualsText(detail::Column(info.get(), 1).ToText(), "INTEGER"))
            key = detail::Column(info.get(), 0).ToText();
    }
    detail::Stmt sql =
        detail::Prepare(conn, "SELECT sql FROM sqlite_master WHERE type='table' AND name=?", {});
    detail::Bind(conn, sql.get(), 1, table);
    autoIncrement =
        detail::Step(conn, sql.get(), {}) &&
        vbrt::UCase(detail::Column(sql.get(), 0).ToText()).find("AUTOINCREMENT") != std::string::npos;
    return keys == 1 ? key : std::string();
}

void RollbackQuietly(detail::Conn& conn) {
    if (conn.IsOpen() && !sqlite3_get_autocommit(conn.db))
        sqlite3_exec(conn.db, "ROLLBACK", nullptr, nullptr, nullptr);
    conn.pendingAdd = false;
}

}  // namespace

const std::string& Field::Name() const {
    return rs_->names_[static_cast<std::size_t>(index_)];
}

Value Field::Value() const {
    return rs_->Cell(index_);
}

Recordset::Recordset(std::shared_ptr<detail::Conn> conn, const std::string& source, int type, int options)
    : conn_(std::move(conn)), source_(source), type_(type), insert_(std::make_unique<CachedInsert>()) {
    if (type != dbOpenTable && type != dbOpenDynaset && type != dbOpenSnapshot)
        Raise(jet::InvalidArgument, "record set type " + std::to_string(type));
    std::string sql;
    if (IsTableName(source)) {
        const std::string name = BareName(source);
        const std::string real = SqliteName(name);
        sql = "SELECT * FROM " + Bracketed(real);
        if (real == name) table_ = name;
    } else {
        const JetStatement statement = TranslateJet(source);
        if (statement.kind != StatementKind::Select) Raise(jet::InvalidArgument, source);
        sql = statement.sql;
        if (!statement.distinct) table_ = statement.table;
        if (!statement.distinct && !statement.ordered && !statement.table.empty()) {
            // Without an order of its own, a table's rows come in key order, as from Jet.
            sql.erase(sql.find_last_not_of(" \t\r\n;") + 1);
            sql += " ORDER BY " + Bracketed(statement.table) + "._rowid_";
        }
    }
    if (type == dbOpenSnapshot) table_.clear();
    if (!table_.empty()) {
        // Changeable sets carry each row's identity in a leading hidden column.
        const std::size_t select = sql.find_first_not_of(" \t\r\n");
        std::string rowid = " ";
        rowid += Bracketed(table_);
        rowid += "._rowid_,";
        sql.insert(select + 6, rowid);
        bool autoIncrement = false;
        keyName_ = KeyField(*conn_, table_, autoIncrement);
        autoIncrement_ = autoIncrement;
    }
    Load(sql, (options & dbAppendOnly) != 0);
}

Recordset::~Recordset() {
    EndStream();
    if (ownTransaction_ && conn_) RollbackQuietly(*conn_);
}

void Recordset::Load(const std::string& sql, bool appendOnly) {
    const detail::FailContext context{source_, StatementKind::Select, table_};
    detail::Stmt stmt = detail::Prepare(*conn_, sql, context);
    const int hidden = table_.empty() ? 0 : 1;
    const int columns = sqlite3_column_count(stmt.get());
    for (int i = hidden; i < columns; ++i) {
        const char* name = sqlite3_column_name(stmt.get(), i);
        names_.push_back(name ? name : "");
        if (!keyName_.empty() && vbrt::EqualsText(names_.back(), keyName_)) keyColumn_ = i - hidden;
    }
    if (appendOnly) return;
    if (table_.empty()) {
        stream_ = std::make_unique<Stream>(Stream{std::move(stmt), context});
        conn_->streams.push_back(this);
        ReadRows(kBatch);
        return;
    }
    while (detail::Step(*conn_, stmt.get(), context)) {
        if (hidden) rowids_.push_back(sqlite3_column_int64(stmt.get(), 0));
        for (int i = hidden; i < columns; ++i) cells_.push_back(detail::Column(stmt.get(), i));
        ++rows_;
    }
    deleted_.assign(rows_, false);
}

// Appends up to `limit` rows of the stream to cells_; the statement goes (and
// its read lock with it) once its last row is read.
void Recordset::ReadRows(std::size_t limit) {
    if (!stream_) return;
    sqlite3_stmt* stmt = stream_->stmt.get();
    const int columns = sqlite3_column_count(stmt);
    for (std::size_t n = 0; n < limit; ++n) {
        if (!detail::Step(*conn_, stmt, stream_->context)) {
            EndStream();
            return;
        }
        for (int i = 0; i < columns; ++i) cells_.push_back(detail::Column(stmt, i));
        ++rows_;
    }
}

void Recordset::EndStream() {
    if (!stream_) return;
    stream_.reset();
    auto& streams = conn_->streams;
    streams.erase(std::remove(streams.begin(), streams.end(), this), streams.end());
}

void Recordset::CheckUsable() const {
    if (!open_) Raise(jet::ObjectInvalid);
    conn_->CheckOpen();
}

void Recordset::CheckChangeable() const {
    CheckUsable();
    if (table_.empty()) Raise(jet::ReadOnly);
}

bool Recordset::Eof() const {
    CheckUsable();
    return current_ >= rows_;
}

void Recordset::MoveNext() {
    CheckUsable();
    if (current_ >= rows_) Raise(jet::NoCurrentRecord);
    if (mode_ != Mode::None) EndEdit(false);
    ++current_;
    if (current_ >= rows_ && stream_) {
        // The buffer is used up: reuse it for the next rows.
        passed_ += rows_;
        cells_.clear();
        rows_ = 0;
        current_ = 0;
        ReadRows(kBatch);
    }
}

int Recordset::FieldIndex(const std::string& name) const {
    for (std::size_t i = 0; i < names_.size(); ++i)
        if (vbrt::EqualsText(names_[i], name)) return static_cast<int>(i);
    Raise(jet::ItemNotFound);
}

Field Recordset::Fields(const std::string& name) const {
    CheckUsable();
    return Field(this, FieldIndex(name));
}

Field Recordset::Fields(int index) const {
    CheckUsable();
    if (index < 0 || index >= FieldCount()) Raise(jet::ItemNotFound);
    return Field(this, index);
}

int Recordset::FieldCount() const {
    return static_cast<int>(names_.size());
}

long Recordset::RecordCount() const {
    CheckUsable();
    return static_cast<long>(passed_ + rows_);
}

const Value& Recordset::Cell(int index) const {
    CheckUsable();
    const auto column = static_cast<std::size_t>(index);
    if (mode_ != Mode::None) return pending_[column];
    if (current_ >= rows_) Raise(jet::NoCurrentRecord);
    if (!deleted_.empty() && deleted_[current_]) Raise(jet::RecordDeleted);
    return cells_[current_ * names_.size() + column];
}

Value Recordset::Collect(const std::string& name) const {
    return Fields(name).Value();
}

void Recordset::AddNew() {
    CheckChangeable();
    conn_->FinishStreams();
    if (mode_ != Mode::None) EndEdit(false);
    if (sqlite3_get_autocommit(conn_->db)) {
        detail::Exec(*conn_, "BEGIN IMMEDIATE", {source_, StatementKind::Insert, table_});
        ownTransaction_ = true;
        conn_->pendingAdd = true;
    }
    pending_.assign(names_.size(), Value());
    assigned_.assign(names_.size(), false);
    try {
        ReserveKey();
    } catch (...) {
        EndEdit(false);
        throw;
    }
    mode_ = Mode::Adding;
}

// The next AutoNumber: past every key the table holds or has held. The write
// lock taken above keeps it ours until the row is saved.
void Recordset::ReserveKey() {
    pendingKey_ = 0;
    if (keyName_.empty()) return;
    if (!insert_->nextKey) {
        const std::string table = Bracketed(table_);
        const std::string held = autoIncrement_ ? "(SELECT seq FROM sqlite_sequence WHERE name=?1)" : "0";
        insert_->nextKey = detail::Prepare(
            *conn_,
            "SELECT max(coalesce(" + held + ",0), coalesce((SELECT max(_rowid_) FROM " + table + "),0)) + 1",
            {source_, StatementKind::Insert, table_});
    }
    sqlite3_stmt* stmt = insert_->nextKey.get();
    sqlite3_reset(stmt);
    if (autoIncrement_) detail::Bind(*conn_, stmt, 1, table_);
    detail::Step(*conn_, stmt, {source_, StatementKind::Insert, table_});
    pendingKey_ = sqlite3_column_int64(stmt, 0);
    sqlite3_reset(stmt);
    if (keyColumn_ >= 0)
        pending_[static_cast<std::size_t>(keyColumn_)] = Value(static_cast<long long>(pendingKey_));
}

void Recordset::Edit() {
    CheckChangeable();
    if (current_ >= rows_) Raise(jet::NoCurrentRecord);
    if (deleted_[current_]) Raise(jet::RecordDeleted);
    const auto first = cells_.begin() + static_cast<std::ptrdiff_t>(current_ * names_.size());
    pending_.assign(first, first + static_cast<std::ptrdiff_t>(names_.size()));
    assigned_.assign(names_.size(), false);
    mode_ = Mode::Editing;
}

void Recordset::Collect(const std::string& name, const Value& value) {
    CheckUsable();
    const int index = FieldIndex(name);
    if (mode_ == Mode::None) Raise(jet::UpdateWithoutEdit);
    if (index == keyColumn_) Raise(jet::FieldCannotBeUpdated);
    pending_[static_cast<std::size_t>(index)] = value;
    assigned_[static_cast<std::size_t>(index)] = true;
}

void Recordset::Update(int /*type*/, bool /*force*/) {
    CheckUsable();
    if (mode_ == Mode::None) Raise(jet::UpdateWithoutEdit);
    try {
        if (mode_ == Mode::Adding) {
            InsertPending();
        } else {
            UpdateCurrent();
        }
    } catch (...) {
        EndEdit(false);
        throw;
    }
    EndEdit(true);
}

void Recordset::InsertPending() {
    conn_->FinishStreams();
    std::string columns;
    std::string marks;
    if (!keyName_.empty()) {
        columns = Bracketed(keyName_);
        marks = "?";
    }
    for (std::size_t i = 0; i < names_.size(); ++i) {
        if (!assigned_[i]) continue;
        if (!columns.empty()) columns += ',';
        columns += Bracketed(names_[i]);
        marks += marks.empty() ? "?" : ",?";
    }
    const detail::FailContext context{source_, StatementKind::Insert, table_};
    if (!insert_->insert || insert_->columns != columns) {
        const std::string sql = columns.empty() ? "INSERT INTO " + Bracketed(table_) + " DEFAULT VALUES"
                                                : "INSERT INTO " + Bracketed(table_) + " (" + columns +
                                                      ") VALUES (" + marks + ")";
        insert_->insert = detail::Prepare(*conn_, sql, context);
        insert_->columns = columns;
    }
    sqlite3_stmt* stmt = insert_->insert.get();
    sqlite3_reset(stmt);
    int slot = 1;
    if (!keyName_.empty()) detail::Bind(*conn_, stmt, slot++, Value(static_cast<long long>(pendingKey_)));
    for (std::size_t i = 0; i < names_.size(); ++i)
        if (assigned_[i]) detail::Bind(*conn_, stmt, slot++, pending_[i]);
    detail::Step(*conn_, stmt, context);
    sqlite3_reset(stmt);
}

void Recordset::UpdateCurrent() {
    std::string assignments;
    for (std::size_t i = 0; i < names_.size(); ++i) {
        if (!assigned_[i]) continue;
        if (!assignments.empty()) assignments += ',';
        assignments += Bracketed(names_[i]);
        assignments += "=?";
    }
    if (assignments.empty()) return;
    conn_->FinishStreams();
    const detail::FailContext context{source_, StatementKind::Update, table_};
    detail::Stmt stmt = detail::Prepare(
        *conn_, "UPDATE " + Bracketed(table_) + " SET " + assignments + " WHERE _rowid_=?", context);
    int slot = 1;
    for (std::size_t i = 0; i < names_.size(); ++i)
        if (assigned_[i]) detail::Bind(*conn_, stmt.get(), slot++, pending_[i]);
    detail::Bind(*conn_, stmt.get(), slot, Value(static_cast<long long>(rowids_[current_])));
    detail::InWriteTransaction(*conn_, [&] { detail::Step(*conn_, stmt.get(), context); });
    std::copy(pending_.begin(), pending_.end(),
              cells_.begin() + static_cast<std::ptrdiff_t>(current_ * names_.size()));
}

// Leaves AddNew or Edit; the record set's own transaction is committed when
// the row was saved, rolled back otherwise.
void Recordset::EndEdit(bool saved) {
    mode_ = Mode::None;
    pending_.clear();
    if (!ownTransaction_) return;
    ownTransaction_ = false;
    conn_->pendingAdd = false;
    if (!saved) {
        RollbackQuietly(*conn_);
        return;
    }
    try {
        detail::Exec(*conn_, "COMMIT", {source_, StatementKind::Insert, table_});
    } catch (...) {
        RollbackQuietly(*conn_);
        throw;
    }
}

void Recordset::CancelUpdate() {
    CheckUsable();
    if (mode_ == Mode::None) Raise(jet::UpdateWithoutEdit);
    EndEdit(false);
}

void Recordset::Delete() {
    CheckChangeable();
    if (mode_ != Mode::None) EndEdit(false);
    if (current_ >= rows_) Raise(jet::NoCurrentRecord);
    if (deleted_[current_]) Raise(jet::RecordDeleted);
    conn_->FinishStreams();
    const detail::FailContext context{source_, StatementKind::Delete, table_};
    detail::Stmt stmt =
        detail::Prepare(*conn_, "DELETE FROM " + Bracketed(table_) + " WHERE _rowid_=?", context);
    detail::Bind(*conn_, stmt.get(), 1, Value(static_cast<long long>(rowids_[current_])));
    detail::InWriteTransaction(*conn_, [&] { detail::Step(*conn_, stmt.get(), context); });
    deleted_[current_] = true;
}

void Recordset::Close() {
    if (!open_) return;
    if (mode_ != Mode::None && conn_->IsOpen()) EndEdit(false);
    EndStream();
    insert_.reset();
    open_ = false;
}

}  // namespace dao
