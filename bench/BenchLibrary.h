#pragma once
// The large benchmark library: 100,000 procedures with 3,000,000 lines. The file
// is generated once and kept for later runs (PV_BENCH_LIBRARY names it; default
// under the system temp folder; a postgresql:// URI names a server library).
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "dao/DBEngine.h"
#include "dao/Location.h"
#include "dao/Schema.h"

namespace benchlib {

namespace fs = std::filesystem;

inline constexpr int kProcedures = 100000;
inline constexpr int kLinesEach = 30;
inline constexpr int kCategories = 20;

inline std::string LibraryPath() {
    if (const char* path = std::getenv("PV_BENCH_LIBRARY")) return path;
    return (fs::temp_directory_path() / "procvault-bench" / "library-100k.mdb").string();
}

// Writes a library at `path` from `statements`, run in one transaction beside it and
// renamed into place, so that an interrupted generation is never taken for a whole one.
inline void BuildLibrary(const std::string& path, const std::vector<std::string>& statements) {
    fs::create_directories(fs::path(path).parent_path());
    const std::string building = path + ".building";
    fs::remove(building);
    dao::CreateLibrary(building);
    auto db = dao::DBEngine().OpenDatabase(building);
    db->BeginTrans();
    for (const std::string& statement : statements) db->Execute(statement);
    db->CommitTrans();
    db->Close();
    fs::rename(building, path);
}

// Names are spread over the key range so that a sorted list gets them out of order.
inline void Generate(const std::string& path) {
    BuildLibrary(
        path,
        {"INSERT INTO Category (CategoryDesc) WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n "
         "WHERE i<" +
             std::to_string(kCategories) + ") SELECT printf(\"Category %02d\", i) FROM n",
         "INSERT INTO ProcedureHeader (Name, Type, CategoryID) WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL "
         "SELECT i+1 FROM n WHERE i<" +
             std::to_string(kProcedures - 1) + ") SELECT printf(\"Proc%06d\", (i*7919) % " +
             std::to_string(kProcedures) +
             "), CASE WHEN i % 3 = 0 THEN \"Function\" ELSE \"Sub\" END, 1 + (i*31) % " +
             std::to_string(kCategories) + " FROM n",
         "INSERT INTO ProcedureLine (ProcedureHeaderID, Line) WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL "
         "SELECT i+1 FROM n WHERE i<" +
             std::to_string(kLinesEach) +
             ") SELECT h.ProcedureHeaderID, printf(\"    strResult = strResult & \"\"line %d\"\"\", n.i) "
             "FROM ProcedureHeader h, n ORDER BY h.ProcedureHeaderID, n.i"});
}

inline const std::string& Library() {
    static const std::string path = [] {
        const std::string p = LibraryPath();
        // A server library (bench/server-100k.sh) is filled by the server itself.
        if (!dao::IsServerLocation(p) && !fs::exists(p)) Generate(p);
        return p;
    }();
    return path;
}

}  // namespace benchlib
