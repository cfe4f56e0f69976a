#pragma once
// Repair and compaction of the library file in place: the file gets its backup
// name beside its own, is repaired there, and a compacted copy replaces it under
// its own name, so the stored location stays valid and always names a whole
// library. The run time's file statements it uses are here too.
#include <string>

namespace pv {

// The library file's name up to its first "." followed by ".bak": Library.mdb
// and Library give Library.bak, my.lib.mdb gives my.bak.
std::string BackupFileName(const std::string& strFileName);

// Where the compacted copy is written before it takes the library's name.
std::string CompactCopyName(const std::string& strLibraryPath);

// Deletes a file; error 53 when there is no such file (a folder is none).
void Kill(const std::string& strPath);
// Renames in one atomic step, replacing what `strTo` names; 53 when `strFrom` is missing.
void Name(const std::string& strFrom, const std::string& strTo);

// The file a library location names: a symbolic link's target, so that the
// link stays a link and the real file gets the backup and compacted copy beside it.
std::string LibraryFileOf(const std::string& strLibraryPath);

// Holds the library's write lock while the compacted copy is taken and renamed
// in, so a store meanwhile waits for it (and is never lost with the old file).
// Deletes an old backup, links the library to it, repairs it, compacts it into a
// copy that is renamed over the library and deletes the backup; a missing file
// (53) at any of these steps lets the next one run. On any other failure the
// library is left as it was under its own name and the backup goes. A server
// library gets the server's own upkeep instead, with no backup.
void RepairAndCompactLibrary(const std::string& strLocation);

}  // namespace pv
