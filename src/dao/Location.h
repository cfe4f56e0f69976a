#pragma once
// Library locations: a file path, or a PostgreSQL database named by a
// postgresql:// (or postgres://) URI. Secrets belong in ~/.pgpass or
// PGPASSWORD; a URI that carries a password is only ever shown masked.
#include <string>
#include <string_view>

namespace dao {

// Blanks around a location are a slip of the typing hand, never part of a URI.
std::string_view TrimmedLocation(std::string_view location);
bool IsServerLocation(std::string_view location);
// The location as messages show it: every password libpq would read in it
// replaced by "****"; a URI libpq cannot read is shown as its scheme and "****".
std::string MaskedLocation(std::string_view location);
// A server location as libpq takes it: trimmed, its scheme in lower case (libpq knows no other).
std::string ServerUri(std::string_view location);
// Whether libpq reads `uri` (as ServerUri gives it) as a connection string: its keywords and escapes.
bool ParsesAsUri(const std::string& uri);

}  // namespace dao
