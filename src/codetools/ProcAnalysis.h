#pragma once
// Reading procedures out of the active code module: whether a procedure already
// has error handling, the kind word of a declaration, and where a declaration
// and a procedure's End statement lie. The module is only read here.
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

// The last line of the declaration starting at lngDeclarationLine, after any
// " _" continuations.
long DeclarationLastLine(const host::CodeModule& module, long lngDeclarationLine);

// Whether the line is an "End Sub", "End Function" or "End Property" statement.
bool IsEndStatement(const std::string& strLine);

// The line of the procedure's own End statement: the last such line of its
// range (comments the host counts after it stay below), else the range's last
// non-empty line.
long ProcEndLine(const host::CodeModule& module, const ProcEntry& entry);

}  // namespace pv

namespace pv {

// One written-out copy of a procedure. A procedure declared once per #If
// branch is one copy whose declaration ends at the #End If; one written out
// whole in each branch is one copy per branch.
struct ProcCopy {
    long headerLine = 0;  // comment stubs go directly above it (the #If of alternative declarations)
    long declLine = 0;    // its (first) declaration line
    long entryLine = 0;   // the entry statement goes directly above it
    long endLine = 0;     // its End statement (else the last non-empty line of the range)
    bool closed = false;  // an End statement was found
};

// The copies of the entry's procedure in the host's range for it, in line order.
std::vector<ProcCopy> ProcCopies(const host::CodeModule& module, const ProcEntry& entry);

// Whether no copy of the procedure needs handling: lngStartLine..lngEndLine,
// the host's range, is checked as one when the procedure is written once.
bool EveryCopyHasHandling(Env& env, const host::CodeModule& module, const ProcEntry& entry, long lngStartLine,
                          long lngEndLine);

}  // namespace pv
