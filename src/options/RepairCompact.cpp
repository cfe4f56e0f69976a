#include "options/RepairCompact.h"

#include <filesystem>
#include <functional>
#include <system_error>

#include "dao/DBEngine.h"
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

// One atomic rename puts the library back and drops whatever the compaction
// half-wrote under its name, so the user never sees a partial library there.
// The half-written copy's journal goes first: SQLite would play it back into
// the library that takes the name over, and wreck it.
bool PutBack(const std::string& strBackup, const std::string& strLibrary, bool bolDropJournal) {
    std::error_code ec;
    if (bolDropJournal) fs::remove(JournalOf(strLibrary), ec);
    fs::rename(strBackup, strLibrary, ec);
    return !ec;
}

}  // namespace

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

void RepairAndCompactLibrary(const std::string& strLibraryPath) {
    const dao::DBEngine engine;
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
    const bool bolMovedAside = PassingOverMissingFiles([&] { Name(strLibraryPath, strBackup); });
    // A journal still there belongs to the library itself and goes back with it.
    std::error_code ec;
    const bool bolOwnJournal = fs::exists(JournalOf(strLibraryPath), ec);
    try {
        PassingOverMissingFiles([&] { engine.RepairDatabase(strBackup); });
        PassingOverMissingFiles([&] { engine.CompactDatabase(strBackup, strLibraryPath); });
    } catch (const vbrt::VbError& error) {
        if (!bolMovedAside || PutBack(strBackup, strLibraryPath, !bolOwnJournal)) throw;
        // The user must learn where the library's content is now.
        throw vbrt::VbError(error.Number(),
                            error.Description() + " (the library is left as " + strBackup + ")");
    } catch (...) {
        if (bolMovedAside) PutBack(strBackup, strLibraryPath, !bolOwnJournal);
        throw;
    }
    PassingOverMissingFiles([&] { Kill(strBackup); });
}

}  // namespace pv
