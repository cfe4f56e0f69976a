#include "host/CodeModule.h"

#include "host/ModuleText.h"
#include "host/ScanPatch.h"
#include "host/Scanner.h"
#include "host/VBE.h"
#include "vbrt/VbError.h"

namespace host {
namespace {

// Splits at CR LF, lone LF and lone CR; an empty text is one empty line.
std::vector<std::string> SplitText(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n') continue;
        lines.emplace_back(text, start, i - start);
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    lines.emplace_back(text, start);
    return lines;
}

[[noreturn]] void InvalidCall() {
    vbrt::Raise(vbrt::err::InvalidCall);
}

}  // namespace

const Member& Members::Item(long index) const {
    if (index < 1 || index > Count()) vbrt::Raise(vbrt::err::SubscriptOutOfRange);
    return items_[static_cast<std::size_t>(index - 1)];
}

CodeModule::CodeModule(VBComponent& parent, std::unique_ptr<ModuleText> text)
    : parent_(parent), text_(std::move(text)) {}

CodeModule::~CodeModule() = default;

std::string CodeModule::Lines(long startLine, long count) const {
    long total = CountOfLines();
    if (startLine < 1 || count < 0 || startLine + count - 1 > total || startLine > total + 1) InvalidCall();
    std::string out;
    for (long i = 0; i < count; ++i) {
        if (i > 0) out += "\r\n";
        out += text_->Line(startLine - 1 + i);
    }
    return out;
}

long CodeModule::CountOfLines() const {
    return text_->Count();
}

long CodeModule::CountOfDeclarationLines() const {
    return Scan().declarationLines;
}

void CodeModule::InsertLines(long line, const std::string& text) {
    if (line < 1) InvalidCall();
    line = std::min(line, CountOfLines() + 1);
    auto lines = SplitText(text);
    bool keepScan = ScanIsCurrent() && ScanPatch::CanInsert(*scan_, *text_, line, lines);
    text_->Insert(line - 1, lines);
    Changed(line, 0, static_cast<long>(lines.size()), keepScan);
}

void CodeModule::DeleteLines(long startLine, long count) {
    if (startLine < 1 || count < 0 || startLine + count - 1 > CountOfLines()) InvalidCall();
    if (count == 0) return;
    bool keepScan = ScanIsCurrent() && ScanPatch::CanDelete(*scan_, *text_, startLine, count);
    text_->Erase(startLine - 1, count);
    Changed(startLine, count, 0, keepScan);
}

void CodeModule::ReplaceLine(long line, const std::string& text) {
    if (line < 1 || line > CountOfLines()) InvalidCall();
    auto lines = SplitText(text);
    bool keepScan = ScanIsCurrent() && ScanPatch::CanReplace(*scan_, *text_, line, lines);
    text_->Replace(line - 1, lines.front());
    if (lines.size() > 1) text_->Insert(line, std::vector<std::string>(lines.begin() + 1, lines.end()));
    Changed(line, 1, static_cast<long>(lines.size()), keepScan);
}

const ScanResult& CodeModule::Scan() const {
    if (!scan_ || scannedVersion_ != version_) {
        scan_ = std::make_unique<ScanResult>(ScanModule(*text_));
        members_.reset();
        scannedVersion_ = version_;
    }
    return *scan_;
}

const Members& CodeModule::Members() const {
    const ScanResult& scan = Scan();
    if (!members_) members_ = std::make_unique<host::Members>(scan.members);
    return *members_;
}

namespace {
const ProcInfo& FindProc(const ScanResult& scan, const std::string& name, vbext_ProcKind kind) {
    int index = scan.Find(name, kind);
    if (index < 0) vbrt::Raise(vbrt::err::SubNotDefined);
    return scan.procs[static_cast<std::size_t>(index)];
}
}  // namespace

long CodeModule::ProcStartLine(const std::string& procName, vbext_ProcKind kind) const {
    return FindProc(Scan(), procName, kind).startLine;
}

long CodeModule::ProcCountLines(const std::string& procName, vbext_ProcKind kind) const {
    const ProcInfo& proc = FindProc(Scan(), procName, kind);
    return proc.rangeEndLine - proc.startLine + 1;
}

long CodeModule::ProcBodyLine(const std::string& procName, vbext_ProcKind kind) const {
    return FindProc(Scan(), procName, kind).bodyLine;
}

std::vector<ProcCopy> CodeModule::ProcCopies(const std::string& procName, vbext_ProcKind kind) const {
    return CopiesOf(Scan(), FindProc(Scan(), procName, kind));
}

CodePane& CodeModule::CodePane() {
    return *parent_.pane_;
}

std::string CodeModule::AllText() const {
    std::string out;
    long count = CountOfLines();
    for (long i = 0; i < count; ++i) {
        if (i > 0) out += '\n';
        out += text_->Line(i);
    }
    return out;
}

int CodeModule::OnLinesChanged(LinesChangedHandler handler) {
    listeners_.emplace_back(nextListener_, std::move(handler));
    return nextListener_++;
}

void CodeModule::RemoveListener(int id) {
    std::erase_if(listeners_, [id](const auto& entry) { return entry.first == id; });
}

void CodeModule::Changed(long firstLine, long removed, long inserted, bool keepScan) {
    ++version_;
    // Patched before the listeners run: they may well ask for the scan.
    if (keepScan && ScanPatch::Apply(*scan_, members_.get(), {firstLine, removed, inserted}, CountOfLines()))
        scannedVersion_ = version_;
    auto listeners = listeners_;  // a handler may remove itself
    for (auto& [id, handler] : listeners) handler(firstLine, removed, inserted);
}

}  // namespace host
