#include "host/Statement.h"

#include "host/VbLex.h"

namespace host {
namespace {

using lex::SameWord;

// Cuts the first statement: up to a comment or a ":" separator outside strings.
std::string_view FirstStatement(std::string_view s) {
    bool inString = false;
    for (std::size_t i = 0; i < s.size(); ++i) {
        char c = s[i];
        if (c == '"')
            inString = !inString;
        else if (!inString && (c == '\'' || c == ':'))
            return s.substr(0, i);
    }
    return s;
}

// Whether a later statement of the line ("Sub A(): x = 1: End Sub") is an End
// of a procedure; `rest` starts after the first statement.
bool EndsOnSameLine(std::string_view rest) {
    while (!rest.empty() && rest.front() == ':') {
        rest.remove_prefix(1);
        std::string_view statement = FirstStatement(rest);
        std::string_view words = statement;
        if (lex::SameWord(lex::NextWord(words), "End")) {
            std::string_view what = lex::NextWord(words);
            if (SameWord(what, "Sub") || SameWord(what, "Function") || SameWord(what, "Property"))
                return true;
        }
        rest.remove_prefix(statement.size());
    }
    return false;
}

}  // namespace

std::string_view SkipLineLabel(std::string_view s) {
    s = lex::TrimLeft(s);
    if (!s.empty() && s[0] >= '0' && s[0] <= '9') {
        std::size_t n = 0;
        while (n < s.size() && s[n] >= '0' && s[n] <= '9') ++n;
        return lex::TrimLeft(s.substr(n));
    }
    std::string_view rest = s;
    std::string_view word = lex::NextWord(rest);
    if (!word.empty() && rest.size() >= 1 && rest[0] == ':' && (rest.size() == 1 || rest[1] != '='))
        return lex::TrimLeft(rest.substr(1));
    return s;
}

Directive ClassifyDirective(std::string_view line) {
    std::string_view s = lex::TrimLeft(line);
    if (s.empty() || s[0] != '#') return Directive::None;
    std::string_view rest = s.substr(1);
    std::string_view word = lex::NextWord(rest);
    if (SameWord(word, "If")) return Directive::If;
    if (SameWord(word, "ElseIf") || SameWord(word, "Else")) return Directive::Else;
    if (SameWord(word, "EndIf") || (SameWord(word, "End") && SameWord(lex::NextWord(rest), "If")))
        return Directive::EndIf;
    return Directive::None;
}

namespace {

// Splits "a As Long, b(1 To 2) As String, WithEvents c As X" into names.
void DeclaredNames(std::string_view list, std::vector<std::string_view>& names) {
    int depth = 0;
    bool inString = false;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= list.size(); ++i) {
        char c = i < list.size() ? list[i] : ',';
        if (c == '"') inString = !inString;
        if (inString) continue;
        if (c == '(') ++depth;
        if (c == ')') --depth;
        if (c != ',' || depth > 0) continue;
        std::string_view item = list.substr(start, i - start);
        std::string_view rest = item;
        std::string_view name = lex::NextWord(rest);
        if (SameWord(name, "WithEvents")) name = lex::NextWord(rest);
        if (!name.empty()) names.push_back(name);
        start = i + 1;
    }
}

bool IsModifier(std::string_view word, bool& declares) {
    if (SameWord(word, "Dim") || SameWord(word, "Private") || SameWord(word, "Public") ||
        SameWord(word, "Global")) {
        declares = true;
        return true;
    }
    return SameWord(word, "Friend") || SameWord(word, "Static");
}

vbext_ProcKind PropertyKind(std::string_view word) {
    if (SameWord(word, "Let")) return vbext_pk_Let;
    if (SameWord(word, "Set")) return vbext_pk_Set;
    return vbext_pk_Get;
}

void ClassifyDeclaration(std::string_view word, std::string_view rest, bool declares, Statement& out) {
    if (SameWord(word, "Sub") || SameWord(word, "Function")) {
        out.kind = StatementKind::Procedure;
        out.names.push_back(lex::NextWord(rest));
    } else if (SameWord(word, "Property")) {
        out.kind = StatementKind::Procedure;
        out.procKind = PropertyKind(lex::NextWord(rest));
        out.names.push_back(lex::NextWord(rest));
    } else if (SameWord(word, "Declare")) {
        out.kind = StatementKind::Declare;
        std::string_view kindWord = lex::NextWord(rest);
        if (SameWord(kindWord, "PtrSafe")) lex::NextWord(rest);
        out.names.push_back(lex::NextWord(rest));
    } else if (SameWord(word, "Event")) {
        out.kind = StatementKind::Event;
        out.names.push_back(lex::NextWord(rest));
    } else if (SameWord(word, "Const")) {
        out.kind = StatementKind::Const;
        DeclaredNames(rest, out.names);
    } else if (SameWord(word, "Enum") || SameWord(word, "Type")) {
        out.kind = StatementKind::BlockStart;
    } else if (declares && !word.empty()) {
        out.kind = StatementKind::Variable;
        DeclaredNames(
            std::string_view(word.data(), static_cast<std::size_t>(rest.data() + rest.size() - word.data())),
            out.names);
    } else {
        out.kind = StatementKind::Other;
    }
}

}  // namespace

void ClassifyStatement(std::string_view line, Statement& out) {
    out.kind = StatementKind::Blank;
    out.procKind = vbext_pk_Proc;
    out.names.clear();
    out.oneLine = false;
    std::string_view s = lex::TrimLeft(line);
    if (s.empty() || s[0] == '\'') return;
    if (s[0] == '#') {
        out.kind = StatementKind::Other;
        return;
    }
    if (lex::StartsWithWord(s, "Rem")) return;
    const std::string_view whole = SkipLineLabel(s);
    s = FirstStatement(whole);
    out.kind = StatementKind::Other;
    std::string_view rest = s;
    std::string_view word = lex::NextWord(rest);
    if (SameWord(word, "End")) {
        std::string_view what = lex::NextWord(rest);
        if (SameWord(what, "Sub") || SameWord(what, "Function") || SameWord(what, "Property"))
            out.kind = StatementKind::EndProcedure;
        else if (SameWord(what, "Enum") || SameWord(what, "Type"))
            out.kind = StatementKind::BlockEnd;
        return;
    }
    bool declares = false;
    while (IsModifier(word, declares)) word = lex::NextWord(rest);
    ClassifyDeclaration(word, rest, declares, out);
    if (out.kind == StatementKind::Procedure) out.oneLine = EndsOnSameLine(whole.substr(s.size()));
}

}  // namespace host
