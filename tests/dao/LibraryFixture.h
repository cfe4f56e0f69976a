#pragma once
// A library file in a fresh temp folder, and helpers that fill and read it
// through the engine itself.
#include <memory>
#include <string>
#include <vector>

#include "dao/DBEngine.h"
#include "dao/Schema.h"
#include "support/TempDir.h"

namespace daotest {

// Short waits: a lock held by a test's second connection is there to stay.
inline constexpr int kTestBusyTimeoutMs = 100;

struct StoredProcedure {
    std::string name;
    std::string type;
    long category;
    std::vector<std::string> lines;
};

class LibraryFile {
public:
    LibraryFile() : path_((dir_ / "Library.mdb").string()) { dao::CreateLibrary(path_); }
    const std::string& Path() const { return path_; }
    const testsupport::TempDir& Dir() const { return dir_; }
    std::unique_ptr<dao::Database> Open() const {
        return dao::DBEngine(kTestBusyTimeoutMs).OpenDatabase(path_);
    }

private:
    testsupport::TempDir dir_;
    std::string path_;
};

inline long AddCategory(dao::Database& db, const std::string& desc) {
    auto rs = db.OpenRecordset("Category", dao::dbOpenDynaset);
    rs->AddNew();
    rs->Collect("CategoryDesc", desc);
    const long id = rs->Fields("CategoryID").Value().AsLong();
    rs->Update();
    return id;
}

// Header and lines in one transaction, the key read between AddNew and Update.
inline long AddProcedure(dao::Database& db, const StoredProcedure& p) {
    dao::Transaction transaction(db);
    auto headers = db.OpenRecordset("ProcedureHeader", dao::dbOpenDynaset, dao::dbAppendOnly);
    auto lines = db.OpenRecordset("ProcedureLine", dao::dbOpenDynaset, dao::dbAppendOnly);
    headers->AddNew();
    headers->Collect("Name", p.name);
    headers->Collect("Type", p.type);
    headers->Collect("CategoryID", p.category);
    const long id = headers->Fields("ProcedureHeaderID").Value().AsLong();
    headers->Update();
    for (const std::string& line : p.lines) {
        lines->AddNew();
        lines->Collect("ProcedureHeaderID", id);
        lines->Collect("Line", line.empty() ? dao::Value() : dao::Value(line));
        lines->Update();
    }
    transaction.Commit();
    return id;
}

// Every row of a snapshot, each field as text, "<Null>" for Null.
inline std::vector<std::vector<std::string>> Rows(dao::Database& db, const std::string& source) {
    std::vector<std::vector<std::string>> rows;
    auto rs = db.OpenRecordset(source, dao::dbOpenSnapshot);
    while (!rs->Eof()) {
        std::vector<std::string> row;
        for (int i = 0; i < rs->FieldCount(); ++i) {
            const dao::Value v = rs->Fields(i).Value();
            row.push_back(v.IsNull() ? "<Null>" : v.ToText());
        }
        rows.push_back(std::move(row));
        rs->MoveNext();
    }
    return rows;
}

inline long Count(dao::Database& db, const std::string& table) {
    auto rs = db.OpenRecordset("SELECT count(*) AS n FROM " + table, dao::dbOpenSnapshot);
    return rs->Fields("n").Value().AsLong();
}

}  // namespace daotest
