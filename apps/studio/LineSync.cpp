#include "LineSync.h"

#include <algorithm>

#include "host/CodeModule.h"
#include "host/ModuleText.h"

namespace studio {

BlockSpan AffectedBlocks(long firstBlock, long lastNewBlock, long newBlockCount, long oldBlockCount) {
    BlockSpan span;
    span.first = std::clamp(firstBlock, 0L, std::max(newBlockCount - 1, 0L));
    const long last = std::clamp(lastNewBlock, span.first, std::max(newBlockCount - 1, span.first));
    span.newCount = last - span.first + 1;
    span.oldCount = std::clamp(span.newCount - (newBlockCount - oldBlockCount), 0L,
                               std::max(oldBlockCount - span.first, 0L));
    return span;
}

namespace {

std::string JoinCrLf(std::vector<std::string>::const_iterator begin,
                     std::vector<std::string>::const_iterator end) {
    std::string text;
    for (auto it = begin; it != end; ++it) {
        if (it != begin) text += "\r\n";
        text += *it;
    }
    return text;
}

}  // namespace

void ApplyLineEdit(host::CodeModule& module, const LineEdit& edit) {
    const host::ModuleText& text = module.Text();
    long oldCount = std::clamp(edit.oldCount, 0L, std::max(text.Count() - edit.first, 0L));
    long newCount = static_cast<long>(edit.newLines.size());
    long prefix = 0;
    while (prefix < oldCount && prefix < newCount && text.Line(edit.first + prefix) == edit.newLines[prefix])
        ++prefix;
    long suffix = 0;
    while (suffix < oldCount - prefix && suffix < newCount - prefix &&
           text.Line(edit.first + oldCount - 1 - suffix) == edit.newLines[newCount - 1 - suffix])
        ++suffix;
    const long first = edit.first + prefix;  // 0-based
    oldCount -= prefix + suffix;
    newCount -= prefix + suffix;
    const long pairs = std::min(oldCount, newCount);
    for (long i = 0; i < pairs; ++i) module.ReplaceLine(first + i + 1, edit.newLines[prefix + i]);
    if (newCount > pairs) {
        const auto from = edit.newLines.begin() + prefix + pairs;
        module.InsertLines(first + pairs + 1, JoinCrLf(from, from + (newCount - pairs)));
    } else if (oldCount > pairs) {
        module.DeleteLines(first + pairs + 1, oldCount - pairs);
    }
}

}  // namespace studio
