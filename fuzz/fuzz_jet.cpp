// Arbitrary text through the Jet-to-SQLite translation. Properties:
// 1. The only failure is a VbError (an open literal or bracket).
// 2. The values of the Jet text literals, read by an independent Jet reader,
//    are exactly the text literals SQLite reads in the translation, in order:
//    a literal's content never turns into statement text, a comment or a blob.
// 3. Run on an in-memory library, a SELECT changes no table, and a DELETE,
//    UPDATE or INSERT whose one table the translation names changes no other.
#include <sqlite3.h>

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "dao/JetSql.h"
#include "dao/Schema.h"
#include "vbrt/Text.h"
#include "vbrt/VbError.h"

namespace {

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "fuzz_jet: %s\n", what);
    std::abort();
}

// Jet: "..." or '...' with the quote doubled inside, [...] names. Nothing else
// can hide a quote character.
bool JetLiterals(std::string_view sql, std::vector<std::string>& out) {
    for (std::size_t i = 0; i < sql.size(); ++i) {
        const char c = sql[i];
        if (c == '[') {
            i = sql.find(']', i);
            if (i == std::string_view::npos) return false;
        } else if (c == '"' || c == '\'') {
            std::string value;
            for (++i;; ++i) {
                if (i >= sql.size()) return false;
                if (sql[i] != c) {
                    value += sql[i];
                } else if (i + 1 < sql.size() && sql[i + 1] == c) {
                    value += c;
                    ++i;
                } else {
                    break;
                }
            }
            out.push_back(std::move(value));
        }
    }
    return true;
}

bool IdChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '$' || (c & 0x80);
}

// SQLite's own lexer rules for whatever can hold a quote: comments, '...'
// text, X'...' blobs, "...", [...] and `...` names, and Tcl-style parameters
// ("$a(...)"). Gives the text literal values in order; a quoted token left
// open runs to the end. SQLite reads the text as a C string: a NUL ends it.
std::vector<std::string> SqliteLiterals(std::string_view sql) {
    std::vector<std::string> out;
    sql = sql.substr(0, sql.find('\0'));
    auto quoted = [&](std::size_t& i, char close) {
        std::string value;
        for (++i; i < sql.size(); ++i) {
            if (sql[i] != close) {
                value += sql[i];
            } else if (close != ']' && i + 1 < sql.size() && sql[i + 1] == close) {
                value += close;
                ++i;
            } else {
                return value;
            }
        }
        return value;
    };
    for (std::size_t i = 0; i < sql.size(); ++i) {
        const char c = sql[i];
        if (sql.substr(i, 2) == "--") {
            i = sql.find('\n', i);
            if (i == std::string_view::npos) break;
        } else if (sql.substr(i, 2) == "/*") {
            i = sql.find("*/", i + 2);
            if (i == std::string_view::npos) break;
            ++i;
        } else if (c == '\'') {
            out.push_back(quoted(i, '\''));
        } else if (c == '"' || c == '`' || c == '[') {
            quoted(i, c == '[' ? ']' : c);
        } else if ((c == 'x' || c == 'X') && i + 1 < sql.size() && sql[i + 1] == '\'') {
            ++i;
            quoted(i, '\'');  // a blob, not text
        } else if (c == '$' || c == '@' || c == ':' || c == '#') {
            std::size_t n = 0;
            for (++i; i < sql.size(); ++i) {
                if (IdChar(sql[i])) {
                    ++n;
                } else if (sql[i] == '(' && n > 0) {
                    while (i + 1 < sql.size() && !std::isspace(static_cast<unsigned char>(sql[i + 1])) &&
                           sql[i + 1] != ')')
                        ++i;
                    break;
                } else if (sql[i] == ':' && i + 1 < sql.size() && sql[i + 1] == ':') {
                    ++i;
                } else {
                    --i;
                    break;
                }
            }
        } else if (IdChar(c)) {
            while (i + 1 < sql.size() && IdChar(sql[i + 1])) ++i;
        }
    }
    return out;
}

