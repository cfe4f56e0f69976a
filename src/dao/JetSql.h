#pragma once
// The Jet dialect the library's statements are written in, read for SQLite.
// Jet takes text literals between double quotes ("" inside meaning one quote),
// writes "DELETE * FROM", and names a table by itself as a record set source;
// SQLite reads double quotes as names and refuses "DELETE *". Translation works
// on tokens, so a literal's content can never be read as part of the statement.
#include <functional>
#include <string>
#include <string_view>

namespace dao {

// A text value as a Jet literal: between double quotes, each inner double quote
// doubled. Whatever the text holds, the statement keeps its meaning.
std::string QuoteText(std::string_view text);

enum class StatementKind { Select, Delete, Update, Insert, Other };

struct JetStatement {
    std::string sql;  // SQLite's reading of the statement
    StatementKind kind = StatementKind::Other;
    std::string table;      // the one table it reads or changes, when there is exactly one
    bool distinct = false;  // SELECT DISTINCT or an aggregate: rows are not tied to a table row
    bool ordered = false;   // states its own order (ORDER BY, GROUP BY, LIMIT, compound)
};

// An engine's spelling of a name written as a word or between brackets
// (without them); "" keeps a word as written.
using NameSpelling = std::function<std::string(std::string_view name, bool bracketed)>;

// Error 3075 for a literal left open. `names`, when given, respells every
// name token (an engine that reads neither brackets nor Jet's letter case).
JetStatement TranslateJet(std::string_view jetSql, const NameSpelling& names = {});

// A record set source that is a table name rather than a statement.
bool IsTableName(std::string_view source);
// A table name without brackets ("[Name]" → "Name").
std::string BareName(std::string_view name);
// An identifier between brackets, as SQLite and Jet both read it.
std::string Bracketed(std::string_view name);

}  // namespace dao
