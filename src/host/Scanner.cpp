// One pass over the visible lines: logical lines (continuations joined) are
// classified, members collected in order of first appearance, and procedure
// ranges closed as their End lines come by. The same pass follows the #If
// structure and records where each procedure is written again in another
// branch, so nothing else needs to walk the groups.
#include "host/Scanner.h"

#include <algorithm>
#include <unordered_set>

#include "host/ModuleText.h"
#include "host/Statement.h"
#include "host/VbLex.h"
#include "vbrt/Text.h"

namespace host {
namespace {

std::string FindKey(std::string_view name, vbext_ProcKind kind) {
    std::string key = vbrt::UCase(name);
    key += static_cast<char>('0' + kind);
    return key;
}

// Where a line sits in the #If structure: one (group, branch) pair per open group.
struct BranchStep {
    int group = 0;
    int branch = 0;
};
using BranchPath = std::vector<BranchStep>;

// The depth of the group in whose different branches the two paths lie, or -1
// when one lies in a branch the other is in too (or in another group).
int PartingDepth(const BranchPath& a, const BranchPath& b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t k = 0; k < n; ++k) {
        if (a[k].group != b[k].group) return -1;
        if (a[k].branch != b[k].branch) return static_cast<int>(k);
    }
    return -1;
}

class ModuleScanner {
public:
    explicit ModuleScanner(const ModuleText& text) : text_(text) {}

    ScanResult Run() {
        long count = text_.Count();
        for (long i = 0; i < count;) {
            long first = i;
            std::string_view line = Logical(i);
            if (Directive directive = ClassifyDirective(line); directive != Directive::None) {
                Conditional(directive, first + 1, i);
                continue;
            }
            ClassifyStatement(line, statement_);
            Take(first + 1, i);
        }
        Finish(count);
        return std::move(result_);
    }

private:
    // Reads the logical line starting at `i` and moves `i` past it.
    std::string_view Logical(long& i) {
        std::string_view line = text_.Line(i++);
        if (!lex::ContinuesOnNextLine(line) || i >= text_.Count()) return line;
        joined_.assign(line);
        while (lex::ContinuesOnNextLine(joined_) && i < text_.Count())
            lex::AppendContinued(joined_, text_.Line(i++));
        return joined_;
    }

    ProcInfo& Proc(int index) { return result_.procs[static_cast<std::size_t>(index)]; }

    void Take(long first, long last) {
        if (inProc_) {
            if (statement_.kind == StatementKind::EndProcedure) Close(last);
            return;
        }
        if (inBlock_) {
            if (statement_.kind == StatementKind::BlockEnd) inBlock_ = false;
            Declaration(last);
            return;
        }
        TakeModuleLevel(first, last);
    }

    void Close(long last) {
        ProcInfo& proc = Proc(current_);
        if (proc.copies >= 0) {
            Copies(proc).back().endLine = last;
            Copies(proc).back().closed = true;
        }
        if (!proc.closed) {
            proc.endLine = last;
            proc.closed = true;
        }
        boundary_ = last;
        inProc_ = false;
    }

    // An #If group at module level may hold a procedure declared once per
    // branch (the body follows the #End If) or written out once per branch.
    struct OpenGroup {
        int id = 0;
        int branch = 0;
        long ifLine = 0;
        bool inProcAtIf = false;
        bool holdsProcedures = false;
        int pending = -1;         // declared in an earlier branch, body still to come
        std::vector<int> parted;  // procedures with copies in different branches of this group
    };

    void Conditional(Directive directive, long first, long last) {
        if (directive == Directive::If) {
            OpenGroup group;
            group.id = nextGroup_++;
            group.ifLine = first;
            group.inProcAtIf = inProc_;
            groups_.push_back(std::move(group));
            return;
        }
        if (groups_.empty()) return;  // a stray directive: VB refuses to compile it
        OpenGroup& group = groups_.back();
        if (directive == Directive::EndIf) return CloseGroup(last);
        ++group.branch;
        if (!group.inProcAtIf && inProc_) {
            group.pending = current_;
            inProc_ = false;
        }
    }

    void CloseGroup(long line) {
        OpenGroup group = std::move(groups_.back());
        groups_.pop_back();
        for (int parted : group.parted) Proc(parted).groupEndLine = line;
        if (group.inProcAtIf) return;
        if (inProc_ || group.pending >= 0) return Reopen(group, line);
        if (!group.parted.empty())
            boundary_ = line;
        else if (!group.holdsProcedures)
            Declaration(line);
    }

