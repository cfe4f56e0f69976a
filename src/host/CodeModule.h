#pragma once
// The code of one component as the code window shows it: the file's header and
// the hidden Attribute lines are not lines here (see ModuleText). Line numbers
// are 1-based. Members and procedure ranges come from one cached scan per
// module version; an edit that cannot change them (see ScanPatch) renumbers
// the cached scan, any other edit invalidates it.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace host {

class CodePane;
class VBComponent;
class ModuleText;
struct ScanResult;

enum vbext_ProcKind { vbext_pk_Proc = 0, vbext_pk_Let = 1, vbext_pk_Set = 2, vbext_pk_Get = 3 };
enum vbext_MemberType {
    vbext_mt_Method = 1,
    vbext_mt_Property = 2,
    vbext_mt_Variable = 3,
    vbext_mt_Event = 4,
    vbext_mt_Const = 5
};

class Member {
public:
    Member(std::string name, vbext_MemberType type, long codeLocation)
        : name_(std::move(name)), type_(type), codeLocation_(codeLocation) {}
    const std::string& Name() const { return name_; }
    vbext_MemberType Type() const { return type_; }
    // Line of the member's (first) declaration.
    long CodeLocation() const { return codeLocation_; }

private:
    friend class ScanPatch;  // edits that keep the scan move the line
    std::string name_;
    vbext_MemberType type_;
    long codeLocation_;
};

class Members {
public:
    explicit Members(std::vector<Member> items) : items_(std::move(items)) {}
    long Count() const { return static_cast<long>(items_.size()); }
    // 1-based; raises error 9 outside 1..Count.
    const Member& Item(long index) const;
    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }

private:
    friend class ScanPatch;
    std::vector<Member> items_;
};

// One written-out copy of a procedure, as conditional compilation may take it.
// A procedure declared once per #If branch above one shared body is one copy
// with a declaration per branch; one written out whole in each branch of a
// group is one copy per branch.
struct ProcCopy {
    long headerLine = 0;  // a comment header goes directly above it (the #If of per-branch declarations)
    long declLine = 0;    // its (first) declaration line
    std::vector<long> declEndLines;  // the last line of each declaration: an entry statement goes below each
    long endLine = 0;                // its End line, else the range's last line
    bool closed = false;             // an End statement closes it
    bool oneLine = false;            // declaration and End share one logical line
};

// Change notice: lines [firstLine, firstLine + removed) were replaced by `inserted` lines.
using LinesChangedHandler = std::function<void(long firstLine, long removed, long inserted)>;

class CodeModule {
public:
    CodeModule(VBComponent& parent, std::unique_ptr<ModuleText> text);
    ~CodeModule();
    CodeModule(const CodeModule&) = delete;
    CodeModule& operator=(const CodeModule&) = delete;

    // Lines start..start+count-1 joined by CR LF. Raises error 5 when the range
    // leaves the module (count 0 gives "").
    std::string Lines(long startLine, long count) const;
    long CountOfLines() const;
    long CountOfDeclarationLines() const;
    // Inserts before `line` (CountOfLines()+1 appends). The text is split at every
    // CR LF (and at a lone LF or CR, which cannot live inside a line), so a text
    // ending in CR LF adds an empty last line.
    void InsertLines(long line, const std::string& text);
    void DeleteLines(long startLine, long count = 1);
    void ReplaceLine(long line, const std::string& text);

    // Raise error 35 when the module has no such procedure.
    long ProcStartLine(const std::string& procName, vbext_ProcKind kind) const;
    long ProcCountLines(const std::string& procName, vbext_ProcKind kind) const;
    long ProcBodyLine(const std::string& procName, vbext_ProcKind kind) const;
    // Platform side: the procedure's copies in line order (one for a procedure
    // written once). Raises error 35 as the others do.
    std::vector<ProcCopy> ProcCopies(const std::string& procName, vbext_ProcKind kind) const;

    const host::Members& Members() const;
    host::CodePane& CodePane();
    VBComponent& Parent() { return parent_; }

    // Platform side.
    std::uint64_t Version() const { return version_; }
    const ScanResult& Scan() const;
    // True when Scan() would not scan again: no edit since, or only neutral ones.
    bool ScanIsCurrent() const { return scan_ && scannedVersion_ == version_; }
    ModuleText& Text() { return *text_; }
    const ModuleText& Text() const { return *text_; }
    // All visible lines as the code window shows them, joined by "\n".
    std::string AllText() const;
    int OnLinesChanged(LinesChangedHandler handler);
    void RemoveListener(int id);

private:
    friend class VBComponent;  // reloading from disk replaces the text
    // `keepScan`: the edit was found structure-neutral before it was applied.
    void Changed(long firstLine, long removed, long inserted, bool keepScan = false);

    VBComponent& parent_;
    std::unique_ptr<ModuleText> text_;
    std::uint64_t version_ = 0;
    mutable std::uint64_t scannedVersion_ = ~std::uint64_t{0};
    mutable std::unique_ptr<ScanResult> scan_;
    mutable std::unique_ptr<host::Members> members_;
    std::vector<std::pair<int, LinesChangedHandler>> listeners_;
    int nextListener_ = 1;
};

}  // namespace host
