#pragma once
// Turning an edit in the code window into line operations on the CodeModule.
// The editor reports a changed character range; everything after it is
// unchanged, so the count of old lines follows from the block counts alone.
#include <string>
#include <vector>

namespace host {
class CodeModule;
}

namespace studio {

// Lines [first, first + oldCount) (0-based) of the module were replaced by
// `newLines`; oldCount counts only lines the module really has.
struct LineEdit {
    long first = 0;
    long oldCount = 0;
    std::vector<std::string> newLines;
};

struct BlockSpan {
    long first = 0;     // first changed block (0-based)
    long oldCount = 0;  // blocks it replaced in the document before the change
    long newCount = 0;  // blocks it became
};

// firstBlock: block of the change's start; lastNewBlock: block where the added
// text ends; newBlockCount: blocks after the change; oldBlockCount: before it.
BlockSpan AffectedBlocks(long firstBlock, long lastNewBlock, long newBlockCount, long oldBlockCount);

// Applies the edit with as few line operations as possible: equal lines at
// either end are left alone, then lines are replaced in pairs and the rest
// inserted or deleted, so hidden Attribute lines stay with their lines.
void ApplyLineEdit(host::CodeModule& module, const LineEdit& edit);

}  // namespace studio
