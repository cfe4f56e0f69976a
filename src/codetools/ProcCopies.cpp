// Finding the copies of one procedure in its range: conditional-compilation
// groups are followed the way the compiler would take any one branch of them.
#include <algorithm>

#include "codetools/ProcAnalysis.h"
#include "host/Statement.h"
#include "host/VbLex.h"
#include "vbrt/Text.h"

namespace pv {
namespace {

class CopyWalk {
public:
    CopyWalk(const host::CodeModule& module, const ProcEntry& entry) : module_(module), entry_(entry) {}

    std::vector<ProcCopy> Run(long first, long last) {
        for (long line = first; line <= last;) {
            const long start = line;
            std::string text = module_.Lines(line, 1);
            // Joined as the host's scan joins them, so both see the same statements.
            while (host::lex::ContinuesOnNextLine(text) && line < last)
                host::lex::AppendContinued(text, module_.Lines(++line, 1));
            Step(start, line, text);
            ++line;
        }
        if (open_ >= 0 && copies_[Index(open_)].endLine == 0)
            copies_[Index(open_)].endLine = LastNonEmpty(last);
        return std::move(copies_);
    }

private:
    static constexpr int kNone = -2;   // outside every procedure
    static constexpr int kOther = -1;  // inside another procedure of the range
    struct Frame {
        long ifLine;
        bool openAtIf;
        int pending = kNone;  // declared in an earlier branch, body after the #End If
    };

    static std::size_t Index(int copy) { return static_cast<std::size_t>(copy); }

    void Step(long first, long last, const std::string& text) {
        switch (host::ClassifyDirective(text)) {
            case host::Directive::If:
                frames_.push_back({first, open_ != kNone});
                return;
            case host::Directive::Else:
                if (!frames_.empty() && !frames_.back().openAtIf && open_ != kNone) {
                    frames_.back().pending = open_;
                    open_ = kNone;
                }
                return;
            case host::Directive::EndIf:
                if (!frames_.empty()) CloseFrame(first);
                return;
            case host::Directive::None:
                break;
        }
        host::ClassifyStatement(text, statement_);
        if (open_ == kNone)
            Outside(first, last);
        else if (statement_.kind == host::StatementKind::EndProcedure)
            Close(first);
    }

    void CloseFrame(long endIfLine) {
        const Frame frame = frames_.back();
        frames_.pop_back();
        if (frame.openAtIf || (open_ == kNone && frame.pending == kNone)) return;
        if (open_ == kNone) open_ = frame.pending;
        if (open_ < 0) return;
        copies_[Index(open_)].headerLine = frame.ifLine;
        copies_[Index(open_)].entryLine = endIfLine + 1;
    }

    // Type and Enum members are fields, whatever keyword their names spell.
    void Outside(long first, long last) {
        const auto kind = statement_.kind;
        if (inBlock_ || kind == host::StatementKind::BlockStart) {
            inBlock_ = kind != host::StatementKind::BlockEnd;
            return;
        }
        // A bare "Sub" declares nothing, for the compiler as for the scanner.
        if (kind != host::StatementKind::Procedure || statement_.names.empty() || statement_.names[0].empty())
            return;
        if (int pending = Pending(); pending != kNone) {
            open_ = pending;
            return;
        }
        const bool same = statement_.procKind == entry_.kind && !statement_.names.empty() &&
                          vbrt::EqualsText(statement_.names[0], entry_.name);
        if (!same) {
            open_ = kOther;
            return;
        }
        copies_.push_back({first, first, last + 1, 0});
        open_ = static_cast<int>(copies_.size()) - 1;
    }

    int Pending() const {
        for (auto it = frames_.rbegin(); it != frames_.rend(); ++it)
            if (it->pending != kNone) return it->pending;
        return kNone;
    }

    void Close(long line) {
        if (open_ >= 0) {
            copies_[Index(open_)].endLine = line;
            copies_[Index(open_)].closed = true;
        }
        open_ = kNone;
    }

    long LastNonEmpty(long last) const {
        const long floor = copies_[Index(open_)].declLine;
        while (last > floor && module_.Lines(last, 1).empty()) --last;
        return last;
    }

    const host::CodeModule& module_;
    const ProcEntry& entry_;
    host::Statement statement_;
    std::vector<ProcCopy> copies_;
    std::vector<Frame> frames_;
    int open_ = kNone;
    bool inBlock_ = false;
};

}  // namespace

std::vector<ProcCopy> ProcCopies(const host::CodeModule& module, const ProcEntry& entry) {
    const long start = module.ProcStartLine(entry.name, entry.kind);
    return CopyWalk(module, entry).Run(start, start + module.ProcCountLines(entry.name, entry.kind) - 1);
}

bool EveryCopyHasHandling(Env& env, const host::CodeModule& module, const ProcEntry& entry, long lngStartLine,
                          long lngEndLine) {
    // Without handling anywhere in the range no copy has any: the copies need not be found.
    if (!ProcContainsErrorHandling(env, lngStartLine, lngEndLine)) return false;
    const auto copies = ProcCopies(module, entry);
    return copies.size() <= 1 || std::all_of(copies.begin(), copies.end(), [&](const ProcCopy& copy) {
               return ProcContainsErrorHandling(env, copy.declLine, copy.endLine);
           });
}

}  // namespace pv