    // Declarations per branch: the body after the #End If belongs to them all.
    void Reopen(const OpenGroup& group, long line) {
        if (!inProc_) current_ = group.pending;
        inProc_ = true;
        ProcInfo& proc = Proc(current_);
        ProcCopy& copy = CurrentCopy(proc);
        copy.headerLine = group.ifLine;
        if (Copies(proc).size() == 1) proc.declEndLine = line;
    }

    std::vector<ProcCopy>& Copies(const ProcInfo& proc) {
        return result_.copies[static_cast<std::size_t>(proc.copies)];
    }

    ProcCopy& CurrentCopy(ProcInfo& proc) {
        if (proc.copies < 0) {
            result_.copies.push_back(CopiesOf(result_, proc));
            proc.copies = static_cast<int>(result_.copies.size()) - 1;
        }
        return Copies(proc).back();
    }

    BranchPath Path() const {
        BranchPath path;
        path.reserve(groups_.size());
        for (const auto& group : groups_) path.push_back({group.id, group.branch});
        return path;
    }

    void TakeModuleLevel(long first, long last) {
        switch (statement_.kind) {
            case StatementKind::Blank:
                return;
            case StatementKind::Procedure:
                StartProcedure(first, last);
                return;
            case StatementKind::Declare:
                OwnLineMember(first, last, vbext_mt_Method, false);
                break;
            case StatementKind::Event:
                OwnLineMember(first, last, vbext_mt_Event, true);
                break;
            case StatementKind::Const:
                AddMembers(first, vbext_mt_Const);
                break;
            case StatementKind::Variable:
                AddMembers(first, vbext_mt_Variable);
                break;
            case StatementKind::BlockStart:
                inBlock_ = true;
                break;
            default:
                break;
        }
        Declaration(last);
    }

    void Declaration(long last) {
        boundary_ = last;
        if (!seenProcedure_) result_.declarationLines = last;
    }

    void AddMembers(long line, vbext_MemberType type) {
        for (auto name : statement_.names) result_.members.emplace_back(std::string(name), type, line);
    }

    // The earlier procedure of that name and kind that this declaration is
    // another branch's copy of, or -1; the depth of the group they part in.
    int CopyOf(std::string_view name, vbext_ProcKind kind, int& depth) const {
        if (groups_.empty()) return -1;
        auto it = grouped_.find(FindKey(name, kind));
        if (it == grouped_.end()) return -1;
        depth = PartingDepth(it->second.path, Path());
        return depth < 0 ? -1 : it->second.proc;
    }

    void OwnLineMember(long first, long last, vbext_MemberType type, bool isEvent) {
        if (statement_.names.empty() || statement_.names[0].empty()) return;
        int depth = -1;
        if (CopyOf(statement_.names[0], vbext_pk_Proc, depth) >= 0) return;  // one per branch
        ProcInfo proc;
        proc.name = std::string(statement_.names[0]);
        proc.isDeclare = !isEvent;
        proc.isEvent = isEvent;
        proc.startLine = proc.bodyLine = first;
        proc.declEndLine = proc.endLine = proc.rangeEndLine = last;
        AddProc(std::move(proc));
        AddMembers(first, type);
    }

    void AddProc(ProcInfo proc) {
        // Only a procedure inside a group can have copies: only those are looked up while scanning.
        if (!groups_.empty())
            grouped_.emplace(FindKey(proc.name, proc.kind),
                             Grouped{static_cast<int>(result_.procs.size()), Path()});
        result_.procs.push_back(std::move(proc));
    }

    void StartProcedure(long first, long last) {
        if (statement_.names.empty() || statement_.names[0].empty()) return;
        for (auto& group : groups_) group.holdsProcedures = true;
        if (AlternativeDeclaration(last) || AnotherCopy(first, last)) return;
        ProcInfo proc;
        proc.name = std::string(statement_.names[0]);
        proc.kind = statement_.procKind;
        proc.startLine = boundary_ + 1;
        proc.bodyLine = first;
        proc.declEndLine = proc.endLine = proc.rangeEndLine = last;
        AddProc(std::move(proc));
        seenProcedure_ = true;
        current_ = result_.lastBodyProc = static_cast<int>(result_.procs.size()) - 1;
        inProc_ = true;
        if (statement_.oneLine) OneLine(Proc(current_), last);
        std::string_view name = statement_.names[0];
        if (statement_.procKind == vbext_pk_Proc)
            result_.members.emplace_back(std::string(name), vbext_mt_Method, first);
        else if (properties_.insert(vbrt::UCase(name)).second)
            result_.members.emplace_back(std::string(name), vbext_mt_Property, first);
    }

