#pragma once
// Library locations: a file path, or a PostgreSQL database named by a
// postgresql:// (or postgres://) URI. Secrets belong in ~/.pgpass or
// PGPASSWORD; a URI that carries a password is only ever shown masked.
#include <string>
#include <string_view>

namespace dao {

bool IsServerLocation(std::string_view location);
// The location as messages show it: a password in it replaced by "****".
std::string MaskedLocation(std::string_view location);

}  // namespace dao
