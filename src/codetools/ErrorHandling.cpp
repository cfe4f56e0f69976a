#include "codetools/ErrorHandling.h"

#include "codetools/NewProcedure.h"
#include "codetools/ProcAnalysis.h"
#include "forms/ErrorReport.h"
#include "host/VBE.h"
#include "vbrt/VbError.h"

namespace pv {
namespace {

std::string HandlerBlock(Env& env, const std::string& label, const std::string& strType) {
    return "Exit_" + label + ":\r\n" + "\tExit " + strType + "\r\n\r\n" + "Err_" + label + ":\r\n" + "\t" +
           GetErrorMessage(env, label) + "\r\n" + "\tResume Exit_" + label + "\r\n";
}

// The block for one copy, from the bottom up so that the lines found for it
// stay in place; an entry statement below each of its declarations, so the
// one the compiler takes is armed. The number of lines written above `line`.
long AddToCopy(Env& env, host::CodeModule& module, const host::ProcCopy& copy, const std::string& strName,
               const std::string& strType, bool bolAddCommentStubs, long line) {
    const std::string label = ReplaceSpaces(env, strName);
    module.InsertLines(copy.endLine, HandlerBlock(env, label, strType));
    for (auto line = copy.declEndLines.rbegin(); line != copy.declEndLines.rend(); ++line)
        module.InsertLines(*line + 1, "\tOn Error Goto Err_" + label + "\r\n\r\n");
    if (!bolAddCommentStubs) return 0;
    const auto header = CommentHeaderLines(env, strName);
    module.InsertLines(copy.headerLine, JoinLines(header));
    return copy.headerLine <= line ? static_cast<long>(header.size()) : 0;
}

// Without its End line the procedure's end is a guess: a block put there could
// split a statement; on one line with its End there is no room for a block.
void RefuseUnsafeCopies(const std::vector<host::ProcCopy>& copies, const std::string& strName) {
    // Listed but not found in its own range: adding nothing must not pass for success.
    if (copies.empty()) vbrt::Raise(vbrt::err::SubNotDefined);
    for (const auto& copy : copies) {
        if (copy.oneLine)
            vbrt::Raise(vbrt::err::InvalidCall,
                        strName + " is written on one line with its End statement; nothing was added");
        if (!copy.closed)
            vbrt::Raise(vbrt::err::InvalidCall, "No End statement closes " + strName + "; nothing was added");
    }
}

}  // namespace

void AddToExistingProcedure(Env& env, const std::string& strName, const std::string& strType,
                            long lngStartLine, bool bolAddCommentStubs) {
    forms::Trap(env.ui, "AddToExistingProcedure", [&] {
        host::CodeModule& module = Vbe().ActiveCodePane().CodeModule();
        // Found before anything is inserted, so the module is scanned once per procedure.
        const auto copies = ProcCopies(module, SplitEntry(strName));
        RefuseUnsafeCopies(copies, strName);
        long caret = lngStartLine;
        for (auto copy = copies.rbegin(); copy != copies.rend(); ++copy) {
            // A copy that has its handling keeps it; one written once is the caller's choice.
            if (copies.size() > 1 && ProcContainsErrorHandling(env, copy->declLine, copy->endLine)) continue;
            caret += AddToCopy(env, module, *copy, strName, strType, bolAddCommentStubs, lngStartLine);
        }
        module.CodePane().SetSelection(caret, 1, caret, 1);
    });
}

}  // namespace pv
