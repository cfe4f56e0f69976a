// One pass over the visible lines: logical lines (continuations joined) are
// classified, members collected in order of first appearance, and procedure
// ranges closed as their End lines come by.
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

class ModuleScanner {
public:
    explicit ModuleScanner(const ModuleText& text) : text_(text) {}

    ScanResult Run() {
        long count = text_.Count();
        for (long i = 0; i < count;) {
            long first = i;
            std::string_view line = Logical(i);
            if (Directive directive = ClassifyDirective(line); directive != Directive::None) {
                Conditional(directive, i);
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
        while (lex::ContinuesOnNextLine(joined_) && i < text_.Count()) lex::AppendContinued(joined_, text_.Line(i++));
        return joined_;
    }

    void Take(long first, long last) {
        if (inProc_) {
            if (statement_.kind == StatementKind::EndProcedure) {
                ProcInfo& proc = result_.procs[static_cast<std::size_t>(current_)];
                if (!IsClosed(proc)) proc.endLine = last;
                boundary_ = last;
                inProc_ = false;
            }
            return;
        }
        if (inBlock_) {
            if (statement_.kind == StatementKind::BlockEnd) inBlock_ = false;
            Declaration(last);
            return;
        }
        TakeModuleLevel(first, last);
    }

    static bool IsClosed(const ProcInfo& proc) { return proc.endLine > proc.declEndLine; }

    // An #If at module level opens a group whose procedures may be declared
    // once per branch (the body follows the #End If) or written out once per
    // branch; either way the host sees one procedure whose range spans the group.
    struct Frame {
        bool inProcAtIf = false;
        int pending = -1;  // procedure declared in an earlier branch, body still to come
    };

    void Conditional(Directive directive, long last) {
        if (directive == Directive::If) return OpenFrame();
        if (frames_.empty()) return;  // a stray directive: VB refuses to compile it
        Frame& frame = frames_.back();
        if (directive == Directive::Else) {
            if (!frame.inProcAtIf && inProc_) {
                frame.pending = current_;
                inProc_ = false;
            }
            return;
        }
        CloseFrame(last);
    }

    void OpenFrame() {
        if (frames_.empty()) groupFirstProc_ = static_cast<int>(result_.procs.size());
        frames_.push_back({inProc_, -1});
    }

    void CloseFrame(long last) {
        const Frame frame = frames_.back();
        frames_.pop_back();
        if (!frame.inProcAtIf && (inProc_ || frame.pending >= 0)) {
            if (!inProc_) current_ = frame.pending;
            inProc_ = true;
            result_.procs[static_cast<std::size_t>(current_)].declEndLine = last;
        }
        if (!frames_.empty() || frame.inProcAtIf) return;
        bool bodies = false;
        for (auto i = static_cast<std::size_t>(groupFirstProc_); i < result_.procs.size(); ++i) {
            ProcInfo& proc = result_.procs[i];
            if (proc.isEvent || proc.isDeclare) continue;
            proc.groupEndLine = last;
            bodies = true;
        }
        groupFirstProc_ = -1;
        if (inProc_) return;
        if (bodies)
            boundary_ = last;
        else
            Declaration(last);
    }

    // Whether a module-level group is open, and the procedure of that name in it.
    int FindInGroup(std::string_view name, vbext_ProcKind kind) const {
        if (groupFirstProc_ < 0) return -1;
        for (auto i = static_cast<std::size_t>(groupFirstProc_); i < result_.procs.size(); ++i)
            if (result_.procs[i].kind == kind && vbrt::EqualsText(result_.procs[i].name, name))
                return static_cast<int>(i);
        return -1;
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

    void OwnLineMember(long first, long last, vbext_MemberType type, bool isEvent) {
        if (statement_.names.empty() || statement_.names[0].empty()) return;
        if (FindInGroup(statement_.names[0], vbext_pk_Proc) >= 0) return;  // one per branch
        ProcInfo proc{std::string(statement_.names[0]),
                      vbext_pk_Proc,
                      !isEvent,
                      isEvent,
                      first,
                      first,
                      last,
                      last,
                      last};
        result_.procs.push_back(std::move(proc));
        AddMembers(first, type);
    }

    void StartProcedure(long first, long last) {
        if (statement_.names.empty() || statement_.names[0].empty()) return;
        std::string_view name = statement_.names[0];
        if (int same = FindInGroup(name, statement_.procKind); same >= 0) {
            current_ = same;  // another branch's declaration or copy of the same procedure
            inProc_ = true;
            return;
        }
        ProcInfo proc{
            std::string(name), statement_.procKind, false, false, boundary_ + 1, first, last, last, last};
        result_.procs.push_back(std::move(proc));
        inProc_ = true;
        seenProcedure_ = true;
        lastBodyProc_ = static_cast<long>(result_.procs.size()) - 1;
        current_ = static_cast<int>(lastBodyProc_);
        bool property = statement_.procKind != vbext_pk_Proc;
        if (!property)
            result_.members.emplace_back(std::string(name), vbext_mt_Method, first);
        else if (properties_.insert(vbrt::UCase(name)).second)
            result_.members.emplace_back(std::string(name), vbext_mt_Property, first);
    }

    void Finish(long count) {
        if (inProc_ && !IsClosed(result_.procs[static_cast<std::size_t>(current_)]))
            result_.procs[static_cast<std::size_t>(current_)].endLine = count;
        result_.openAtEnd = inProc_ || inBlock_ || !frames_.empty();
        for (auto& proc : result_.procs) proc.rangeEndLine = std::max(proc.endLine, proc.groupEndLine);
        if (lastBodyProc_ >= 0) result_.procs[static_cast<std::size_t>(lastBodyProc_)].rangeEndLine = count;
        result_.index.reserve(result_.procs.size());
        for (std::size_t i = 0; i < result_.procs.size(); ++i)
            result_.index.emplace(FindKey(result_.procs[i].name, result_.procs[i].kind), static_cast<int>(i));
    }

    const ModuleText& text_;
    ScanResult result_;
    Statement statement_;
    std::string joined_;
    std::unordered_set<std::string> properties_;
    long boundary_ = 0;  // last line of the previous member's range or declaration
    long lastBodyProc_ = -1;
    int current_ = -1;         // the open procedure while inProc_
    int groupFirstProc_ = -1;  // first procedure of the open module-level group
    std::vector<Frame> frames_;
    bool inProc_ = false;
    bool inBlock_ = false;
    bool seenProcedure_ = false;
};

}  // namespace

int ScanResult::Find(const std::string& name, vbext_ProcKind kind) const {
    auto it = index.find(FindKey(name, kind));
    return it == index.end() ? -1 : it->second;
}

ScanResult ScanModule(const ModuleText& text) {
    return ModuleScanner(text).Run();
}

}  // namespace host
