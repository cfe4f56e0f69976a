#pragma once
// What a path names, told by stat alone: opening a pipe waits for a writer and
// a device never ends, so a caller must know before it opens anything.
#include <cstdint>
#include <filesystem>
#include <string>

namespace vbrt {

// The most a module or project file may hold: bigger ones are not source code,
// and reading them whole would only exhaust memory.
inline constexpr std::uintmax_t kMaxSourceFileBytes = 64ull * 1024 * 1024;

// What `path` is when it is neither a regular file, a folder nor missing (links
// followed): "a device", "a pipe" or "a socket"; else "".
std::string SpecialFileKind(const std::filesystem::path& path);

}  // namespace vbrt
