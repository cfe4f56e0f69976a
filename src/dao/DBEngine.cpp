#include "dao/DBEngine.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <filesystem>
#include <fstream>

#include "dao/Connection.h"
#include "dao/Errors.h"
#include "dao/FileKind.h"
#include "dao/Location.h"
#include "dao/PgConn.h"

namespace fs = std::filesystem;

namespace dao {
namespace {

constexpr std::size_t kHeaderSize = 100;

std::uint32_t BigEndian(const std::array<unsigned char, kHeaderSize>& h, std::size_t at, std::size_t bytes) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < bytes; ++i) value = (value << 8) | h[at + i];
    return value;
}

std::shared_ptr<detail::SqliteConn> Connect(const std::string& path, int busyTimeoutMs, bool readOnly) {
    auto conn = std::make_shared<detail::SqliteConn>();
    conn->path = path;
    const int flags = readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE;
    const int rc = sqlite3_open_v2(path.c_str(), &conn->db, flags, nullptr);
    if (rc != SQLITE_OK) detail::Fail(*conn, sqlite3_extended_errcode(conn->db), {});
    sqlite3_extended_result_codes(conn->db, 1);
    conn->RememberFile(busyTimeoutMs);
    return conn;
}

// What the path alone tells: nothing there, a folder, or a file that is no database file at all.
void CheckPath(const std::string& path) {
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (path.empty() || !fs::exists(status) || fs::is_directory(status)) Raise(jet::FileNotFound, path);
    CheckNotSpecialFile(path);
}

// The file under SQLite's own handle. Opening and closing it beside SQLite would
// drop every lock this process holds on it (POSIX locks belong to the process and
// go with any close of the file), a compaction's write lock among them.
sqlite3_file* FileOf(detail::SqliteConn& conn) {
    sqlite3_file* file = nullptr;
    sqlite3_file_control(conn.db, "main", SQLITE_FCNTL_FILE_POINTER, &file);
    if (!file || !file->pMethods) Raise(jet::CannotOpenFile, conn.path);
    return file;
}

std::uint64_t FileSize(detail::SqliteConn& conn) {
    sqlite3_file* file = FileOf(conn);
    sqlite3_int64 size = 0;
    if (file->pMethods->xFileSize(file, &size) != SQLITE_OK) Raise(jet::CannotOpenFile, conn.path);
    return static_cast<std::uint64_t>(size);
}

// Up to `count` bytes from `offset`; fewer at the end of the file.
std::string ReadBytes(detail::SqliteConn& conn, std::uint64_t offset, std::uint64_t count) {
    constexpr std::uint64_t kChunk = 1 << 20;
    const std::uint64_t size = FileSize(conn);
    std::string bytes(offset < size ? std::min(count, size - offset) : 0, '\0');
    sqlite3_file* file = FileOf(conn);
    for (std::uint64_t done = 0; done < bytes.size(); done += kChunk) {
        const auto chunk = static_cast<int>(std::min<std::uint64_t>(kChunk, bytes.size() - done));
        if (file->pMethods->xRead(file, bytes.data() + done, chunk,
                                  static_cast<sqlite3_int64>(offset + done)) != SQLITE_OK)
            Raise(jet::DiskOrNetworkError, conn.path);
    }
    return bytes;
}

// Everything that can be told from the file alone, before SQLite reads it (an
// empty file would otherwise pass as an empty database).
void CheckHeader(detail::SqliteConn& conn, bool checkLength) {
    const std::string bytes = ReadBytes(conn, 0, kHeaderSize);
    std::array<unsigned char, kHeaderSize> header{};
    std::copy(bytes.begin(), bytes.end(), header.begin());
    static constexpr char kMagic[] = "SQLite format 3";
    if (bytes.size() < kHeaderSize || !std::equal(kMagic, kMagic + sizeof kMagic, header.begin()))
        Raise(jet::UnrecognizedFormat, conn.path);
    std::uint64_t pageSize = BigEndian(header, 16, 2);
    if (pageSize == 1) pageSize = 65536;
    if (pageSize < 512 || (pageSize & (pageSize - 1)) != 0) Raise(jet::UnrecognizedFormat, conn.path);
    const std::uint64_t pages = BigEndian(header, 28, 4);
    const bool pagesValid = pages != 0 && BigEndian(header, 24, 4) == BigEndian(header, 92, 4);
    const std::uint64_t length = FileSize(conn);
    if (checkLength && (length % pageSize != 0 || (pagesValid && length < pages * pageSize)))
        Raise(jet::CorruptDatabase, conn.path);
}

