#pragma once
// Repair and compaction of the library file in place: the file is moved aside
// under its backup name, repaired there, and compacted back under its own name,
// so the stored location stays valid. The run time's file statements it uses
// are here too.
#include <string>

namespace pv {

// The library file's name up to its first "." followed by ".bak": Library.mdb
// and Library give Library.bak, my.lib.mdb gives my.bak.
std::string BackupFileName(const std::string& strFileName);

// Deletes a file; error 53 when there is no such file (a folder is none).
void Kill(const std::string& strPath);
// Renames in one atomic step, replacing what `strTo` names; 53 when `strFrom` is missing.
void Name(const std::string& strFrom, const std::string& strTo);

// Deletes an old backup, renames the library to it, repairs it, compacts it back
// under the library's name and deletes the backup; a missing file (53) at any of
// these steps lets the next one run. On any other failure the library is put
// back under its own name, whole, before the failure is thrown on.
void RepairAndCompactLibrary(const std::string& strLibraryPath);

}  // namespace pv
