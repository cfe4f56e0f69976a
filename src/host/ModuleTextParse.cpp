// Loading and writing back a module file: the hidden header, the visible lines
// with their own endings, and the Attribute lines kept with the line they follow.
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

std::vector<RawLine> SplitRaw(std::string_view bytes) {
    std::vector<RawLine> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        char c = bytes[i];
        if (c != '\r' && c != '\n') continue;
        Eol eol = c == '\n' ? Eol::Lf : Eol::Cr;
        std::size_t end = i;
        if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
            eol = Eol::CrLf;
            ++i;
        }
        lines.push_back({bytes.substr(start, end - start), eol, bytes.substr(start, i + 1 - start)});
        start = i + 1;
    }
    if (start < bytes.size()) lines.push_back({bytes.substr(start), Eol::None, bytes.substr(start)});
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

Eol Dominant(const std::vector<RawLine>& lines) {
    std::array<std::size_t, 4> counts{};
    for (const auto& line : lines) ++counts[static_cast<std::size_t>(line.eol)];
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
    auto raw = SplitRaw(bytes);
    ModuleText text;
    text.style_ = Dominant(raw);
    std::size_t headerLines = HeaderLength(raw);
    for (std::size_t i = 0; i < headerLines; ++i) text.header_ += raw[i].raw;
    std::vector<CodeLine> lines;
    lines.reserve(raw.size() - headerLines);
    for (std::size_t i = headerLines; i < raw.size(); ++i) {
        bool continued = !lines.empty() && lex::ContinuesOnNextLine(lines.back().text);
        if (!lines.empty() && !continued && lex::IsAttributeLine(raw[i].text)) {
            lines.back().hidden += raw[i].raw;
            continue;
        }
        lines.push_back({std::string(raw[i].text), raw[i].eol, {}});
    }
    text.buf_ = std::move(lines);
    text.gapStart_ = text.gapEnd_ = static_cast<long>(text.buf_.size());
    return text;
}

std::string ModuleText::Serialize() const {
    std::string out = header_;
    long count = Count();
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
