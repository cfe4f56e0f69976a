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
    // Packed with `copies` into one word: a scan patch walks every procedure on every edit.
    vbext_ProcKind kind : 4 = vbext_pk_Proc;
    bool isDeclare : 1 = false;  // a Declare statement: its range is its own line(s)
    bool isEvent : 1 = false;    // an Event declaration (no body, no End line)
    bool closed : 1 = false;     // the first copy's End statement was found
    bool oneLine : 1 = false;    // declared and ended on one logical line
    // Index into ScanResult::copies, only for a procedure not simply written
    // once (per-branch declarations, or copies per branch); else -1, and its one
    // copy is the fields below. Kept aside so the common case stays small.
    int copies = -1;
    long startLine = 0;      // first line of the range (owns blank/comment lines above)
    long bodyLine = 0;       // the (first) declaration line
    long declEndLine = 0;    // last line of the declaration (after " _" continuations),
                             // or the #End If closing per-branch declarations
    long endLine = 0;        // the first copy's End line (or the declaration's last line)
    long rangeEndLine = 0;   // see RangeEnd; the module's last line for the last procedure
    // Copies in other branches of one #If group: the #End If of the group in
    // which they part, which the range reaches at least.
    long groupEndLine = 0;
};

struct ScanResult {
    std::vector<Member> members;  // host order: order of first declaration
    std::vector<ProcInfo> procs;  // in line order
    long declarationLines = 0;    // lines of the declarations section
    int lastBodyProc = -1;        // index of the procedure whose code comes last: its range runs to the end
    bool openAtEnd = false;       // the module ends inside a procedure, an Enum/Type block or an #If
    std::vector<std::vector<ProcCopy>> copies;  // see ProcInfo::copies
    // Index into procs, or -1. Name comparison ignores letter case.
    int Find(const std::string& name, vbext_ProcKind kind) const;
    // Upper-cased name and kind to the index in procs, filled by the scan.
    std::unordered_map<std::string, int> index;
};

ScanResult ScanModule(const ModuleText& text);

// Where a procedure's range ends, the module's end aside.
long RangeEnd(const ScanResult& scan, const ProcInfo& proc);

// Its copies in line order, the single one made up from the fields when needed.
std::vector<ProcCopy> CopiesOf(const ScanResult& scan, const ProcInfo& proc);

}  // namespace host
