#pragma once
// One pass over a module's visible lines that finds its members and the line
// ranges of its procedures, the way the code window's dropdowns see them.
#include <string>
#include <unordered_map>
#include <vector>

#include "host/CodeModule.h"

namespace host {

class ModuleText;

struct ProcInfo {
    std::string name;
    vbext_ProcKind kind = vbext_pk_Proc;
    bool isDeclare = false;  // a Declare statement: its range is its own line(s)
    bool isEvent = false;    // an Event declaration (no body, no End line)
    long startLine = 0;      // first line of the range (owns blank/comment lines above)
    long bodyLine = 0;       // the (first) declaration line
    long declEndLine = 0;    // last line of the declaration (after " _" continuations),
                             // or the #End If closing alternative declarations
    long endLine = 0;        // the End line (or the declaration's last line)
    long rangeEndLine = 0;   // endLine, or the module's last line for the last procedure
    // A procedure written inside a module-level #If group (alternative
    // declarations, or a copy per branch): the #End If closing the group, which
    // its range reaches at least. The first copy's lines are the ones above.
    long groupEndLine = 0;
};

struct ScanResult {
    std::vector<Member> members;  // host order: order of first declaration
    std::vector<ProcInfo> procs;  // in line order
    long declarationLines = 0;    // lines of the declarations section
    bool openAtEnd = false;       // the module ends inside a procedure, an Enum/Type block or an #If
    // Index into procs, or -1. Name comparison ignores letter case.
    int Find(const std::string& name, vbext_ProcKind kind) const;
    // Upper-cased name and kind to the index in procs, filled by the scan.
    std::unordered_map<std::string, int> index;
};

ScanResult ScanModule(const ModuleText& text);

}  // namespace host