    void OneLine(ProcInfo& proc, long last) {
        if (proc.copies < 0) proc.oneLine = true;
        if (proc.copies >= 0) Copies(proc).back().oneLine = true;
        Close(last);
    }

    // The same procedure declared again in the next branch of a group that
    // its first declaration left open: one more way into the one body.
    bool AlternativeDeclaration(long last) {
        for (auto group = groups_.rbegin(); group != groups_.rend(); ++group) {
            if (group->pending < 0) continue;
            ProcInfo& proc = Proc(group->pending);
            if (proc.kind != statement_.procKind || !vbrt::EqualsText(proc.name, statement_.names[0]))
                return false;
            CurrentCopy(proc).declEndLines.push_back(last);
            current_ = group->pending;
            inProc_ = true;
            return true;
        }
        return false;
    }

    // The same procedure written out whole in another branch of a group.
    bool AnotherCopy(long first, long last) {
        int depth = -1;
        const int same = CopyOf(statement_.names[0], statement_.procKind, depth);
        if (same < 0) return false;
        ProcInfo& proc = Proc(same);
        CurrentCopy(proc);
        Copies(proc).push_back({first, first, {last}, last, false, false});
        auto& parted = groups_[static_cast<std::size_t>(depth)].parted;
        if (std::find(parted.begin(), parted.end(), same) == parted.end()) parted.push_back(same);
        current_ = result_.lastBodyProc = same;  // its code is now the last of the module
        inProc_ = true;
        if (statement_.oneLine) OneLine(proc, last);
        return true;
    }

    void Finish(long count) {
        if (inProc_) {
            ProcInfo& proc = Proc(current_);
            if (!proc.closed) proc.endLine = count;
            if (proc.copies >= 0 && !Copies(proc).back().closed) Copies(proc).back().endLine = count;
        }
        result_.openAtEnd = inProc_ || inBlock_ || !groups_.empty();
        for (auto& proc : result_.procs) proc.rangeEndLine = RangeEnd(result_, proc);
        result_.index.reserve(result_.procs.size());
        for (std::size_t i = 0; i < result_.procs.size(); ++i)
            result_.index.emplace(FindKey(result_.procs[i].name, result_.procs[i].kind), static_cast<int>(i));
        if (result_.lastBodyProc >= 0) Proc(result_.lastBodyProc).rangeEndLine = count;
    }

    const ModuleText& text_;
    ScanResult result_;
    struct Grouped {
        int proc;
        BranchPath path;  // where its first declaration sits
    };
    std::unordered_map<std::string, Grouped> grouped_;  // procedures declared inside a group
    Statement statement_;
    std::string joined_;
    std::unordered_set<std::string> properties_;
    long boundary_ = 0;  // last line of the previous member's range or declaration
    int current_ = -1;   // the open procedure while inProc_
    int nextGroup_ = 0;
    std::vector<OpenGroup> groups_;
    bool inProc_ = false;
    bool inBlock_ = false;
    bool seenProcedure_ = false;
};

}  // namespace

long RangeEnd(const ScanResult& scan, const ProcInfo& proc) {
    long end = std::max(proc.endLine, proc.groupEndLine);
    return proc.copies < 0 ? end
                           : std::max(end, scan.copies[static_cast<std::size_t>(proc.copies)].back().endLine);
}

std::vector<ProcCopy> CopiesOf(const ScanResult& scan, const ProcInfo& proc) {
    if (proc.copies >= 0) return scan.copies[static_cast<std::size_t>(proc.copies)];
    return {{proc.bodyLine, proc.bodyLine, {proc.declEndLine}, proc.endLine, proc.closed, proc.oneLine}};
}

int ScanResult::Find(const std::string& name, vbext_ProcKind kind) const {
    auto it = index.find(FindKey(name, kind));
    return it == index.end() ? -1 : it->second;
}

ScanResult ScanModule(const ModuleText& text) {
    return ModuleScanner(text).Run();
}

}  // namespace host
