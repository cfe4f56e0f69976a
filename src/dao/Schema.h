#pragma once
// The library's schema: categories, stored procedures and their lines.
#include <string>

namespace dao {

// The statements that create an empty library.
const char* LibrarySchemaSql();

// Creates an empty library file with the schema; refuses (3204) when anything
// exists at `path`, 3044 when its folder does not. For a postgresql:// URI,
// the tables in an empty database (3204 when it has tables).
void CreateLibrary(const std::string& path);

}  // namespace dao
