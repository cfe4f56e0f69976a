#pragma once
// A library file in a fresh temp folder, filled and read through the engine itself.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "dao/DBEngine.h"
#include "dao/Schema.h"
#include "dao/ServerLibrary.h"
#include "support/TempDir.h"
#include "vbrt/VbError.h"

namespace daotest {

// Short waits: a lock held by a test's second connection is there to stay.
inline constexpr int kTestBusyTimeoutMs = 100;

using Table = std::vector<std::vector<std::string>>;

struct StoredProcedure {
    std::string name, type;
    long category;
    std::vector<std::string> lines;  // "" is stored as Null
};

// A library file, or on the server rows a fresh server library; Dir() is a temp folder either way.
class LibraryFile {
public:
    LibraryFile() : path_(OnServer() ? ServerAdmin::Get().NewLibrary() : (dir_ / "Library.mdb").string()) {
        if (!OnServer()) dao::CreateLibrary(path_);
    }
    ~LibraryFile() {
        if (OnServer()) ServerAdmin::Get().Drop(path_);
    }
    LibraryFile(const LibraryFile&) = delete;
    LibraryFile& operator=(const LibraryFile&) = delete;
    const std::string& Path() const { return path_; }
    const testsupport::TempDir& Dir() const { return dir_; }
    std::unique_ptr<dao::Database> Open() const {
        return dao::DBEngine(kTestBusyTimeoutMs).OpenDatabase(path_);
    }

private:
    testsupport::TempDir dir_;
    std::string path_;
};

// As the dialogs add rows: the key is read between AddNew and Update.
inline long AddRow(dao::Recordset& rs, const std::string& key,
                   const std::vector<std::pair<std::string, dao::Value>>& fields) {
    rs.AddNew();
    for (const auto& [name, value] : fields) rs.Collect(name, value);
    const long id = rs.Fields(key).Value().AsLong();
    rs.Update();
    return id;
}

inline long AddCategory(dao::Database& db, const std::string& desc) {
    return AddRow(*db.OpenRecordset("Category", dao::dbOpenDynaset), "CategoryID", {{"CategoryDesc", desc}});
}

inline long AddProcedure(dao::Database& db, const StoredProcedure& p) {
    dao::Transaction transaction(db);
    auto headers = db.OpenRecordset("ProcedureHeader", dao::dbOpenDynaset, dao::dbAppendOnly);
    auto lines = db.OpenRecordset("ProcedureLine", dao::dbOpenDynaset, dao::dbAppendOnly);
    const long id = AddRow(*headers, "ProcedureHeaderID",
                           {{"Name", p.name}, {"Type", p.type}, {"CategoryID", p.category}});
    for (const std::string& line : p.lines)
        AddRow(*lines, "ProcedureLineID",
               {{"ProcedureHeaderID", id}, {"Line", line.empty() ? dao::Value() : dao::Value(line)}});
    transaction.Commit();
    return id;
}

// Categories 1 Utilities, 2 Strings, 3 Files. Procedures 1 GetValue (lines 1-2),
// 2 TrimAll (lines 3-5, the middle one Null), 3 OpenLog (lines 6-7).
inline void FillSample(dao::Database& db) {
    for (const char* desc : {"Utilities", "Strings", "Files"}) AddCategory(db, desc);
    AddProcedure(db, {"GetValue", "Function", 1, {"Public Function GetValue()", "End Function"}});
    AddProcedure(db, {"TrimAll", "Sub", 2, {"Sub TrimAll()", "", "End Sub"}});
    AddProcedure(db, {"OpenLog", "Sub", 1, {"Sub OpenLog()", "End Sub"}});
}

class SampleLibrary : public testing::Test {
protected:
    void SetUp() override { FillSample(*(db = file.Open())); }
    LibraryFile file;
    std::unique_ptr<dao::Database> db;
};

// Every row of a snapshot, each field as text, "<Null>" for Null.
inline Table Rows(dao::Database& db, const std::string& source) {
    Table rows;
    for (auto rs = db.OpenRecordset(source, dao::dbOpenSnapshot); !rs->Eof(); rs->MoveNext()) {
        rows.emplace_back();
        for (int i = 0; i < rs->FieldCount(); ++i) {
            const dao::Value v = rs->Fields(i).Value();
            rows.back().push_back(v.IsNull() ? "<Null>" : v.ToText());
        }
    }
    return rows;
}

// Rows as text: fields joined by ",", rows by "|".
inline std::string Flat(dao::Database& db, const std::string& source) {
    std::string out, sep;
    for (const auto& row : Rows(db, source)) {
        out += std::exchange(sep, "|");
        for (std::size_t i = 0; i < row.size(); ++i) out += (i ? "," : "") + row[i];
    }
    return out;
}

inline long Count(dao::Database& db, const std::string& table) {
    return std::stol(Rows(db, "SELECT count(*) FROM " + table).at(0).at(0));
}

// The number `act` raised (0: none), its text into `description`.
inline long ErrorOf(const std::function<void()>& act, std::string* description = nullptr) {
    try {
        act();
    } catch (const vbrt::VbError& e) {
        if (description) *description = e.Description();
        return e.Number();
    }
    return 0;
}

}  // namespace daotest
