// Edits driven by the input: a starting module, then a run of InsertLines /
// DeleteLines / ReplaceLine calls. After every step the module's lines must
// equal a plain vector model, and the scan the module keeps (patched in place
// across structure-neutral edits) must equal a fresh scan of the same text.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "host/ModuleText.h"
#include "host/Scanner.h"
#include "host/VBE.h"
#include "vbrt/VbError.h"

namespace {

using Lines = std::vector<std::string>;

[[noreturn]] void Fail(const char* what, long step) {
    std::fprintf(stderr, "fuzz_edits: %s (after step %ld)\n", what, step);
    std::abort();
}

// Lines that move the scanner's state, so edits hit structure and not just text.
constexpr std::array<const char*, 40> kPalette = {
    "",
    "' note",
    "Rem note",
    "Option Explicit",
    "Dim m As Long",
    "Private WithEvents btn As CommandButton",
    "Public Const C = 1",
    "Sub A()",
    "Private Sub B(ByVal x As Long)",
    "Public Static Sub S()",
    "Friend Function F() As Long",
    "Function G(a As String, _",
    "    b As Long) As String",
    "End Sub",
    "End Function",
    "Property Get P() As Long",
    "Property Let P(ByVal v As Long)",
    "Public Property Set P(ByVal o As Object)",
    "End Property",
    "    x = 1",
    "    x = \"End Sub\" ' End Sub",
    "    If x Then Exit Sub",
    "    On Error GoTo Err_A",
    "#If VBA7 Then",
    "#Else",
    "#End If",
    "Private Declare PtrSafe Function GetTickCount Lib \"kernel32\" () As Long",
    "Private Declare Function GetTickCount Lib \"kernel32\" () As Long",
    "Public Declare Sub Sleep Lib \"kernel32\" _",
    "    (ByVal ms As Long)",
    "Type Rec",
    "    End As Long",
    "End Type",
    "Enum Colour",
    "End Enum",
    "Public Event Changed(ByVal v As Long)",
    "Attribute P.VB_UserMemId = 0",
    "x = 1 _",
    "Sub caf\xe9()",
    "End",
};

// The host's split: every CR LF, lone LF and lone CR ends a line.
Lines SplitText(const std::string& text) {
    Lines lines;
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

std::string NextText(FuzzedDataProvider& in) {
    const int pieces = in.ConsumeIntegralInRange(1, 4);
    std::string text;
    for (int i = 0; i < pieces; ++i) {
        if (i > 0) text += "\r\n";
        if (in.ConsumeBool())
            text += kPalette[in.ConsumeIntegralInRange<std::size_t>(0, kPalette.size() - 1)];
        else
            text += in.ConsumeRandomLengthString(40);
    }
    return text;
}

bool SameCopies(const std::vector<host::ProcCopy>& a, const std::vector<host::ProcCopy>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](const host::ProcCopy& x, const host::ProcCopy& y) {
                          return x.headerLine == y.headerLine && x.declLine == y.declLine &&
                                 x.declEndLines == y.declEndLines && x.endLine == y.endLine &&
                                 x.closed == y.closed && x.oneLine == y.oneLine;
                      });
}

bool SameProc(const host::ProcInfo& a, const host::ProcInfo& b) {
    return a.copies == b.copies && a.closed == b.closed && a.oneLine == b.oneLine && a.name == b.name &&
           a.kind == b.kind && a.isDeclare == b.isDeclare && a.isEvent == b.isEvent &&
           a.startLine == b.startLine && a.bodyLine == b.bodyLine && a.declEndLine == b.declEndLine &&
           a.endLine == b.endLine && a.rangeEndLine == b.rangeEndLine && a.groupEndLine == b.groupEndLine;
}