std::shared_ptr<detail::SqliteConn> OpenChecked(const std::string& path, int busyTimeoutMs, bool readOnly,
                                                bool checkLength) {
    CheckPath(path);
    std::shared_ptr<detail::SqliteConn> conn = Connect(path, busyTimeoutMs, readOnly);
    CheckHeader(*conn, checkLength);
    return conn;
}

// Reads the catalogue: fails now, with 3045, 3343 or 3049, rather than at the
// first statement.
void Probe(detail::SqliteConn& conn) {
    detail::Exec(conn, "SELECT count(*) FROM sqlite_master");
}

void SyncFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

// quick_check reads every page and row but does not compare indexes with their
// tables: an index is rebuilt from the rows by the rebuild and by every compaction,
// and the full check would double the time of a repair and compact.
bool IntegrityOk(detail::SqliteConn& conn) {
    detail::Stmt stmt = detail::Prepare(conn, "PRAGMA quick_check(1)", {});
    return detail::Step(conn, stmt.get(), {}) && detail::Column(stmt.get(), 0).ToText() == "ok";
}

struct SchemaEntry {
    std::string type, name, sql;
};

// A word index shows as type "fts5" (its rows are rebuilt, not copied); its
// shadow tables are left out, since creating the index creates them.
std::vector<SchemaEntry> ReadSchema(detail::SqliteConn& conn) {
    std::vector<SchemaEntry> entries;
    detail::Stmt stmt = detail::Prepare(
        conn,
        "SELECT CASE WHEN m.sql LIKE 'CREATE VIRTUAL TABLE%USING fts5%' THEN 'fts5' ELSE m.type END, m.name, "
        "m.sql FROM sqlite_master m WHERE m.sql IS NOT NULL AND m.name NOT LIKE 'sqlite_%' AND NOT EXISTS "
        "(SELECT 1 FROM sqlite_master v WHERE v.sql LIKE 'CREATE VIRTUAL TABLE%USING fts5%' AND m.name IN "
        "(v.name || '_data', v.name || '_idx', v.name || '_content', v.name || '_docsize', v.name || "
        "'_config')) ORDER BY m.type='table' DESC, m.rowid",
        {});
    while (detail::Step(conn, stmt.get(), {}))
        entries.push_back({detail::Column(stmt.get(), 0).ToText(), detail::Column(stmt.get(), 1).ToText(),
                           detail::Column(stmt.get(), 2).ToText()});
    return entries;
}

// Copies the rows of `table` that can still be read; a damaged page ends the copy.
void SalvageRows(detail::SqliteConn& from, detail::SqliteConn& to, const std::string& table) {
    detail::Stmt read;
    try {
        read = detail::Prepare(from, "SELECT * FROM " + Bracketed(table), {});
    } catch (const vbrt::VbError&) {
        return;
    }
    const int columns = sqlite3_column_count(read.get());
    std::string marks;
    for (int i = 0; i < columns; ++i) marks += i ? ",?" : "?";
    detail::Stmt write =
        detail::Prepare(to, "INSERT OR IGNORE INTO " + Bracketed(table) + " VALUES (" + marks + ")", {});
    while (sqlite3_step(read.get()) == SQLITE_ROW) {
        sqlite3_reset(write.get());
        for (int i = 0; i < columns; ++i) detail::Bind(to, write.get(), i + 1, detail::Column(read.get(), i));
        detail::Step(to, write.get(), {});
    }
}

