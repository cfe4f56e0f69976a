// Creating and looking after a library in a PostgreSQL database.
#include "dao/Errors.h"
#include "dao/PgConn.h"

namespace dao::detail {
namespace {

// The file library's schema in the server's terms: the same names and keys,
// citext for Jet's case-blind text, and for searching a word index of the lines
// and a trigram index of the names (a word anywhere in a name).
constexpr const char* kServerSchema[] = {
    "CREATE EXTENSION IF NOT EXISTS citext",
    "CREATE EXTENSION IF NOT EXISTS pg_trgm",
    R"(CREATE TABLE "Category" ("CategoryID" serial PRIMARY KEY, "CategoryDesc" citext))",
    R"(CREATE TABLE "ProcedureHeader" ("ProcedureHeaderID" serial PRIMARY KEY, "Name" citext, "Type" citext,
        "CategoryID" integer REFERENCES "Category" ("CategoryID") ON DELETE NO ACTION ON UPDATE NO ACTION))",
    R"(CREATE INDEX "ProcedureHeaderCategoryID" ON "ProcedureHeader" ("CategoryID"))",
    R"(CREATE INDEX "ProcedureHeaderNameParts" ON "ProcedureHeader" USING gin (("Name"::text) gin_trgm_ops))",
    R"(CREATE TABLE "ProcedureLine" ("ProcedureLineID" serial PRIMARY KEY, "ProcedureHeaderID" integer,
        "Line" citext))",
    R"(CREATE INDEX "ProcedureLineHeader" ON "ProcedureLine" ("ProcedureHeaderID", "ProcedureLineID"))",
    R"(CREATE INDEX "ProcedureLineWords" ON "ProcedureLine" USING gin (to_tsvector('simple', "Line"::text)))",
};

constexpr const char* kLibraryTables[] = {"Category", "ProcedureHeader", "ProcedureLine"};

}  // namespace

void CreateServerLibrary(const std::string& uri) {
    PgConn conn(uri, 1500, false);
    if (!conn.TableNames().empty()) Raise(jet::DatabaseExists);
    const FailContext context{"", StatementKind::Other, ""};
    conn.Run("BEGIN", {}, context);
    try {
        for (const char* statement : kServerSchema) conn.Exec(statement, {}, context);
        conn.Run("COMMIT", {}, context);
    } catch (...) {
        conn.RollbackQuietly();
        throw;
    }
}

void MaintainServerLibrary(const std::string& uri, int busyTimeoutMs) {
    PgConn conn(uri, busyTimeoutMs, false);
    const FailContext context{"", StatementKind::Other, ""};
    for (const char* table : kLibraryTables) {
        const std::string name = conn.Quote(table);
        conn.Exec("REINDEX TABLE " + name, {}, context);
        conn.Exec("VACUUM (ANALYZE) " + name, {}, context);
    }
}

}  // namespace dao::detail