template <typename Range>
bool SameMembers(const Range& kept, const std::vector<host::Member>& fresh) {
    std::size_t i = 0;
    for (const auto& m : kept) {
        if (i >= fresh.size()) return false;
        const auto& f = fresh[i++];
        if (m.Name() != f.Name() || m.Type() != f.Type() || m.CodeLocation() != f.CodeLocation())
            return false;
    }
    return i == fresh.size();
}

void Compare(host::CodeModule& code, const Lines& model, long step) {
    if (code.CountOfLines() != static_cast<long>(model.size()))
        Fail("line count differs from the model", step);
    for (long i = 0; i < code.CountOfLines(); ++i)
        if (code.Text().Line(i) != model[static_cast<std::size_t>(i)])
            Fail("line differs from the model", step);
    const host::ScanResult& kept = code.Scan();
    const host::ScanResult fresh = host::ScanModule(code.Text());
    if (kept.declarationLines != fresh.declarationLines) Fail("declaration lines differ", step);
    if (kept.openAtEnd != fresh.openAtEnd) Fail("openAtEnd differs", step);
    if (kept.lastBodyProc != fresh.lastBodyProc) Fail("last procedure differs", step);
    if (kept.copies.size() != fresh.copies.size() ||
        !std::equal(kept.copies.begin(), kept.copies.end(), fresh.copies.begin(), SameCopies))
        Fail("copies differ", step);
    if (kept.procs.size() != fresh.procs.size()) Fail("procedure count differs", step);
    for (std::size_t i = 0; i < kept.procs.size(); ++i)
        if (!SameProc(kept.procs[i], fresh.procs[i])) Fail("procedure range differs", step);
    if (!SameMembers(kept.members, fresh.members)) Fail("scan members differ", step);
    if (!SameMembers(code.Members(), fresh.members)) Fail("Members() differs", step);
    if (kept.index != fresh.index) Fail("name index differs", step);
}

// One edit on both the module and the model; the call's own refusals (error 5
// for lines outside the module) must leave both alone.
void Step(FuzzedDataProvider& in, host::CodeModule& code, Lines& model) {
    const long count = static_cast<long>(model.size());
    switch (in.ConsumeIntegralInRange(0, 2)) {
        case 0: {
            const long line = in.ConsumeIntegralInRange<long>(1, count + 1);
            const std::string text = NextText(in);
            Lines add = SplitText(text);
            code.InsertLines(line, text);
            model.insert(model.begin() + (line - 1), add.begin(), add.end());
            break;
        }
        case 1: {
            if (count == 0) return;
            const long first = in.ConsumeIntegralInRange<long>(1, count);
            const long n = in.ConsumeIntegralInRange<long>(0, std::min<long>(count - first + 1, 8));
            code.DeleteLines(first, n);
            model.erase(model.begin() + (first - 1), model.begin() + (first - 1 + n));
            break;
        }
        default: {
            if (count == 0) return;
            const long line = in.ConsumeIntegralInRange<long>(1, count);
            const std::string text = NextText(in);
            Lines add = SplitText(text);
            code.ReplaceLine(line, text);
            model.erase(model.begin() + (line - 1));
            model.insert(model.begin() + (line - 1), add.begin(), add.end());
            break;
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    host::VBE vbe;
    host::VBProject project(vbe);
    host::CodeModule& code = project.VBComponents().Add(host::vbext_ct_StdModule).CodeModule();
    Lines model;
    for (long i = 0; i < code.CountOfLines(); ++i) model.push_back(code.Text().Line(i));
    const int startLines = in.ConsumeIntegralInRange(0, 30);
    for (int i = 0; i < startLines; ++i) {
        const std::string text = NextText(in);
        Lines add = SplitText(text);
        code.InsertLines(code.CountOfLines() + 1, text);
        model.insert(model.end(), add.begin(), add.end());
    }
    Compare(code, model, 0);
    for (long step = 1; step <= 64 && in.remaining_bytes() > 0; ++step) {
        Step(in, code, model);
        Compare(code, model, step);
    }
    return 0;
}
