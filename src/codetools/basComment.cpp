#include "codetools/basComment.h"

#include "forms/ErrorReport.h"
#include "host/VBE.h"
#include "settings/Options.h"

namespace pv {
namespace {

constexpr long kIndentSearchStart = 200000;

struct Block {
    long first = 0;
    long last = -1;  // below first: an empty block
};

// The block the selection covers; a selection that ends at column 1 stops before its end line.
Block SelectedBlock() {
    long startLine = 0, startColumn = 0, endLine = 0, endColumn = 0;
    Vbe().ActiveCodePane().GetSelection(startLine, startColumn, endLine, endColumn);
    if (endColumn == 1) --endLine;
    return {startLine, endLine};
}

void ReplaceLine(host::CodeModule& module, long line, const std::string& text) {
    // Delete then insert, so the module's line count never changes on the way.
    module.DeleteLines(line, 1);
    module.InsertLines(line, text);
}

long LowestIndent(host::CodeModule& module, const Block& block) {
    long indent = kIndentSearchStart;
    for (long line = block.first; line <= block.last; ++line) {
        const std::string text = module.Lines(line, 1);
        if (!IsBlankLine(text)) indent = std::min(indent, LeadingSpaces(text));
    }
    return indent;
}

void PlaceCaret(long line) { Vbe().ActiveCodePane().SetSelection(line, 1, line, 1); }

}  // namespace

bool IsBlankLine(const std::string& line) { return line.find_first_not_of(' ') == std::string::npos; }

long LeadingSpaces(const std::string& line) {
    const auto first = line.find_first_not_of(' ');
    return static_cast<long>(first == std::string::npos ? line.size() : first);
}

bool RemoveLeadingPrefix(const std::string& line, const std::string& prefix, std::string& result) {
    const auto at = line.find(prefix);
    if (at == std::string::npos || prefix.empty()) return false;
    // A prefix after code ("x = 1 ' note") is a trailing comment, not a commented-out line.
    if (line.find_first_not_of(' ') < at) return false;
    result = line.substr(0, at) + line.substr(at + prefix.size());
    return true;
}

void CommentSelection(Env& env) {
    forms::Trap(env.ui, "CommentSelection()", [&] {
        const std::string prefix = ReadCommentPrefix(env.store);
        const Block block = SelectedBlock();
        const std::string indentLevel = ReadIndentLevel(env.store);
        host::CodeModule& module = Vbe().ActiveCodePane().CodeModule();
        const long indent = indentLevel == "0" ? 0 : LowestIndent(module, block);
        for (long line = block.first; line <= block.last; ++line) {
            const std::string text = module.Lines(line, 1);
            if (IsBlankLine(text)) continue;
            const auto at = static_cast<std::size_t>(indent);
            ReplaceLine(module, line, text.substr(0, at) + prefix + text.substr(at));
        }
        PlaceCaret(block.last);
    });
}

void UncommentSelection(Env& env) {
    forms::Trap(env.ui, "UncommentSelection()", [&] {
        const std::string prefix = ReadCommentPrefix(env.store);
        const Block block = SelectedBlock();
        long changed = 0;
        host::CodeModule& module = Vbe().ActiveCodePane().CodeModule();
        for (long line = block.first; line <= block.last; ++line) {
            std::string uncommented;
            if (!RemoveLeadingPrefix(module.Lines(line, 1), prefix, uncommented)) continue;
            ReplaceLine(module, line, uncommented);
            ++changed;
        }
        if (changed == 0) {
            env.ui.Beep();
            env.ui.MsgBox(
                "Procvault could not find any lines in the selection with the comment prefix as specified on "
                "the options screen.",
                forms::vbExclamation + forms::vbOKOnly, "Procvault");
        }
        PlaceCaret(block.last);
    });
}

}  // namespace pv
