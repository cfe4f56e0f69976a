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
    if (!ProcContainsErrorHandling(env, lngStartLine, lngEndLine))
        return module.ProcBodyLine(entry.name, entry.kind);
    const auto copies = ProcCopies(module, entry);
    if (copies.size() <= 1) return 0;
    for (const auto& copy : copies)
        if (!ProcContainsErrorHandling(env, copy.declLine, copy.endLine)) return copy.declLine;
    return 0;
}

}  // namespace pv