// Keys handed out before stay used in the rebuilt file.
void SalvageSequence(detail::SqliteConn& from, detail::SqliteConn& to) {
    try {
        detail::Stmt read = detail::Prepare(from, "SELECT name, seq FROM sqlite_sequence", {});
        while (sqlite3_step(read.get()) == SQLITE_ROW) {
            detail::Stmt update =
                detail::Prepare(to, "UPDATE sqlite_sequence SET seq=max(seq,?2) WHERE name=?1", {});
            detail::Bind(to, update.get(), 1, detail::Column(read.get(), 0));
            detail::Bind(to, update.get(), 2, detail::Column(read.get(), 1));
            detail::Step(to, update.get(), {});
            if (sqlite3_changes(to.db) == 0) {
                detail::Stmt insert =
                    detail::Prepare(to, "INSERT INTO sqlite_sequence (name, seq) VALUES (?,?)", {});
                detail::Bind(to, insert.get(), 1, detail::Column(read.get(), 0));
                detail::Bind(to, insert.get(), 2, detail::Column(read.get(), 1));
                detail::Step(to, insert.get(), {});
            }
        }
    } catch (const vbrt::VbError&) {
        // No AutoNumber table, or its counters are lost: keys restart past the salvaged rows.
    }
}

// A copy of the damaged file that SQLite will read: whole pages only, and a
// page count in the header that matches them.
std::string ReadableCopy(const std::string& path, int busyTimeoutMs) {
    std::string bytes;
    {
        std::shared_ptr<detail::SqliteConn> damaged = Connect(path, busyTimeoutMs, true);
        bytes = ReadBytes(*damaged, 0, FileSize(*damaged));
    }
    std::array<unsigned char, kHeaderSize> header{};
    std::copy_n(bytes.begin(), kHeaderSize, header.begin());
    std::uint64_t pageSize = BigEndian(header, 16, 2);
    if (pageSize == 1) pageSize = 65536;
    const std::uint64_t pages = bytes.size() / pageSize;
    bytes.resize(pages * pageSize);
    for (std::size_t i = 0; i < 4; ++i) bytes[28 + i] = static_cast<char>((pages >> (8 * (3 - i))) & 0xFF);
    const std::string copy = path + ".salvage";
    std::ofstream(copy, std::ios::binary | std::ios::trunc)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return copy;
}

void Rebuild(const std::string& path, int busyTimeoutMs) {
    const std::string copy = ReadableCopy(path, busyTimeoutMs);
    const std::string fresh = path + ".repairing";
    fs::remove(fresh);
    detail::SqliteConn out;
    out.path = fresh;
    try {
        std::shared_ptr<detail::SqliteConn> damaged = Connect(copy, busyTimeoutMs, true);
        damaged->path = path;
        std::vector<SchemaEntry> schema;
        try {
            schema = ReadSchema(*damaged);
        } catch (const vbrt::VbError&) {
            Raise(jet::CorruptDatabase, path);
        }
        if (sqlite3_open_v2(fresh.c_str(), &out.db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) !=
            SQLITE_OK)
            detail::Fail(out, sqlite3_extended_errcode(out.db), {});
        detail::Exec(out, "BEGIN");
        for (const SchemaEntry& entry : schema)
            if (entry.type != "trigger") detail::Exec(out, entry.sql);
        for (const SchemaEntry& entry : schema)
            if (entry.type == "table") SalvageRows(*damaged, out, entry.name);
        SalvageSequence(*damaged, out);
        // The salvaged rows are the file's own, not new ones for its triggers to act on;
        // a word index is built once from the rows it covers.
        for (const SchemaEntry& entry : schema) {
            if (entry.type == "trigger") detail::Exec(out, entry.sql);
            if (entry.type == "fts5")
                detail::Exec(out, "INSERT INTO " + Bracketed(entry.name) + " (" + Bracketed(entry.name) +
                                      ") VALUES ('rebuild')");
        }
        detail::Exec(out, "COMMIT");
        out.Close();
        damaged->Close();
        fs::remove(copy);
        SyncFile(fresh);
        // A journal left by the damaged file must not be replayed into the new one.
        for (const char* suffix : {"-journal", "-wal", "-shm"}) fs::remove(path + suffix);
        fs::rename(fresh, path);
        SyncFile(fs::path(path).parent_path().empty() ? "." : fs::path(path).parent_path().string());
    } catch (...) {
        out.Close();
        fs::remove(fresh);
        fs::remove(copy);
        throw;
    }
}

