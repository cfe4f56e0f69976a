// Which edits leave a module's structure alone, and the renumbering that
// carries a scan across one. The tests compare every patched scan with a
// fresh one, so the rules here must mirror Scanner.cpp exactly.
#include "host/ScanPatch.h"

#include <algorithm>

#include "host/ModuleText.h"
#include "host/Scanner.h"
#include "host/Statement.h"
#include "host/VbLex.h"

namespace host {
namespace {

bool IsBodyProc(const ProcInfo& proc) {
    return !proc.isDeclare && !proc.isEvent;
}

// The procedure whose body (after its declaration, before its End line) holds
// lines first..last, or null.
const ProcInfo* BodyHolding(const ScanResult& scan, long first, long last) {
    auto after = std::upper_bound(scan.procs.begin(), scan.procs.end(), first,
                                  [](long line, const ProcInfo& proc) { return line <= proc.bodyLine; });
    if (after == scan.procs.begin()) return nullptr;
    const ProcInfo& proc = *(after - 1);
    bool inside = IsBodyProc(proc) && proc.declEndLine < first && last <= proc.endLine;
    return inside ? &proc : nullptr;
}

// Whether lines first..last touch the lines a procedure owns above its
// declaration. Inside another body (an unfinished procedure holding the next
// declaration) a statement there moves where the procedure's range starts.
bool OwnedAbove(const ScanResult& scan, long first, long last) {
    auto next = std::lower_bound(scan.procs.begin(), scan.procs.end(), first,
                                 [](const ProcInfo& proc, long line) { return proc.bodyLine < line; });
    return next != scan.procs.end() && next->startLine <= last;
}

// Inside a body, where the scanner only looks for the End line.
bool InBody(const ScanResult& scan, long first, long last) {
    return BodyHolding(scan, first, last) != nullptr && !OwnedAbove(scan, first, last);
}

// Whether the scanner's logical line holding line-1 may go on into `line`.
// A blank line after a continued one can itself count as continued once the
// scanner has joined them, so a run of blank lines defers to the line above it.
bool MayBeContinuedInto(const ModuleText& text, long line) {
    long above = line - 1;
    while (above >= 1 && lex::Trim(text.Line(above - 1)).empty()) --above;
    return above >= 1 && lex::ContinuesOnNextLine(text.Line(above - 1));
}

// A statement that opens or closes anything the scan records, or that the
// host treats specially, even where the scanner would pass over it.
bool IsStructural(std::string_view line) {
    std::string_view code = SkipLineLabel(line);
    if (lex::ContinuesOnNextLine(line) || (!code.empty() && code[0] == '#')) return true;
    return lex::IsAttributeLine(lex::TrimLeft(line)) || lex::IsAttributeLine(code);
}

bool IsNeutral(std::string_view line, bool inBody) {
    if (IsStructural(line)) return false;
    Statement statement;
    ClassifyStatement(line, statement);
    switch (statement.kind) {
        case StatementKind::Blank:
            return true;
        case StatementKind::Other:
        case StatementKind::Const:
        case StatementKind::Variable:
            return inBody;  // the scanner only looks for the End line there
        default:
            return false;
    }
}

bool AllNeutral(const std::vector<std::string>& lines, bool inBody) {
    return std::all_of(lines.begin(), lines.end(),
                       [inBody](const std::string& line) { return IsNeutral(line, inBody); });
}

// Renumbers one line of the old text; false for a removed line.
class LineMap {
public:
    explicit LineMap(LineEdit edit) : edit_(edit) {}
    bool Move(long& line) const {
        if (line < edit_.first) return true;
        if (line < edit_.first + edit_.removed) return false;
        line += edit_.inserted - edit_.removed;
        return true;
    }

private:
    LineEdit edit_;
};

bool MoveCopy(ProcCopy& copy, const LineMap& map) {
    for (long& line : copy.declEndLines)
        if (!map.Move(line)) return false;
    return map.Move(copy.headerLine) && map.Move(copy.declLine) && map.Move(copy.endLine);
}

// A procedure's range starts after the line that last ended a declaration or
// procedure above it (its "boundary"), so that line is what moves.
bool MoveProc(ProcInfo& proc, const LineMap& map) {
    long boundary = proc.startLine - 1;
    bool ok = IsBodyProc(proc) ? map.Move(boundary) : map.Move(proc.startLine);
    if (IsBodyProc(proc)) proc.startLine = boundary + 1;
    return ok && map.Move(proc.bodyLine) && map.Move(proc.declEndLine) && map.Move(proc.endLine) &&
           map.Move(proc.groupEndLine);
}

}  // namespace

bool ScanPatch::CanInsert(const ScanResult& scan, const ModuleText& text, long line,
                          const std::vector<std::string>& lines) {
    if (scan.openAtEnd || MayBeContinuedInto(text, line)) return false;
    return AllNeutral(lines, InBody(scan, line, line));
}

bool ScanPatch::CanDelete(const ScanResult& scan, const ModuleText& text, long first, long count) {
    if (scan.openAtEnd || count < 1 || MayBeContinuedInto(text, first)) return false;
    bool inBody = InBody(scan, first, first + count);  // the End line stays
    for (long line = first; line < first + count; ++line)
        if (!IsNeutral(text.Line(line - 1), inBody)) return false;
    return true;
}

bool ScanPatch::CanReplace(const ScanResult& scan, const ModuleText& text, long line,
                           const std::vector<std::string>& lines) {
    return CanDelete(scan, text, line, 1) && AllNeutral(lines, InBody(scan, line, line + 1));
}

bool ScanPatch::Apply(ScanResult& scan, Members* members, LineEdit edit, long newCount) {
    LineMap map(edit);
    for (auto& copies : scan.copies)
        for (auto& copy : copies)
            if (!MoveCopy(copy, map)) return false;
    for (auto& proc : scan.procs) {
        if (!MoveProc(proc, map)) return false;
        proc.rangeEndLine = RangeEnd(scan, proc);
    }
    if (scan.lastBodyProc >= 0)
        scan.procs[static_cast<std::size_t>(scan.lastBodyProc)].rangeEndLine = newCount;
    if (!map.Move(scan.declarationLines)) return false;
    for (auto& member : scan.members)
        if (!map.Move(member.codeLocation_)) return false;
    if (members)
        for (auto& member : members->items_)
            if (!map.Move(member.codeLocation_)) return false;
    return true;
}

}  // namespace host
