#include "host/VbLex.h"

#include "vbrt/Text.h"

namespace host::lex {

std::string_view TrimLeft(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size() && IsBlank(s[i])) ++i;
    return s.substr(i);
}

std::string_view TrimRight(std::string_view s) {
    std::size_t n = s.size();
    while (n > 0 && IsBlank(s[n - 1])) --n;
    return s.substr(0, n);
}

std::string_view Trim(std::string_view s) {
    return TrimRight(TrimLeft(s));
}

std::string_view NextWord(std::string_view& rest) {
    rest = TrimLeft(rest);
    if (!rest.empty() && rest.front() == '[') {
        auto close = rest.find(']');
        if (close == std::string_view::npos) close = rest.size();
        auto word = rest.substr(1, close - 1);
        rest.remove_prefix(close < rest.size() ? close + 1 : close);
        return word;
    }
    std::size_t n = 0;
    while (n < rest.size() && IsIdentChar(rest[n])) ++n;
    auto word = rest.substr(0, n);
    rest.remove_prefix(n);
    return word;
}

bool SameWord(std::string_view word, std::string_view keyword) {
    return vbrt::EqualsText(word, keyword);
}

bool StartsWithWord(std::string_view s, std::string_view keyword) {
    s = TrimLeft(s);
    if (s.size() < keyword.size() || !SameWord(s.substr(0, keyword.size()), keyword)) return false;
    return s.size() == keyword.size() || !IsIdentChar(s[keyword.size()]);
}

bool ContinuesOnNextLine(std::string_view line) {
    line = TrimRight(line);
    if (line.empty() || line.back() != '_') return false;
    return line.size() == 1 || IsBlank(line[line.size() - 2]);
}

void AppendContinued(std::string& joined, std::string_view next) {
    joined.resize(TrimRight(joined).size() - 1);
    joined += ' ';
    joined += next;
}

bool IsAttributeLine(std::string_view line) {
    std::string_view rest = line;
    if (!SameWord(NextWord(rest), "Attribute")) return false;
    if (rest.empty() || !IsBlank(rest.front())) return false;
    if (NextWord(rest).empty()) return false;
    return rest.find('=') != std::string_view::npos;
}

}  // namespace host::lex
