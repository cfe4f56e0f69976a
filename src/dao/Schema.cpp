#include "dao/Schema.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "dao/Connection.h"
#include "dao/Errors.h"
#include "dao/Location.h"
#include "dao/PgConn.h"

namespace dao {

// Text columns compare without regard to letter case, as Jet's do. Keys only
// grow (AUTOINCREMENT), so line order is the order rows were added. A category
// in use cannot be deleted (no cascade); the index behind that relation keeps
// the check cheap, and the line index serves reading one procedure's lines.
// The word index over the lines is kept by triggers, so every transaction that
// stores or removes lines keeps it current; its statements stand one a line, so
// that an older library can be given them at its first search (LibrarySearch.cpp).
const char* LibrarySchemaSql() {
    return R"sql(
CREATE TABLE Category (
    CategoryID INTEGER PRIMARY KEY AUTOINCREMENT,
    CategoryDesc TEXT COLLATE NOCASE
);
CREATE TABLE ProcedureHeader (
    ProcedureHeaderID INTEGER PRIMARY KEY AUTOINCREMENT,
    Name TEXT COLLATE NOCASE,
    Type TEXT COLLATE NOCASE,
    CategoryID INTEGER REFERENCES Category (CategoryID) ON DELETE NO ACTION ON UPDATE NO ACTION
);
CREATE INDEX ProcedureHeaderCategoryID ON ProcedureHeader (CategoryID);
CREATE TABLE ProcedureLine (
    ProcedureLineID INTEGER PRIMARY KEY AUTOINCREMENT,
    ProcedureHeaderID INTEGER,
    Line TEXT COLLATE NOCASE
);
CREATE INDEX ProcedureLineHeader ON ProcedureLine (ProcedureHeaderID, ProcedureLineID);
CREATE VIRTUAL TABLE ProcedureSearch USING fts5(Line, content='ProcedureLine', content_rowid='ProcedureLineID', tokenize='unicode61 remove_diacritics 0');
CREATE TRIGGER ProcedureSearchInsert AFTER INSERT ON ProcedureLine BEGIN INSERT INTO ProcedureSearch (rowid, Line) VALUES (new.ProcedureLineID, new.Line); END;
CREATE TRIGGER ProcedureSearchDelete AFTER DELETE ON ProcedureLine BEGIN INSERT INTO ProcedureSearch (ProcedureSearch, rowid, Line) VALUES ('delete', old.ProcedureLineID, old.Line); END;
CREATE TRIGGER ProcedureSearchUpdate AFTER UPDATE ON ProcedureLine BEGIN INSERT INTO ProcedureSearch (ProcedureSearch, rowid, Line) VALUES ('delete', old.ProcedureLineID, old.Line); INSERT INTO ProcedureSearch (rowid, Line) VALUES (new.ProcedureLineID, new.Line); END;
PRAGMA user_version = 1;
)sql";
}

void CreateLibrary(const std::string& path) {
    if (IsServerLocation(path)) return detail::CreateServerLibrary(path);
    // Creating the file first, exclusively, makes the refusal race-free.
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) {
        if (errno == EEXIST) Raise(jet::DatabaseExists);
        if (errno == ENOENT || errno == ENOTDIR)
            Raise(jet::InvalidPath, std::filesystem::path(path).parent_path().string());
        Raise(jet::CannotOpenFile, path);
    }
    ::close(fd);
    detail::SqliteConn conn;
    conn.path = path;
    try {
        if (sqlite3_open_v2(path.c_str(), &conn.db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
            detail::Fail(conn, sqlite3_extended_errcode(conn.db), {});
        char* message = nullptr;
        const std::string script = std::string("BEGIN;") + LibrarySchemaSql() + "COMMIT;";
        if (sqlite3_exec(conn.db, script.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
            const std::string text = message ? message : "";
            sqlite3_free(message);
            Raise(jet::ReservedError, text);
        }
        conn.Close();
    } catch (...) {
        conn.Close();
        std::filesystem::remove(path);
        throw;
    }
}

}  // namespace dao
