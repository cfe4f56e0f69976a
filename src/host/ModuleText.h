#pragma once
// The text of one VB6 source file, split into the header the IDE hides
// (VERSION, BEGIN...END blocks, Object= and module-level Attribute lines), the
// visible code lines, and the Attribute lines inside the code, each kept with
// the visible line it follows. Bytes are never re-encoded and every line keeps
// its own line ending, so loading and saving without edits gives the same bytes.
// Lines live in a gap buffer: edits that walk down the module (replace line i,
// then i+1...) cost O(1) each instead of a shift of the whole module.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace host {

enum class Eol : std::uint8_t { None, Lf, CrLf, Cr };

// Attribute lines after a code line are rare, so they live out of line: a code
// line of a million-line module then costs a pointer for them, not a string.
class HiddenText {
public:
    HiddenText() = default;
    HiddenText(const HiddenText& other)
        : text_(other.empty() ? nullptr : std::make_unique<std::string>(*other.text_)) {}
    HiddenText(HiddenText&&) noexcept = default;
    HiddenText& operator=(const HiddenText& other) { return *this = HiddenText(other); }
    HiddenText& operator=(HiddenText&&) noexcept = default;

    bool empty() const { return !text_ || text_->empty(); }
    std::size_t size() const { return text_ ? text_->size() : 0; }
    HiddenText& operator+=(std::string_view more) {
        if (!text_) text_ = std::make_unique<std::string>();
        text_->append(more);
        return *this;
    }
    std::string_view view() const { return text_ ? std::string_view(*text_) : std::string_view(); }
    operator std::string_view() const { return view(); }
    friend bool operator==(const HiddenText& a, std::string_view b) { return a.view() == b; }
    std::string Take() {
        std::string out = text_ ? std::move(*text_) : std::string();
        text_.reset();
        return out;
    }

private:
    std::unique_ptr<std::string> text_;
};

struct CodeLine {
    std::string text;  // without its line ending
    Eol eol = Eol::CrLf;
    HiddenText hidden;  // Attribute lines that follow it, raw bytes with their endings
};

class ModuleText {
public:
    ModuleText() = default;
    // Splits file bytes; raises error 5 ("...is not a Visual Basic source file")
    // for text with NUL bytes.
    static ModuleText Parse(std::string_view bytes);
    std::string Serialize() const;

    long Count() const;
    const std::string& Line(long index0) const;  // 0-based
    const CodeLine& At(long index0) const;
    void Replace(long index0, std::string text);
    // Inserts before index0 (Count() appends) the given lines, with the module's style;
    // lines put where lines were just erased take those lines' own endings, one by one.
    void Insert(long index0, const std::vector<std::string>& lines);
    void Erase(long index0, long count);

    const std::string& Header() const { return header_; }
    void SetHeader(std::string header) { header_ = std::move(header); }
    Eol Style() const { return style_; }
    // The Attribute VB_Name value of the header, or "" when there is none.
    std::string VbName() const;

    static std::string_view EolText(Eol eol);

private:
    CodeLine& Slot(long index0);
    const CodeLine& Slot(long index0) const;
    void MoveGap(long index0);
    void Reserve(long extra);
    void FlushPendingHidden();
    void ClearPending();
    Eol PendingEol(long offset) const;
    void AttachPending(long index0, long inserted);
    void SerializePending(std::string& out) const;

    std::string header_;
    Eol style_ = Eol::CrLf;
    std::vector<CodeLine> buf_;  // [0, gapStart_) lines, gap, [gapEnd_, size) lines
    long gapStart_ = 0;
    long gapEnd_ = 0;
    // Hidden lines of deleted lines wait here for a replacement inserted at the
    // same place (DeleteLines then InsertLines is how a line is replaced); each
    // keeps its offset in the deleted block so it rejoins the matching new line.
    struct PendingHidden {
        long offset;
        std::string text;
    };
    std::vector<PendingHidden> pendingHidden_;
    // Their endings too, so that a line replaced that way keeps its own; and the
    // ending the line above had before it became the last line.
    std::vector<Eol> pendingEols_;
    Eol pendingAboveEol_ = Eol::None;
    long pendingAt_ = -1;
};

}  // namespace host
