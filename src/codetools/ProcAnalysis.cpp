#include "codetools/ProcAnalysis.h"

#include <array>
#include <string_view>

#include "forms/ErrorReport.h"
#include "host/VBE.h"

namespace pv {
namespace {

bool Contains(const std::string& line, std::string_view part) {
    return line.find(part) != std::string::npos;
}

bool IsDeclareLine(const std::string& line) {
    return Contains(line, "Lib") && (Contains(line, "Declare Sub") || Contains(line, "Declare Function"));
}

// A trailing comment or a commented-out statement: the line is not trusted as a handler.
bool IsOnErrorLine(const std::string& line) {
    return Contains(line, "On Error") && !Contains(line, "'");
}

bool IsScopeWord(std::string_view word) {
    return word == "Private" || word == "Public" || word == "Friend" || word == "Static";
}

std::string_view SkipBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    return first == std::string_view::npos ? std::string_view{} : text.substr(first);
}

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

}  // namespace

bool ProcContainsErrorHandling(Env& env, long lngStartLine, long lngEndLine) {
    bool result = false;
    forms::Trap(env.ui, "ProcContainsErrorHandling()", [&] {
        const host::CodeModule& module = Vbe().ActiveCodePane().CodeModule();
        for (long line = lngStartLine; line <= lngEndLine; ++line) {
            const std::string text = module.Lines(line, 1);
            if (IsDeclareLine(text) || IsOnErrorLine(text)) {
                result = true;
                return;
            }
        }
    });
    return result;
}

std::string ExtractProcType(const std::string& strLine) {
    std::string_view rest = SkipBlanks(strLine);
    for (;;) {
        const auto blank = rest.find(' ');
        if (blank == std::string_view::npos) return std::string(rest);
        const std::string_view word = rest.substr(0, blank);
        if (!IsScopeWord(word)) return std::string(word);
        rest = rest.substr(blank + 1);
    }
}

bool IsProcedureKindWord(const std::string& strType) {
    return strType == "Sub" || strType == "Function" || strType == "Property";
}

ProcEntry SplitEntry(const std::string& strEntry) {
    static constexpr std::array<std::pair<std::string_view, host::vbext_ProcKind>, 3> kPrefixes{
        {{"Get ", host::vbext_pk_Get}, {"Let ", host::vbext_pk_Let}, {"Set ", host::vbext_pk_Set}}};
    for (const auto& [prefix, kind] : kPrefixes)
        if (StartsWith(strEntry, prefix)) return {strEntry.substr(prefix.size()), kind};
    return {strEntry, host::vbext_pk_Proc};
}

}  // namespace pv
