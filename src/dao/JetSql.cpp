#include "dao/JetSql.h"

#include <cctype>
#include <vector>

#include "dao/Errors.h"
#include "vbrt/Text.h"

namespace dao {
namespace {

enum class Tok { Word, Text, Bracket, Space, Symbol };

struct Token {
    Tok kind;
    std::string text;  // Text: the literal's value; others: the source characters
};

bool IsWordChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || (c & 0x80);
}

// Reads a literal opened by `quote` at `i`; a doubled quote stands for one.
std::string ReadLiteral(std::string_view sql, std::size_t& i, char quote) {
    std::string value;
    for (++i; i < sql.size(); ++i) {
        if (sql[i] != quote) {
            value += sql[i];
        } else if (i + 1 < sql.size() && sql[i + 1] == quote) {
            value += quote;
            ++i;
        } else {
            ++i;
            return value;
        }
    }
    Raise(jet::SyntaxError, std::string(sql));
}

bool IsSqliteOnly(std::string_view sql, std::size_t i) {
    const char c = sql[i];
    const char next = i + 1 < sql.size() ? sql[i + 1] : '\0';
    return c == '`' || c == '?' || c == ':' || c == '@' || c == '$' || c == '#' ||
           (c == '-' && next == '-') || (c == '/' && next == '*');
}

std::vector<Token> Tokenize(std::string_view sql) {
    std::vector<Token> tokens;
    std::size_t i = 0;
    while (i < sql.size()) {
        const char c = sql[i];
        const std::size_t start = i;
        if (c == '"' || c == '\'') {
            tokens.push_back({Tok::Text, ReadLiteral(sql, i, c)});
        } else if (c == '[') {
            const auto close = sql.find(']', i);
            if (close == std::string_view::npos) Raise(jet::SyntaxError, std::string(sql));
            i = close + 1;
            tokens.push_back({Tok::Bracket, std::string(sql.substr(start, i - start))});
        } else if (std::isspace(static_cast<unsigned char>(c))) {
            while (i < sql.size() && std::isspace(static_cast<unsigned char>(sql[i]))) ++i;
            tokens.push_back({Tok::Space, std::string(sql.substr(start, i - start))});
        } else if (IsWordChar(c)) {
            while (i < sql.size() && IsWordChar(sql[i])) ++i;
            tokens.push_back({Tok::Word, std::string(sql.substr(start, i - start))});
        } else if (IsSqliteOnly(sql, i)) {
            // SQLite would read a comment, a quoted name, a parameter or a NUL here,
            // and a literal's text could then become part of the statement.
            Raise(jet::SyntaxError, std::string(sql));
        } else {
            ++i;
            tokens.push_back({Tok::Symbol, std::string(1, c)});
        }
    }
    return tokens;
}

bool IsWord(const Token& t, std::string_view word) {
    return t.kind == Tok::Word && vbrt::EqualsText(t.text, word);
}

// Index of the next token after `i` that is not blank, or tokens.size().
std::size_t NextSolid(const std::vector<Token>& tokens, std::size_t i) {
    for (++i; i < tokens.size(); ++i)
        if (tokens[i].kind != Tok::Space) return i;
    return tokens.size();
}

std::string SqliteLiteral(const std::string& value) {
    std::string out = "'";
    for (char c : value) {
        if (c == '\'') out += '\'';
        out += c;
    }
    return out + "'";
}

bool IsName(const Token& t) {
    return t.kind == Tok::Word || t.kind == Tok::Bracket;
}

// The table named after the keyword at `at`, when it is the only one.
std::string TableAfter(const std::vector<Token>& tokens, std::size_t at, bool selectSource) {
    const std::size_t name = NextSolid(tokens, at);
    if (name >= tokens.size() || !IsName(tokens[name]) || IsWord(tokens[name], "OR")) return {};
    // "main.Category": the word read is a schema, not the table.
    if (const std::size_t dot = NextSolid(tokens, name); dot < tokens.size() && tokens[dot].text == ".")
        return {};
    if (selectSource) {
        const std::size_t after = NextSolid(tokens, name);
        if (after < tokens.size()) {
            const Token& t = tokens[after];
            const bool clause = IsWord(t, "WHERE") || IsWord(t, "ORDER") || IsWord(t, "GROUP") ||
                                IsWord(t, "HAVING") || IsWord(t, "LIMIT") ||
                                (t.kind == Tok::Symbol && t.text == ";");
            if (!clause) return {};
        }
    }
    return BareName(tokens[name].text);
}

bool IsAggregate(const std::string& word) {
    for (const char* name : {"count", "max", "min", "sum", "avg"})
        if (vbrt::EqualsText(word, name)) return true;
    return false;
}

void Classify(const std::vector<Token>& tokens, JetStatement& out) {
    const std::size_t first = tokens.empty() || tokens[0].kind != Tok::Space ? 0 : NextSolid(tokens, 0);
    if (first >= tokens.size()) return;
    const Token& head = tokens[first];
    if (IsWord(head, "SELECT")) {
        out.kind = StatementKind::Select;
        const std::size_t second = NextSolid(tokens, first);
        out.distinct = second < tokens.size() &&
                       (IsWord(tokens[second], "DISTINCT") || IsWord(tokens[second], "DISTINCTROW"));
        int depth = 0;
        for (std::size_t i = first; i < tokens.size(); ++i) {
            if (tokens[i].kind == Tok::Symbol && tokens[i].text == "(") ++depth;
            if (tokens[i].kind == Tok::Symbol && tokens[i].text == ")") --depth;
            if (depth != 0) continue;
            if (IsWord(tokens[i], "FROM") && out.table.empty()) out.table = TableAfter(tokens, i, true);
            // count(*) and the like: one row made of many, tied to none of them.
            if (out.table.empty() && tokens[i].kind == Tok::Word && IsAggregate(tokens[i].text) &&
                NextSolid(tokens, i) < tokens.size() && tokens[NextSolid(tokens, i)].text == "(")
                out.distinct = true;
            for (const char* word : {"ORDER", "GROUP", "LIMIT", "UNION", "INTERSECT", "EXCEPT"})
                if (IsWord(tokens[i], word)) out.ordered = true;
        }
    } else if (IsWord(head, "DELETE")) {
        out.kind = StatementKind::Delete;
        for (std::size_t i = first; i < tokens.size(); ++i)
            if (IsWord(tokens[i], "FROM")) {
                out.table = TableAfter(tokens, i, false);
                break;
            }
    } else if (IsWord(head, "UPDATE")) {
        out.kind = StatementKind::Update;
        out.table = TableAfter(tokens, first, false);
    } else if (IsWord(head, "INSERT")) {
        out.kind = StatementKind::Insert;
        const std::size_t into = NextSolid(tokens, first);
        if (into < tokens.size() && IsWord(tokens[into], "INTO")) out.table = TableAfter(tokens, into, false);
    }
}

}  // namespace