// A write killed halfway leaves the file short of its header's page count and
// a journal beside it that SQLite plays back on opening; only SQLite can judge it.
bool HasJournal(const std::string& path) {
    std::error_code ec;
    return fs::file_size(path + "-journal", ec) > 0 && !ec;
}

}  // namespace

std::unique_ptr<Database> DBEngine::OpenDatabase(const std::string& path, bool exclusive,
                                                 bool readOnly) const {
    // A server has no file to hold exclusively; its writers wait on one another instead.
    if (IsServerLocation(path))
        return std::make_unique<Database>(std::make_shared<detail::PgConn>(path, busyTimeoutMs_, readOnly));
    std::shared_ptr<detail::SqliteConn> conn = OpenChecked(path, busyTimeoutMs_, readOnly, !HasJournal(path));
    if (exclusive) detail::Exec(*conn, "PRAGMA locking_mode=EXCLUSIVE");
    Probe(*conn);
    detail::Exec(*conn, "PRAGMA foreign_keys=ON");
    if (!readOnly) detail::Exec(*conn, "PRAGMA synchronous=FULL");
    if (exclusive) {
        // Taking the write lock once keeps it until the database is closed.
        detail::Exec(*conn, "BEGIN EXCLUSIVE");
        detail::Exec(*conn, "COMMIT");
    }
    return std::make_unique<Database>(std::move(conn));
}

void DBEngine::RepairDatabase(const std::string& path) const {
    if (IsServerLocation(path)) return detail::MaintainServerLibrary(path, busyTimeoutMs_);
    std::shared_ptr<detail::SqliteConn> conn = OpenChecked(path, busyTimeoutMs_, false, false);
    try {
        Probe(*conn);
    } catch (const vbrt::VbError& error) {
        if (error.Number() != jet::CorruptDatabase) throw;
    }
    bool ok = false;
    try {
        ok = IntegrityOk(*conn);
    } catch (const vbrt::VbError& error) {
        if (error.Number() == jet::FileInUse) throw;
    }
    conn->Close();
    if (!ok) Rebuild(path, busyTimeoutMs_);
}

void DBEngine::CompactDatabase(const std::string& source, const std::string& destination) const {
    // A server compacts its tables in place (RepairDatabase); there is no copy to write.
    if (IsServerLocation(source) || IsServerLocation(destination)) Raise(jet::NotSupported);
    std::error_code ec;
    if (fs::exists(fs::symlink_status(destination, ec))) Raise(jet::DatabaseExists);
    const fs::path folder = fs::path(destination).parent_path();
    if (!folder.empty() && !fs::is_directory(folder, ec)) Raise(jet::InvalidPath, folder.string());
    std::shared_ptr<detail::SqliteConn> conn = OpenChecked(source, busyTimeoutMs_, true, true);
    Probe(*conn);
    try {
        detail::Stmt stmt = detail::Prepare(*conn, "VACUUM INTO ?", {});
        detail::Bind(*conn, stmt.get(), 1, destination);
        detail::Step(*conn, stmt.get(), {});
    } catch (...) {
        // A journal left by the failed write would be replayed into whatever
        // file later takes the destination's name.
        fs::remove(destination, ec);
        fs::remove(destination + "-journal", ec);
        throw;
    }
    SyncFile(destination);
}

void DBEngine::CopyDatabaseFile(const std::string& source, const std::string& destination) const {
    CheckPath(source);
    std::shared_ptr<detail::SqliteConn> conn = Connect(source, busyTimeoutMs_, true);
    const std::string bytes = ReadBytes(*conn, 0, FileSize(*conn));
    const int fd = ::open(destination.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) Raise(errno == EEXIST ? jet::DatabaseExists : jet::CannotOpenFile, destination);
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t wrote = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (wrote <= 0) break;
        done += static_cast<std::size_t>(wrote);
    }
    const bool whole = done == bytes.size() && ::fsync(fd) == 0;
    const int error = errno;
    ::close(fd);
    if (whole) return;
    std::error_code ec;
    fs::remove(destination, ec);
    Raise(error == ENOSPC ? jet::DiskFull : jet::DiskOrNetworkError, destination);
}

}  // namespace dao
