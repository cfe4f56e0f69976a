#include "library/LibrarySearch.h"

#include <algorithm>
#include <cctype>
#include <string_view>

#include "dao/Errors.h"
#include "dao/Schema.h"

namespace pv {
namespace {

using Rows = std::vector<std::vector<dao::Value>>;

// Letters and digits of Windows-1252 beyond ASCII: what the word index takes
// for parts of words once the bytes are read as Unicode.
bool IsWordByte(unsigned char c) {
    if (c < 0x80) return std::isalnum(c) != 0;
    static constexpr std::string_view kHigh =
        "\x83\x8A\x8C\x8E\x9A\x9C\x9E\x9F\xAA\xB2\xB3\xB5\xB9\xBA\xBC\xBD\xBE";
    if (kHigh.find(static_cast<char>(c)) != std::string_view::npos) return true;
    return c >= 0xC0 && c != 0xD7 && c != 0xF7;
}

// One statement's text and its parameters, built together so the markers line up.
struct Statement {
    std::string sql;
    std::vector<dao::Value> params;
};

// The (procedure, line, word) rows of every word, line NULL for a name that holds
// the word, ranked: every word somewhere, then the order the header promises.
// Identifiers are quoted with their case, which both engines read alike.
void Rank(Statement& s, std::size_t words, int limit, const std::string& limitMarker) {
    const std::string n = std::to_string(words);
    s.sql = "WITH hit(h, line, w) AS (" + s.sql +
            ") SELECT p.\"ProcedureHeaderID\", p.\"Name\", p.\"Type\", p.\"CategoryID\", a.lines, "
            "CASE WHEN a.named = " +
            n +
            " THEN 1 ELSE 0 END AS whole FROM (SELECT h, count(DISTINCT w) AS words, "
            "count(DISTINCT line) AS lines, count(DISTINCT CASE WHEN line IS NULL THEN w END) AS named "
            "FROM hit GROUP BY h) a JOIN \"ProcedureHeader\" p ON p.\"ProcedureHeaderID\" = a.h WHERE "
            "a.words = " +
            n + " ORDER BY whole DESC, a.lines DESC, p.\"Name\", p.\"ProcedureHeaderID\"";
    if (limit <= 0) return;
    s.sql += " LIMIT " + limitMarker;
    s.params.emplace_back(limit);
}

void AddTerm(Statement& s, const std::string& select, dao::Value param) {
    if (!s.sql.empty()) s.sql += " UNION ALL ";
    s.sql += select;
    s.params.push_back(std::move(param));
}

std::vector<SearchHit> Hits(const Rows& rows) {
    std::vector<SearchHit> hits;
    for (const auto& row : rows)
        hits.push_back({row[0].AsLong(), row[1].ToText(), row[2].ToText(), row[3], row[4].AsLong(),
                        row[5].AsLong() != 0});
    return hits;
}

bool HasIndex(dao::Database& db) {
    return !db.QueryNative("SELECT 1 FROM sqlite_master WHERE type='table' AND name='ProcedureSearch'")
                .empty();
}

// The index's statements as a new library gets them, one a line.
std::vector<std::string> IndexStatements() {
    std::vector<std::string> statements;
    const std::string_view schema = dao::LibrarySchemaSql();
    for (std::size_t at = 0; at < schema.size();) {
        const std::size_t end = std::min(schema.find('\n', at), schema.size());
        const std::string_view line = schema.substr(at, end - at);
        if (line.find("ProcedureSearch") != std::string_view::npos) statements.emplace_back(line);
        at = end + 1;
    }
    return statements;
}

// Read-only, on a read-only medium or busy with another writer: not now.
bool CannotWrite(long number) {
    return number == dao::jet::ReadOnly || number == dao::jet::CannotOpenFile ||
           number == dao::jet::FileInUse || number == dao::jet::CouldNotUpdateLocked;
}

// Libraries made before the index get it at their first search; false when it cannot be written now.
bool EnsureIndex(dao::Database& db) {
    if (HasIndex(db)) return true;
    try {
        dao::Transaction transaction(db);
        // Another process may have built it while this one waited for the lock.
        if (!HasIndex(db)) {
            for (const std::string& statement : IndexStatements()) db.QueryNative(statement);
            db.QueryNative("INSERT INTO ProcedureSearch (ProcedureSearch) VALUES ('rebuild')");
        }
        transaction.Commit();
        return true;
    } catch (const vbrt::VbError& error) {
        if (!CannotWrite(error.Number())) throw;
        return false;
    }
}

// Without the index every line is read: a word anywhere in a line matches, not only at a word's start.
std::vector<SearchHit> SearchFile(dao::Database& db, const std::vector<std::string>& words, int limit) {
    const bool indexed = EnsureIndex(db);
    Statement s;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string w = std::to_string(i + 1);
        if (indexed)
            AddTerm(s,
                    "SELECT l.ProcedureHeaderID, l.ProcedureLineID, " + w +
                        " FROM ProcedureSearch CROSS JOIN ProcedureLine l ON l.ProcedureLineID = "
                        "ProcedureSearch.rowid WHERE ProcedureSearch MATCH ?",
                    "\"" + words[i] + "\"*");
        else
            AddTerm(
                s,
                "SELECT ProcedureHeaderID, ProcedureLineID, " + w + " FROM ProcedureLine WHERE Line LIKE ?",
                "%" + words[i] + "%");
        AddTerm(s, "SELECT ProcedureHeaderID, NULL, " + w + " FROM ProcedureHeader WHERE Name LIKE ?",
                "%" + words[i] + "%");
    }
    Rank(s, words.size(), limit, "?");
    return Hits(db.QueryNative(s.sql, s.params));
}

// PostgreSQL reads the lines through its own word index (to_tsvector 'simple').
std::vector<SearchHit> SearchOnServer(dao::Database& db, const std::vector<std::string>& words, int limit) {
    Statement s;
    const auto marker = [&] { return "$" + std::to_string(s.params.size() + 1); };
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string w = std::to_string(i + 1);
        AddTerm(s,
                "SELECT \"ProcedureHeaderID\", \"ProcedureLineID\", " + w +
                    " FROM \"ProcedureLine\" WHERE to_tsvector('simple', \"Line\"::text) @@ "
                    "to_tsquery('simple', " +
                    marker() + ")",
                words[i] + ":*");
        AddTerm(s,
                "SELECT \"ProcedureHeaderID\", CAST(NULL AS integer), " + w +
                    " FROM \"ProcedureHeader\" WHERE \"Name\"::text ILIKE " + marker(),
                "%" + words[i] + "%");
    }
    Rank(s, words.size(), limit, marker());
    return Hits(db.QueryNative(s.sql, s.params));
}

}  // namespace

std::vector<std::string> SearchWords(const std::string& text) {
    std::vector<std::string> words;
    std::string word;
    for (char c : text + ' ') {
        if (IsWordByte(static_cast<unsigned char>(c))) {
            word += c;
        } else if (!word.empty()) {
            words.push_back(std::move(word));
            word.clear();
        }
    }
    return words;
}

std::vector<SearchHit> SearchLibrary(dao::Database& db, const std::string& text, int limit) {
    const std::vector<std::string> words = SearchWords(text);
    if (words.empty()) return {};
    if (db.OnServer()) return SearchOnServer(db, words, limit);
    return SearchFile(db, words, limit);
}

}  // namespace pv
