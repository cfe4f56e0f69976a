#pragma once
// The library file's kind, checked before the engine opens it: a pipe would
// hold the open until a writer comes, a device would be read without end.
#include <string>

namespace dao {

// Raises 3051 "Cannot open '<path>': it is a pipe, not a database file." (or a
// device, or a socket); a regular file, a folder or nothing at all passes.
void CheckNotSpecialFile(const std::string& path);

}  // namespace dao
