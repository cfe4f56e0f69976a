// Loading and writing back a module file: the hidden header, the visible lines
// with their own endings, and the Attribute lines kept with the line they follow.
#include <algorithm>
#include <array>

#include "host/ModuleText.h"
#include "host/VbLex.h"
#include "vbrt/VbError.h"

namespace host {
namespace {

struct RawLine {
    std::string_view text;
    Eol eol;
    std::string_view raw;  // text and ending
};

// Walks the lines of a file's bytes without copying them.
class LineCursor {
public:
    explicit LineCursor(std::string_view bytes) : bytes_(bytes) {}
    bool Next(RawLine& line) {
        if (pos_ >= bytes_.size()) return false;
        const std::size_t start = pos_;
        const std::size_t stop = bytes_.find_first_of("\r\n", start);
        if (stop == std::string_view::npos) {
            pos_ = bytes_.size();
            line = {bytes_.substr(start), Eol::None, bytes_.substr(start)};
            return true;
        }
        Eol eol = bytes_[stop] == '\n' ? Eol::Lf : Eol::Cr;
        pos_ = stop + 1;
        if (eol == Eol::Cr && pos_ < bytes_.size() && bytes_[pos_] == '\n') {
            eol = Eol::CrLf;
            ++pos_;
        }
        line = {bytes_.substr(start, stop - start), eol, bytes_.substr(start, pos_ - start)};
        return true;
    }
    std::size_t Position() const { return pos_; }

private:
    std::string_view bytes_;
    std::size_t pos_ = 0;
};

std::vector<RawLine> SplitRaw(std::string_view bytes, std::size_t maxLines) {
    std::vector<RawLine> lines;
    LineCursor cursor(bytes);
    RawLine line;
    while (lines.size() < maxLines && cursor.Next(line)) lines.push_back(line);
    return lines;
}

// The lines the IDE hides at the top: VERSION, Object=, BEGIN...END blocks
// (nested, BeginProperty too) and Attribute lines. Returns how many there are.
std::size_t HeaderLength(const std::vector<RawLine>& lines) {
    int depth = 0;
    std::size_t i = 0;
    for (; i < lines.size(); ++i) {
        std::string_view rest = lines[i].text;
        std::string_view word = lex::NextWord(rest);
        bool opens = lex::SameWord(word, "Begin") || lex::SameWord(word, "BeginProperty");
        if (depth > 0) {
            if (opens) ++depth;
            if (lex::SameWord(word, "End") || lex::SameWord(word, "EndProperty")) --depth;
            continue;
        }
        if (opens) {
            depth = 1;
        } else if (lex::SameWord(word, "Object")) {
            if (lex::TrimLeft(rest).substr(0, 1) != "=") break;
        } else if (!lex::SameWord(word, "VERSION") && !lex::IsAttributeLine(lines[i].text)) {
            break;
        }
    }
    return i;
}

Eol Dominant(const std::array<std::size_t, 4>& counts) {
    std::size_t lf = counts[static_cast<std::size_t>(Eol::Lf)];
    std::size_t crlf = counts[static_cast<std::size_t>(Eol::CrLf)];
    std::size_t cr = counts[static_cast<std::size_t>(Eol::Cr)];
    if (lf > crlf && lf >= cr) return Eol::Lf;
    if (cr > crlf && cr > lf) return Eol::Cr;
    return Eol::CrLf;
}

bool EndsWithEol(const std::string& s) {
    return !s.empty() && (s.back() == '\n' || s.back() == '\r');
}

}  // namespace

std::string_view ModuleText::EolText(Eol eol) {
    switch (eol) {
        case Eol::Lf:
            return "\n";
        case Eol::CrLf:
            return "\r\n";
        case Eol::Cr:
            return "\r";
        case Eol::None:
            break;
    }
    return "";
}

ModuleText ModuleText::Parse(std::string_view bytes) {
    if (bytes.find('\0') != std::string_view::npos)
        vbrt::Raise(vbrt::err::InvalidCall, "The text is not a Visual Basic source file");
    // The header is a few lines at the top: find it on a short prefix, then take
    // the code lines in one pass without an intermediate copy.
    std::size_t headerLines = 0;
    for (std::size_t probe = 64;; probe *= 4) {
        auto raw = SplitRaw(bytes, probe);
        headerLines = HeaderLength(raw);
        if (headerLines < raw.size() || raw.size() < probe) break;
    }
    ModuleText text;
    LineCursor cursor(bytes);
    RawLine raw;
    std::array<std::size_t, 4> eolCounts{};
    for (std::size_t i = 0; i < headerLines && cursor.Next(raw); ++i) {
        ++eolCounts[static_cast<std::size_t>(raw.eol)];
        text.header_ += raw.raw;
    }
    std::vector<CodeLine> lines;
    lines.reserve(static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\n')) + 1);
    while (cursor.Next(raw)) {
        ++eolCounts[static_cast<std::size_t>(raw.eol)];
        bool continued = !lines.empty() && lex::ContinuesOnNextLine(lines.back().text);
        if (!lines.empty() && !continued && lex::IsAttributeLine(raw.text)) {
            lines.back().hidden += raw.raw;
            continue;
        }
        lines.push_back({std::string(raw.text), raw.eol, {}});
    }
    text.style_ = Dominant(eolCounts);
    text.buf_ = std::move(lines);
    text.gapStart_ = text.gapEnd_ = static_cast<long>(text.buf_.size());
    return text;
}

std::string ModuleText::Serialize() const {
    std::string out;
    long count = Count();
    std::size_t size = header_.size() + 2;
    for (long i = 0; i < count; ++i) size += At(i).text.size() + At(i).hidden.size() + 2;
    out.reserve(size);
    out += header_;
    bool pendingNow = !pendingHidden_.empty();
    if (EndsWithEol(header_) == false && !header_.empty() && (count > 0 || pendingNow))
        out += EolText(style_);
    if (pendingNow && pendingAt_ == 0) SerializePending(out);
    for (long i = 0; i < count; ++i) {
        const CodeLine& line = At(i);
        out += line.text;
        bool pendingHere = pendingNow && pendingAt_ == i + 1;
        bool last = i + 1 == count && line.hidden.empty() && !pendingHere;
        out += line.eol == Eol::None && !last ? EolText(style_) : EolText(line.eol);
        out += line.hidden;
        if (pendingHere) SerializePending(out);
    }
    return out;
}

void ModuleText::SerializePending(std::string& out) const {
    for (const auto& part : pendingHidden_) out += part.text;
}

std::string ModuleText::VbName() const {
    std::string_view rest = header_;
    while (!rest.empty()) {
        auto end = rest.find_first_of("\r\n");
        std::string_view line = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view{} : rest.substr(end + 1);
        std::string_view words = line;
        if (!lex::SameWord(lex::NextWord(words), "Attribute") ||
            !lex::SameWord(lex::NextWord(words), "VB_Name"))
            continue;
        auto open = words.find('"');
        auto close = open == std::string_view::npos ? open : words.find('"', open + 1);
        if (close != std::string_view::npos) return std::string(words.substr(open + 1, close - open - 1));
    }
    return {};
}

}  // namespace host
