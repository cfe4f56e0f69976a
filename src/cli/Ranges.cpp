#include "cli/Ranges.h"

#include <CLI/CLI.hpp>
#include <charconv>

namespace pvcli {
namespace {

[[noreturn]] void Invalid(const char* option, const std::string& why) {
    throw CLI::ValidationError(option, why);
}

long ParseNumber(const char* option, const std::string& text, const std::string& what) {
    long value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size() || value < 1)
        Invalid(option, "invalid " + what + " '" + text + "': expected a whole number of at least 1");
    return value;
}

}  // namespace

LineRange ParseLineRange(const std::string& text) {
    const auto dash = text.find('-');
    LineRange range;
    range.first = ParseNumber("--lines", text.substr(0, dash), "line");
    range.last =
        dash == std::string::npos ? range.first : ParseNumber("--lines", text.substr(dash + 1), "line");
    if (range.last < range.first)
        Invalid("--lines", "invalid line range '" + text + "': the last line comes before the first");
    return range;
}

RawSelection ParseSelection(const std::string& text) {
    const std::string expected = "invalid selection '" + text + "': expected L1:C1-L2:C2";
    const auto dash = text.find('-');
    if (dash == std::string::npos) Invalid("--select", expected);
    auto point = [&](const std::string& part, long& line, long& column) {
        const auto colon = part.find(':');
        if (colon == std::string::npos) Invalid("--select", expected);
        line = ParseNumber("--select", part.substr(0, colon), "line");
        column = ParseNumber("--select", part.substr(colon + 1), "column");
    };
    RawSelection s;
    point(text.substr(0, dash), s.startLine, s.startColumn);
    point(text.substr(dash + 1), s.endLine, s.endColumn);
    if (s.endLine < s.startLine || (s.endLine == s.startLine && s.endColumn < s.startColumn))
        Invalid("--select", "invalid selection '" + text + "': its end comes before its start");
    return s;
}

}  // namespace pvcli
