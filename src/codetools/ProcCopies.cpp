// Which copies of a procedure need handling. Where the copies lie is the
// host's to say: its one scan follows the #If groups of the module.
#include "codetools/ProcAnalysis.h"

namespace pv {

std::vector<host::ProcCopy> ProcCopies(const host::CodeModule& module, const ProcEntry& entry) {
    return module.ProcCopies(entry.name, entry.kind);
}

long FirstCopyLackingHandling(Env& env, const host::CodeModule& module, const ProcEntry& entry,
                              long lngStartLine, long lngEndLine) {
    // Without handling anywhere in the range no copy has any: the copies need not be looked at.
    const bool rangeHandled = ProcContainsErrorHandling(env, lngStartLine, lngEndLine);
    const auto copies = ProcCopies(module, entry);
    if (copies.size() <= 1) return rangeHandled ? 0 : module.ProcBodyLine(entry.name, entry.kind);
    for (const auto& copy : copies)
        if (!rangeHandled || !ProcContainsErrorHandling(env, copy.declLine, copy.endLine))
            return copy.declLine;
    return 0;
}

}  // namespace pv
