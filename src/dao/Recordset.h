#pragma once
// DAO's Recordset over one SELECT statement or one table. A snapshot (4) is a
// copy of the rows as they were when it opened (large results are read as the
// caller moves through them, under a read lock, and taken whole before this
// connection writes); a dynaset (2) or table (1) record set
// on one table can also change, delete and add rows; with dbAppendOnly (8) it
// reads no rows and only adds. Rows come in the statement's order; a new record
// set stands on its first row, or at EOF when there is none.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "dao/Value.h"

namespace dao {

namespace detail {
class Conn;
}

enum RecordsetType : int { dbOpenTable = 1, dbOpenDynaset = 2, dbOpenSnapshot = 4 };
enum RecordsetOption : int { dbAppendOnly = 8 };
enum UpdateType : int { dbUpdateRegular = 1 };

class Recordset;

// One field of the current row (or of the row being added or edited).
class Field {
public:
    Field(const Recordset* rs, int index) : rs_(rs), index_(index) {}
    const std::string& Name() const;
    ::dao::Value Value() const;

private:
    const Recordset* rs_;
    int index_;
};

class Recordset {
public:
    Recordset(std::shared_ptr<detail::Conn> conn, const std::string& source, int type, int options);
    ~Recordset();
    Recordset(const Recordset&) = delete;
    Recordset& operator=(const Recordset&) = delete;

    // DAO's EOF (a macro name in C, hence the spelling).
    bool Eof() const;
    void MoveNext();
    // Field by name (letter case ignored); error 3265 for an unknown name.
    Field Fields(const std::string& name) const;
    Field Fields(int index) const;
    int FieldCount() const;
    // Rows read so far, as DAO counts them (all of them once at EOF).
    long RecordCount() const;

    // Starts a new row. Its AutoNumber key is assigned here and is readable
    // through Fields until Update saves the row. Outside a transaction of the
    // database, the write lock is held from here to Update, so no other
    // connection can take the same key.
    void AddNew();
    // Starts changing the current row.
    void Edit();
    // Sets a field of the row being added or edited (error 3020 otherwise).
    void Collect(const std::string& name, const ::dao::Value& value);
    // Reads a field of the current row, as Fields(name).Value().
    ::dao::Value Collect(const std::string& name) const;
    void Update(int type = dbUpdateRegular, bool force = false);
    void CancelUpdate();
    // Deletes the current row; 3200 when rows of another table refer to it.
    void Delete();
    void Close();

private:
    friend class Field;
    friend class detail::Conn;
    struct Stream;
    enum class Mode { None, Adding, Editing };

    void Load(const std::string& sql, bool appendOnly);
    void CheckUsable() const;
    void CheckChangeable() const;
    int FieldIndex(const std::string& name) const;
    const ::dao::Value& Cell(int index) const;
    void ReserveKey();
    void InsertPending();
    void UpdateCurrent();
    void EndEdit(bool saved);
    void ReadRows(std::size_t limit);
    void EndStream();

    std::shared_ptr<detail::Conn> conn_;
    std::string source_;
    std::string table_;  // the table rows belong to; empty: read only
    int type_;
    bool open_ = true;
    std::vector<std::string> names_;
    std::vector<::dao::Value> cells_;   // rows one after another
    std::vector<std::int64_t> rowids_;  // per row, for changeable sets
    std::vector<bool> deleted_;
    std::size_t rows_ = 0;            // rows in cells_
    std::size_t current_ = 0;         // the current row's place in cells_
    std::size_t passed_ = 0;          // rows of a stream already dropped from cells_
    std::unique_ptr<Stream> stream_;  // a snapshot's statement while rows remain
    std::string keyName_;             // the table's AutoNumber field, if any
    bool autoIncrement_ = false;
    int keyColumn_ = -1;  // its place among names_, -1 when not selected
    Mode mode_ = Mode::None;
    bool ownTransaction_ = false;
    std::vector<::dao::Value> pending_;
    std::vector<bool> assigned_;
    std::int64_t pendingKey_ = 0;
};

}  // namespace dao
