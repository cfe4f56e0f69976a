#pragma once
// Small lexical helpers over one line of VB source: words compared without
// regard to letter case, blanks, continuations. Bytes of 0x80 and above count
// as identifier characters, as accented letters do in the ANSI code page.
#include <string>
#include <string_view>

namespace host::lex {

inline bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}
inline bool IsIdentChar(char c) {
    auto u = static_cast<unsigned char>(c);
    return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || u == '_' ||
           u >= 0x80;
}

std::string_view TrimLeft(std::string_view s);
std::string_view TrimRight(std::string_view s);
std::string_view Trim(std::string_view s);

// Skips blanks, then reads one identifier (or the inside of [brackets]) and
// advances `rest` past it. Empty when the next character starts no word.
std::string_view NextWord(std::string_view& rest);
bool SameWord(std::string_view word, std::string_view keyword);
// True when `s` (after blanks) starts with the whole word `keyword`.
bool StartsWithWord(std::string_view s, std::string_view keyword);
// A line that goes on in the next one: it ends with a blank and "_".
bool ContinuesOnNextLine(std::string_view line);
// Joins the next physical line onto a continued logical line: the "_" goes,
// one blank stands for the line break, as the compiler reads it.
void AppendContinued(std::string& joined, std::string_view next);
// "Attribute Name.VB_X = value": the lines the code window hides.
bool IsAttributeLine(std::string_view line);

}  // namespace host::lex
