#pragma once
// DAO's DBEngine: opens library files and repairs and compacts them. A
// location that is a postgresql:// URI opens a server library instead (see PgConn.h).
//
// A file is "held exclusively" when another connection keeps a lock on it that
// stops this one from reading for longer than the busy timeout: a connection
// opened with `exclusive` here (SQLite's exclusive locking mode with its write
// lock taken), or any program that holds SQLite's write lock that long.
// Opening it then fails with Jet's 3045. Shorter locks (another user saving a
// procedure) are waited for.
#include <memory>
#include <string>

#include "dao/Database.h"

namespace dao {

inline constexpr int kDefaultBusyTimeoutMs = 1500;

class DBEngine {
public:
    explicit DBEngine(int busyTimeoutMs = kDefaultBusyTimeoutMs) : busyTimeoutMs_(busyTimeoutMs) {}

    // Opens an existing file (never creates one), shared and writable unless
    // `exclusive` (no one else may open it until it is closed) or `readOnly`.
    // 3024 missing file or a folder, 3343 not a database, 3049 truncated or
    // corrupt, 3045 held exclusively elsewhere.
    std::unique_ptr<Database> OpenDatabase(const std::string& path, bool exclusive = false,
                                           bool readOnly = false) const;
    // Checks the file and, when it is damaged, rebuilds it in place from every
    // row that can still be read. 3049 when even its catalogue is unreadable.
    // A server library gets the server's own upkeep of its tables instead.
    void RepairDatabase(const std::string& path) const;
    // Writes a compacted copy of `source` to `destination`, which must not
    // exist (3204).
    void CompactDatabase(const std::string& source, const std::string& destination) const;
    // A byte-for-byte copy of a library file at `destination`, which must not
    // exist (3204). Read through the engine's own handle, so the locks this
    // process holds on the file stay held.
    void CopyDatabaseFile(const std::string& source, const std::string& destination) const;

    int BusyTimeout() const { return busyTimeoutMs_; }

private:
    int busyTimeoutMs_;
};

}  // namespace dao
