#pragma once
// Reading procedures out of the active code module: whether a procedure already
// has error handling, the kind word of a declaration, and which of its copies
// need a handler. The module is only read here.
#include <string>
#include <vector>

#include "host/CodeModule.h"
#include "settings/Env.h"

namespace pv {

// True when lines lngStartLine..lngEndLine of the active code module hold an
// "On Error" statement (a line with an apostrophe anywhere does not count) or a
// Declare of an external procedure. Failures are reported as
// "ProcContainsErrorHandling()" and give what was found so far.
bool ProcContainsErrorHandling(Env& env, long lngStartLine, long lngEndLine);

// The first word of a declaration line that is not a scope word or "Static":
// "Sub", "Function", "Property" (or "Event", "Declare" for bodiless members).
// Blanks before the first word are skipped.
std::string ExtractProcType(const std::string& strLine);

// Whether a declaration's kind word names a procedure with a body.
bool IsProcedureKindWord(const std::string& strType);

// The host kind and bare name of a list entry's text: "Get ", "Let " and "Set "
// prefixes mark property parts.
struct ProcEntry {
    std::string name;
    host::vbext_ProcKind kind = host::vbext_pk_Proc;
};
ProcEntry SplitEntry(const std::string& strEntry);

// The copies of the entry's procedure in line order, as the host's scan found
// them in the #If groups of the module.
std::vector<host::ProcCopy> ProcCopies(const host::CodeModule& module, const ProcEntry& entry);

// The declaration line of the first copy without handling, or 0 when no copy
// needs it: lngStartLine..lngEndLine, the host's range, is checked as one when
// the procedure is written once.
long FirstCopyLackingHandling(Env& env, const host::CodeModule& module, const ProcEntry& entry,
                              long lngStartLine, long lngEndLine);

}  // namespace pv
