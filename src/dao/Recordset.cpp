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
    std::unique_ptr<detail::Cursor> cursor;
};

void detail::Conn::FinishStreams() {
    const std::vector<Recordset*> open = streams;
    for (Recordset* rs : open) rs->ReadRows(static_cast<std::size_t>(-1));
}

const std::string& Field::Name() const {
    return rs_->names_[static_cast<std::size_t>(index_)];
}

Value Field::Value() const {
    return rs_->Cell(index_);
}

Recordset::Recordset(std::shared_ptr<detail::Conn> conn, const std::string& source, int type, int options)
    : conn_(std::move(conn)), source_(source), type_(type) {
    if (type != dbOpenTable && type != dbOpenDynaset && type != dbOpenSnapshot)
        Raise(jet::InvalidArgument, "record set type " + std::to_string(type));
    std::string sql;
    if (IsTableName(source)) {
        const std::string name = BareName(source);
        const std::string real = conn_->TableSource(name);
        sql = "SELECT * FROM " + conn_->Quote(real);
        if (real == name) table_ = name;
    } else {
        const JetStatement statement = conn_->Translate(source);
        if (statement.kind != StatementKind::Select) Raise(jet::InvalidArgument, source);
        sql = statement.sql;
        if (!statement.distinct) table_ = statement.table;
        if (!statement.distinct && !statement.ordered && !statement.table.empty()) {
            // Without an order of its own, a table's rows come in key order, as from Jet.
            sql.erase(sql.find_last_not_of(" \t\r\n;") + 1);
            if (const std::string rowid = conn_->RowId(statement.table); !rowid.empty())
                sql += " ORDER BY " + conn_->Quote(statement.table) + "." + rowid;
        }
    }
    if (type == dbOpenSnapshot) table_.clear();
    const std::string rowid = table_.empty() ? std::string() : conn_->RowId(table_);
    if (rowid.empty()) table_.clear();
    if (!table_.empty()) {
        // Changeable sets carry each row's identity in a leading hidden column.
        const std::size_t select = sql.find_first_not_of(" \t\r\n");
        sql.insert(select + 6, " " + conn_->Quote(table_) + "." + rowid + ",");
        bool autoIncrement = false;
        keyName_ = conn_->KeyField(table_, autoIncrement);
        autoIncrement_ = autoIncrement;
    }
    Load(sql, (options & dbAppendOnly) != 0);
}

Recordset::~Recordset() {
    EndStream();
    if (ownTransaction_ && conn_) conn_->RollbackQuietly();
}

void Recordset::Load(const std::string& sql, bool appendOnly) {
    const detail::FailContext context{source_, StatementKind::Select, table_};
    std::unique_ptr<detail::Cursor> cursor = conn_->Query(sql, {}, context);
    const int hidden = table_.empty() ? 0 : 1;
    const int columns = cursor->ColumnCount();
    for (int i = hidden; i < columns; ++i) {
        names_.push_back(cursor->ColumnName(i));
        if (!keyName_.empty() && vbrt::EqualsText(names_.back(), keyName_)) keyColumn_ = i - hidden;
    }
    if (appendOnly) return;
    if (table_.empty()) {
        stream_ = std::make_unique<Stream>(Stream{std::move(cursor)});
        conn_->streams.push_back(this);
        ReadRows(kBatch);
        return;
    }
    while (cursor->Next()) {
        if (hidden) rowids_.push_back(cursor->Get(0).AsInt64());
        for (int i = hidden; i < columns; ++i) cells_.push_back(cursor->Get(i));
        ++rows_;
    }
    deleted_.assign(rows_, false);
}

// Appends up to `limit` rows of the stream to cells_; the statement goes (and
// its read lock with it) once its last row is read.
void Recordset::ReadRows(std::size_t limit) {
    if (!stream_) return;
    detail::Cursor& cursor = *stream_->cursor;
    const int columns = cursor.ColumnCount();
    for (std::size_t n = 0; n < limit; ++n) {
        if (!cursor.Next()) {
            EndStream();
            return;
        }
        for (int i = 0; i < columns; ++i) cells_.push_back(cursor.Get(i));
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
    if (!conn_->InEngineTransaction()) {
        conn_->BeginWrite({source_, StatementKind::Insert, table_});
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
    pendingKey_ = conn_->NextKey(table_, keyName_, autoIncrement_, {source_, StatementKind::Insert, table_});
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
    std::vector<Value> values;
    const auto add = [&](const std::string& name, const Value& value) {
        values.push_back(value);
        columns += (columns.empty() ? "" : ",") + conn_->Quote(name);
        marks += (marks.empty() ? "" : ",") + conn_->Marker(static_cast<int>(values.size()));
    };
    if (!keyName_.empty()) add(keyName_, Value(static_cast<long long>(pendingKey_)));
    for (std::size_t i = 0; i < names_.size(); ++i)
        if (assigned_[i]) add(names_[i], pending_[i]);
    const std::string table = conn_->Quote(table_);
    conn_->Run(columns.empty() ? "INSERT INTO " + table + " DEFAULT VALUES"
                               : "INSERT INTO " + table + " (" + columns + ") VALUES (" + marks + ")",
               values, {source_, StatementKind::Insert, table_});
}

void Recordset::UpdateCurrent() {
    std::string assignments;
    std::vector<Value> values;
    for (std::size_t i = 0; i < names_.size(); ++i) {
        if (!assigned_[i]) continue;
        values.push_back(pending_[i]);
        assignments += (assignments.empty() ? "" : ",") + conn_->Quote(names_[i]) + "=" +
                       conn_->Marker(static_cast<int>(values.size()));
    }
    if (assignments.empty()) return;
    conn_->FinishStreams();
    values.emplace_back(static_cast<long long>(rowids_[current_]));
    const std::string sql = "UPDATE " + conn_->Quote(table_) + " SET " + assignments + " WHERE " +
                            conn_->RowId(table_) + "=" + conn_->Marker(static_cast<int>(values.size()));
    detail::InWriteTransaction(*conn_, [&] {
        conn_->Run(sql, values, {source_, StatementKind::Update, table_});
    });
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
        conn_->RollbackQuietly();
        return;
    }
    try {
        conn_->Run("COMMIT", {}, {source_, StatementKind::Insert, table_});
    } catch (...) {
        conn_->RollbackQuietly();
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
    const std::string sql =
        "DELETE FROM " + conn_->Quote(table_) + " WHERE " + conn_->RowId(table_) + "=" + conn_->Marker(1);
    const std::vector<Value> key{Value(static_cast<long long>(rowids_[current_]))};
    detail::InWriteTransaction(*conn_, [&] {
        conn_->Run(sql, key, {source_, StatementKind::Delete, table_});
    });
    deleted_[current_] = true;
}

void Recordset::Close() {
    if (!open_) return;
    if (mode_ != Mode::None && conn_->IsOpen()) EndEdit(false);
    EndStream();
    open_ = false;
}

}  // namespace dao
