#include "cli/Args.h"

#include <charconv>

namespace pvcli {
namespace {

long ParseNumber(const std::string& text, const std::string& what) {
    long value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size() || value < 1)
        throw UsageError("invalid " + what + " '" + text + "': expected a whole number of at least 1");
    return value;
}

}  // namespace

std::optional<std::string> Args::Value(const std::string& name) const {
    auto it = values.find(name);
    if (it == values.end()) return std::nullopt;
    return it->second;
}

Args ParseArgs(const std::vector<std::string>& words, const std::set<std::string>& withValue,
               const std::set<std::string>& flagNames) {
    Args args;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (word.rfind("--", 0) != 0 || word == "--") {
            args.positional.push_back(word);
            continue;
        }
        std::string name = word.substr(2);
        std::optional<std::string> inlineValue;
        if (auto eq = name.find('='); eq != std::string::npos) {
            inlineValue = name.substr(eq + 1);
            name = name.substr(0, eq);
        }
        if (withValue.count(name)) {
            if (inlineValue) {
                args.values[name] = *inlineValue;
            } else if (i + 1 < words.size()) {
                args.values[name] = words[++i];
            } else {
                throw UsageError("option --" + name + " needs a value");
            }
        } else if (flagNames.count(name) && !inlineValue) {
            args.flags.insert(name);
        } else {
            throw UsageError("unknown option --" + name);
        }
    }
    return args;
}

LineRange ParseLineRange(const std::string& text) {
    const auto dash = text.find('-');
    LineRange range;
    range.first = ParseNumber(text.substr(0, dash), "line");
    range.last = dash == std::string::npos ? range.first : ParseNumber(text.substr(dash + 1), "line");
    if (range.last < range.first)
        throw UsageError("invalid line range '" + text + "': the last line comes before the first");
    return range;
}

RawSelection ParseSelection(const std::string& text) {
    const auto dash = text.find('-');
    if (dash == std::string::npos) throw UsageError("invalid selection '" + text + "': expected L1:C1-L2:C2");
    auto point = [&](const std::string& part, long& line, long& column) {
        const auto colon = part.find(':');
        if (colon == std::string::npos)
            throw UsageError("invalid selection '" + text + "': expected L1:C1-L2:C2");
        line = ParseNumber(part.substr(0, colon), "line");
        column = ParseNumber(part.substr(colon + 1), "column");
    };
    RawSelection s;
    point(text.substr(0, dash), s.startLine, s.startColumn);
    point(text.substr(dash + 1), s.endLine, s.endColumn);
    if (s.endLine < s.startLine || (s.endLine == s.startLine && s.endColumn < s.startColumn))
        throw UsageError("invalid selection '" + text + "': its end comes before its start");
    return s;
}

}  // namespace pvcli
