// The gap buffer of visible lines and the edits on it.
#include "host/ModuleText.h"

#include <algorithm>

namespace host {

long ModuleText::Count() const {
    return static_cast<long>(buf_.size()) - (gapEnd_ - gapStart_);
}

CodeLine& ModuleText::Slot(long index0) {
    return buf_[static_cast<std::size_t>(index0 < gapStart_ ? index0 : index0 + (gapEnd_ - gapStart_))];
}

const CodeLine& ModuleText::Slot(long index0) const {
    return buf_[static_cast<std::size_t>(index0 < gapStart_ ? index0 : index0 + (gapEnd_ - gapStart_))];
}

const std::string& ModuleText::Line(long index0) const {
    return Slot(index0).text;
}

const CodeLine& ModuleText::At(long index0) const {
    return Slot(index0);
}

void ModuleText::MoveGap(long index0) {
    if (gapStart_ == gapEnd_) {  // an empty gap sits anywhere; moving lines onto themselves would lose them
        gapStart_ = gapEnd_ = index0;
        return;
    }
    auto at = [this](long i) -> CodeLine& { return buf_[static_cast<std::size_t>(i)]; };
    while (gapStart_ > index0) at(--gapEnd_) = std::move(at(--gapStart_));
    while (gapStart_ < index0) at(gapStart_++) = std::move(at(gapEnd_++));
}

void ModuleText::Reserve(long extra) {
    if (gapEnd_ - gapStart_ >= extra) return;
    long size = static_cast<long>(buf_.size());
    long tail = size - gapEnd_;
    long newSize = std::max(size * 2, size + extra + 16);
    std::vector<CodeLine> grown(static_cast<std::size_t>(newSize));
    std::move(buf_.begin(), buf_.begin() + gapStart_, grown.begin());
    std::move(buf_.begin() + gapEnd_, buf_.end(), grown.end() - tail);
    buf_ = std::move(grown);
    gapEnd_ = newSize - tail;
}

void ModuleText::Replace(long index0, std::string text) {
    FlushPendingHidden();
    Slot(index0).text = std::move(text);
}

void ModuleText::Insert(long index0, const std::vector<std::string>& lines) {
    if (pendingAt_ != index0) FlushPendingHidden();
    long count = static_cast<long>(lines.size());
    if (count == 0) return;
    // A file whose last line has no ending keeps it so: the new last line goes without.
    // (With nothing above, it tells by the erased lines: they were the last.)
    bool lastWithoutEol =
        index0 == Count() && (index0 > 0 ? Slot(index0 - 1).eol == Eol::None
                                         : !pendingEols_.empty() && pendingEols_.back() == Eol::None);
    if (lastWithoutEol && index0 > 0)
        Slot(index0 - 1).eol = pendingAboveEol_ == Eol::None ? style_ : pendingAboveEol_;
    MoveGap(index0);
    Reserve(count);
    for (long k = 0; k < count; ++k)
        buf_[static_cast<std::size_t>(gapStart_++)] =
            CodeLine{lines[static_cast<std::size_t>(k)], PendingEol(k), {}};
    if (lastWithoutEol) Slot(index0 + count - 1).eol = Eol::None;
    AttachPending(index0, count);
}

void ModuleText::Erase(long index0, long count) {
    FlushPendingHidden();
    if (count <= 0) return;
    bool lastWithoutEol = index0 + count == Count() && Slot(index0 + count - 1).eol == Eol::None;
    MoveGap(index0);
    for (long k = 0; k < count; ++k) {
        CodeLine& line = buf_[static_cast<std::size_t>(gapEnd_ + k)];
        if (!line.hidden.empty()) pendingHidden_.push_back({k, line.hidden.Take()});
        pendingEols_.push_back(line.eol);
        line = CodeLine{};
    }
    gapEnd_ += count;
    pendingAt_ = index0;
    if (lastWithoutEol && index0 > 0) {
        pendingAboveEol_ = Slot(index0 - 1).eol;
        Slot(index0 - 1).eol = Eol::None;
    }
}

// The ending of the erased line at `offset` for the line that replaces it; the module's
// style past them, and in the middle for what was the last line.
Eol ModuleText::PendingEol(long offset) const {
    if (offset >= static_cast<long>(pendingEols_.size())) return style_;
    const Eol eol = pendingEols_[static_cast<std::size_t>(offset)];
    return eol == Eol::None ? style_ : eol;
}

// The replacement lines take the hidden lines of the deleted ones, offset by offset.
void ModuleText::AttachPending(long index0, long inserted) {
    for (auto& part : pendingHidden_) Slot(index0 + std::min(part.offset, inserted - 1)).hidden += part.text;
    ClearPending();
}

void ModuleText::ClearPending() {
    pendingHidden_.clear();
    pendingEols_.clear();
    pendingAboveEol_ = Eol::None;
    pendingAt_ = -1;
}

// No replacement came: the hidden lines stay with the line above, or the header.
void ModuleText::FlushPendingHidden() {
    if (!pendingHidden_.empty()) {
        std::string joined;
        for (const auto& part : pendingHidden_) joined += part.text;
        if (pendingAt_ > 0) {
            CodeLine& above = Slot(pendingAt_ - 1);
            if (above.eol == Eol::None) above.eol = style_;
            above.hidden += joined;
        } else {
            if (!header_.empty() && header_.back() != '\n' && header_.back() != '\r')
                header_ += EolText(style_);
            header_ += joined;
        }
    }
    ClearPending();
}

}  // namespace host