// An in-memory library with a few rows, bounded so no statement runs away.
struct Library {
    sqlite3* db = nullptr;
    Library() {
        if (sqlite3_open(":memory:", &db) != SQLITE_OK) Fail("cannot open an in-memory database");
        const std::string script =
            std::string(dao::LibrarySchemaSql()) +
            "INSERT INTO Category (CategoryDesc) VALUES ('General'), ('Files');"
            "INSERT INTO ProcedureHeader (Name, Type, CategoryID) VALUES ('DoIt', 'Sub', 1),"
            " ('Total', 'Function', 2);"
            "INSERT INTO ProcedureLine (ProcedureHeaderID, Line) VALUES (1, 'Sub DoIt()'),"
            " (1, 'End Sub'), (2, 'Function Total()'), (2, 'End Function');";
        if (sqlite3_exec(db, script.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK) Fail("schema failed");
        sqlite3_limit(db, SQLITE_LIMIT_LENGTH, 100000);
        sqlite3_limit(db, SQLITE_LIMIT_ATTACHED, 0);
        sqlite3_progress_handler(
            db, 1000, [](void* budget) { return --*static_cast<int*>(budget) < 0 ? 1 : 0; }, &budget);
    }
    ~Library() { sqlite3_close(db); }
    std::map<std::string, std::string> Snapshot() {
        std::map<std::string, std::string> tables;
        const std::pair<const char*, const char*> kTables[] = {
            {"Category", "CategoryID, CategoryDesc"},
            {"ProcedureHeader", "ProcedureHeaderID, Name, Type, CategoryID"},
            {"ProcedureLine", "ProcedureLineID, ProcedureHeaderID, Line"}};
        for (const auto& [name, columns] : kTables) {
            std::string row = "quote(_rowid_)";
            for (std::string_view rest = columns; !rest.empty();) {
                const auto comma = rest.find(", ");
                row += std::string(" || ',' || quote(") + std::string(rest.substr(0, comma)) + ")";
                rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 2);
            }
            const std::string sql = "SELECT group_concat(" + row + ", ';') FROM " + name;
            sqlite3_stmt* stmt = nullptr;
            std::string text = "gone";
            budget = 1 << 20;
            if (sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr) == SQLITE_OK &&
                sqlite3_step(stmt) == SQLITE_ROW) {
                const auto* value = sqlite3_column_text(stmt, 0);
                text = value ? reinterpret_cast<const char*>(value) : "";
            }
            sqlite3_finalize(stmt);
            tables[name] = text;
        }
        return tables;
    }
    int budget = 0;
};

// Runs the statement as the engine does (one statement, nothing after it) and
// gives the tables whose content changed.
std::vector<std::string> ChangedTables(const std::string& sqliteSql) {
    static Library* library = new Library;  // one per process: building it per input is the slow part
    Library& lib = *library;
    sqlite3_exec(lib.db, "SAVEPOINT fuzz", nullptr, nullptr, nullptr);
    const auto before = lib.Snapshot();
    const std::string utf8 = vbrt::Cp1252ToUtf8(sqliteSql);
    sqlite3_stmt* stmt = nullptr;
    const char* tail = nullptr;
    std::vector<std::string> changed;
    if (sqlite3_prepare_v2(lib.db, utf8.c_str(), static_cast<int>(utf8.size() + 1), &stmt, &tail) ==
            SQLITE_OK &&
        stmt) {
        bool onlyBlanks = true;
        for (; tail && *tail; ++tail)
            onlyBlanks = onlyBlanks && std::isspace(static_cast<unsigned char>(*tail));
        lib.budget = 50;
        if (onlyBlanks && sqlite3_stmt_readonly(stmt) == 0) {
            int rows = 0;
            while (sqlite3_step(stmt) == SQLITE_ROW && ++rows < 1000) {
            }
        }
        sqlite3_finalize(stmt);
        const auto after = lib.Snapshot();
        for (const auto& [name, text] : before) {
            if (after.at(name) != text) changed.push_back(name);
        }
    }
    sqlite3_exec(lib.db, "ROLLBACK TO fuzz; RELEASE fuzz", nullptr, nullptr, nullptr);
    return changed;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view jet(reinterpret_cast<const char*>(data), size);
    dao::JetStatement statement;
    try {
        statement = dao::TranslateJet(jet);
    } catch (const vbrt::VbError&) {
        return 0;
    }
    std::vector<std::string> jetValues;
    if (!JetLiterals(jet, jetValues)) Fail("translated a statement with a literal or name left open");
    if (SqliteLiterals(statement.sql) != jetValues)
        Fail("a Jet literal is not the same text literal for SQLite");

    const bool named = statement.kind == dao::StatementKind::Delete ||
                       statement.kind == dao::StatementKind::Update ||
                       statement.kind == dao::StatementKind::Insert;
    if (statement.kind != dao::StatementKind::Select && !(named && !statement.table.empty())) return 0;
    if (size > 2000) return 0;
    for (const auto& table : ChangedTables(statement.sql))
        if (statement.kind == dao::StatementKind::Select || !vbrt::EqualsText(table, statement.table))
            Fail("the statement changed a table its kind does not name");
    return 0;
}
