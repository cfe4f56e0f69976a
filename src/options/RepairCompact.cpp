#include "options/RepairCompact.h"

#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <system_error>

#include "dao/DBEngine.h"
#include "dao/Errors.h"
#include "dao/Location.h"
#include "library/basConnect.h"
#include "vbrt/VbError.h"

namespace fs = std::filesystem;

namespace pv {
namespace {

// The run time's number for a file-system failure.
long FileErrorNumber(const std::error_code& ec) {
    if (ec == std::errc::no_such_file_or_directory) return vbrt::err::FileNotFound;
    if (ec == std::errc::permission_denied || ec == std::errc::operation_not_permitted)
        return vbrt::err::PermissionDenied;
    if (ec == std::errc::file_exists) return vbrt::err::FileAlreadyExists;
    return vbrt::err::PathFileAccess;
}

// Runs one step; true when it ran through, false when it met a missing file.
bool PassingOverMissingFiles(const std::function<void()>& step) {
    try {
        step();
        return true;
    } catch (const vbrt::VbError& error) {
        if (error.Number() != vbrt::err::FileNotFound) throw;
        return false;
    }
}

std::string JournalOf(const std::string& strPath) {
    return strPath + "-journal";
}

// A copy and its journal left by a run that was killed: SQLite would play the
// journal back into the next copy written under that name.
void DropCopy(const std::string& strCopy) {
    std::error_code ec;
    fs::remove(JournalOf(strCopy), ec);
    fs::remove(strCopy, ec);
}

// The backup is a second name for the library's file rather than the file moved
// aside, so a process killed at any step still leaves the library under its own
// name, whole. Where the file system has no hard links, it is a copy, read
// through the engine so that the library's write lock stays held.
void LinkAside(const dao::DBEngine& engine, const std::string& strLibrary, const std::string& strBackup) {
    std::error_code ec;
    fs::create_hard_link(strLibrary, strBackup, ec);
    if (!ec) return;
    if (ec == std::errc::no_such_file_or_directory) vbrt::Raise(FileErrorNumber(ec));
    engine.CopyDatabaseFile(strLibrary, strBackup);
}

// The library's write lock, taken as a user storing a procedure takes it, from
// before the compacted copy is written until it has the library's name: a store
// meanwhile waits and then gets the busy message rather than going into the file
// being replaced. None for a library missing or too damaged to lock: the repair
// step tells the user about it.
std::unique_ptr<dao::Database> HoldWriteLock(const dao::DBEngine& engine, const std::string& strLibrary) {
    try {
        std::unique_ptr<dao::Database> db = engine.OpenDatabase(strLibrary);
        db->BeginTrans();
        return db;
    } catch (const vbrt::VbError& error) {
        switch (error.Number()) {
            case dao::jet::FileNotFound:
            case dao::jet::UnrecognizedFormat:
            case dao::jet::CorruptDatabase:
            case dao::jet::ReadOnly:
                return nullptr;
            default:
                throw;
        }
    }
}

void SyncFolderOf(const std::string& strPath) {
    const fs::path folder = fs::path(strPath).parent_path();
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

// Beside the library, so that one rename puts it in the library's place and the
// name never holds a half-written file.
std::string CompactCopyName(const std::string& strLibraryPath) {
    return strLibraryPath + ".compacting";
}

std::string BackupFileName(const std::string& strFileName) {
    return strFileName.substr(0, strFileName.find('.')) + ".bak";
}

void Kill(const std::string& strPath) {
    std::error_code ec;
    const fs::file_status status = fs::symlink_status(strPath, ec);
    if (!fs::exists(status) || fs::is_directory(status)) vbrt::Raise(vbrt::err::FileNotFound);
    fs::remove(strPath, ec);
    if (ec) vbrt::Raise(FileErrorNumber(ec));
}

void Name(const std::string& strFrom, const std::string& strTo) {
    std::error_code ec;
    fs::rename(strFrom, strTo, ec);
    if (ec) vbrt::Raise(FileErrorNumber(ec));
}

std::string LibraryFileOf(const std::string& strLibraryPath) {
    std::error_code ec;
    if (!fs::is_symlink(fs::symlink_status(strLibraryPath, ec))) return strLibraryPath;
    const fs::path target = fs::canonical(strLibraryPath, ec);
    return ec ? strLibraryPath : target.string();
}

void RepairAndCompactLibrary(const std::string& strLocation) {
    const dao::DBEngine engine;
    // A server library has no file to set aside: the server looks after its tables in place.
    if (dao::IsServerLocation(strLocation)) return engine.RepairDatabase(strLocation);
    const std::string strLibraryPath = LibraryFileOf(strLocation);
    const std::string strFileName = ExtractFileName(strLibraryPath);
    // Without a file name there is nothing beside it to touch: the engine tells
    // the user that no such library exists.
    if (strFileName.empty()) engine.RepairDatabase(strLibraryPath);
    const std::string strBackup = ExtractFilePath(strLibraryPath) + BackupFileName(strFileName);
    // Library.bak would be deleted as its own old backup.
    if (strBackup == strLibraryPath)
        vbrt::Raise(vbrt::err::FileAlreadyExists, vbrt::ErrorText(vbrt::err::FileAlreadyExists) +
                                                      ": the library's backup would be " + strBackup +
                                                      " itself");
    PassingOverMissingFiles([&] { Kill(strBackup); });
    std::unique_ptr<dao::Database> lock = HoldWriteLock(engine, strLibraryPath);
    const bool bolLinked = PassingOverMissingFiles([&] { LinkAside(engine, strLibraryPath, strBackup); });
    const std::string strCopy = CompactCopyName(strLibraryPath);
    DropCopy(strCopy);
    try {
        PassingOverMissingFiles([&] { engine.RepairDatabase(strBackup); });
        PassingOverMissingFiles([&] { engine.CompactDatabase(strBackup, strCopy); });
        PassingOverMissingFiles([&] { Name(strCopy, strLibraryPath); });
    } catch (...) {
        // The library never left its name: only the backup and the copy go.
        DropCopy(strCopy);
        std::error_code ec;
        if (bolLinked) fs::remove(strBackup, ec);
        throw;
    }
    SyncFolderOf(strLibraryPath);
    // Writers that waited on the old file find it replaced; new ones open the compacted one.
    lock.reset();
    PassingOverMissingFiles([&] { Kill(strBackup); });
}

}  // namespace pv
