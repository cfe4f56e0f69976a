#pragma once
// The line ranges and selections the comment commands take, as the user types
// them. A malformed one raises CLI::ValidationError naming the option.
#include <string>

namespace pvcli {

struct LineRange {
    long first = 0;
    long last = 0;
};
// "A-B" (or "A") with 1 <= A <= B.
LineRange ParseLineRange(const std::string& text);

struct RawSelection {
    long startLine = 0, startColumn = 0, endLine = 0, endColumn = 0;
};
// "L1:C1-L2:C2", all at least 1 and the end not before the start.
RawSelection ParseSelection(const std::string& text);

}  // namespace pvcli
