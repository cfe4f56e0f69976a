#pragma once
// File access for module and project files: exact bytes in, atomic writes out,
// and the stamp that tells whether somebody else changed a file meanwhile.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace host {

struct DiskStamp {
    std::uintmax_t size = 0;
    std::int64_t mtimeNs = 0;
    std::uint64_t inode = 0;
    bool operator==(const DiskStamp&) const = default;
};

// Nothing when the file does not exist.
std::optional<DiskStamp> StampOf(const std::filesystem::path& file);
// Raises 53 for a missing file, 75 for a folder, anything else that is not a
// regular file (told without opening it), one over 64 MB or an unreadable file.
std::string ReadFileBytes(const std::filesystem::path& file);
// Raises 75 "Path/File access error: <name> is read-only" when the file may not be written.
void CheckWritable(const std::filesystem::path& file);
// Writes a temporary file beside `file`, flushes it to disk, gives it the
// original's permission bits and renames it over `file`. Raises 75 on failure;
// `file` is then untouched. Returns the new file's stamp.
DiskStamp WriteFileAtomically(const std::filesystem::path& file, const std::string& bytes);
// "Path/File access error: <name> <what>"
[[noreturn]] void RaiseAccessError(const std::filesystem::path& file, const std::string& what);

}  // namespace host
