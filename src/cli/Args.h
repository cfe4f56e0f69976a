#pragma once
// A small command-line reader: positional words and --options, some with values.
#include <map>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace pvcli {

class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct Args {
    std::vector<std::string> positional;
    std::map<std::string, std::string> values;  // --name VALUE or --name=VALUE
    std::set<std::string> flags;                // --name

    bool Has(const std::string& flag) const { return flags.count(flag) != 0; }
    std::optional<std::string> Value(const std::string& name) const;
};

// `withValue` names the options that take a value; any other --option is a flag
// and must be in `flagNames`. Raises UsageError for an unknown option or a missing value.
Args ParseArgs(const std::vector<std::string>& words, const std::set<std::string>& withValue,
               const std::set<std::string>& flagNames);

struct LineRange {
    long first = 0;
    long last = 0;
};
// "A-B" (or "A") with 1 <= A <= B; raises UsageError otherwise.
LineRange ParseLineRange(const std::string& text);

struct RawSelection {
    long startLine = 0, startColumn = 0, endLine = 0, endColumn = 0;
};
// "L1:C1-L2:C2", all at least 1 and the end not before the start.
RawSelection ParseSelection(const std::string& text);

}  // namespace pvcli
