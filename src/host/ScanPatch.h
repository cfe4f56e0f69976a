#pragma once
// Keeps a module's cached scan current across edits that cannot change its
// structure: blank and comment lines anywhere, ordinary statements inside a
// procedure body. Such an edit only moves line numbers, so the scan is patched
// instead of redone; every other edit leaves the scan to be redone in full.
#include <string>
#include <vector>

namespace host {

class Members;
class ModuleText;
struct ScanResult;

// Lines [first, first + removed) were replaced by `inserted` lines (1-based).
struct LineEdit {
    long first = 1;
    long removed = 0;
    long inserted = 0;
};

class ScanPatch {
public:
    // Asked before the edit is applied to `text`, which `scan` describes.
    static bool CanInsert(const ScanResult& scan, const ModuleText& text, long line,
                          const std::vector<std::string>& lines);
    static bool CanDelete(const ScanResult& scan, const ModuleText& text, long first, long count);
    static bool CanReplace(const ScanResult& scan, const ModuleText& text, long line,
                           const std::vector<std::string>& lines);
    // Moves every line number of `scan` (and `members`, when given) past the
    // edit; `newCount` is the module's line count after it. False when a
    // number falls inside the removed lines: the scan is then unusable.
    static bool Apply(ScanResult& scan, Members* members, LineEdit edit, long newCount);
};

}  // namespace host