std::string QuoteText(std::string_view text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

JetStatement TranslateJet(std::string_view jetSql, const NameSpelling& names) {
    // SQLite stops reading at a NUL, even inside a literal: what follows would be lost.
    if (jetSql.find('\0') != std::string_view::npos) Raise(jet::SyntaxError, std::string(jetSql));
    const std::vector<Token> tokens = Tokenize(jetSql);
    JetStatement out;
    Classify(tokens, out);
    out.sql.reserve(jetSql.size() + 8);
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        const Token& t = tokens[i];
        if (t.kind == Tok::Symbol && t.text == "*" && out.kind == StatementKind::Delete) {
            // "DELETE * FROM": Jet's star names no columns; SQLite wants none.
            const std::size_t next = NextSolid(tokens, i);
            if (next < tokens.size() && IsWord(tokens[next], "FROM")) {
                i = next - 1;
                continue;
            }
        }
        // x"41" would be a blob to SQLite, and "a"'b' one literal: a word or a
        // literal never touches the literal after it.
        if (t.kind == Tok::Text && i > 0 &&
            (tokens[i - 1].kind == Tok::Word || tokens[i - 1].kind == Tok::Text))
            out.sql += ' ';
        if (names && (t.kind == Tok::Word || t.kind == Tok::Bracket)) {
            const bool bracketed = t.kind == Tok::Bracket;
            const std::string spelled = names(bracketed ? BareName(t.text) : t.text, bracketed);
            out.sql += spelled.empty() ? t.text : spelled;
            continue;
        }
        out.sql += t.kind == Tok::Text ? SqliteLiteral(t.text) : t.text;
    }
    return out;
}

bool IsTableName(std::string_view source) {
    if (source.empty()) return false;
    if (source.front() == '[' && source.back() == ']') return source.find(']') == source.size() - 1;
    for (char c : source)
        if (!IsWordChar(c)) return false;
    return true;
}

std::string BareName(std::string_view name) {
    if (name.size() >= 2 && name.front() == '[' && name.back() == ']') name = name.substr(1, name.size() - 2);
    return std::string(name);
}

std::string Bracketed(std::string_view name) {
    std::string out;
    out.reserve(name.size() + 2);
    out += '[';
    out += name;
    out += ']';
    return out;
}

}  // namespace dao
