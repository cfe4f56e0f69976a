// Arbitrary module text through the add-in's commands, with the scripted user
// and an in-memory preference store: comment then uncomment a block, add error
// handling to every procedure the main dialog lists, then create a procedure.
// Properties: no command reports a failure (but for refusing a procedure
// written on one line); uncomment(comment(block)) gives
// the block back and lines outside it never change; adding handlers only adds
// lines and leaves no listed procedure without handling; a new procedure only
// appends lines and can then be found by the host.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "CommandSession.h"
#include "codetools/basComment.h"
#include "codetools/frmProcvault.h"
#include "forms/Controls.h"
#include "forms/ScriptedUi.h"
#include "host/ModuleText.h"
#include "host/Scanner.h"
#include "host/VBE.h"
#include "settings/Env.h"
#include "settings/Options.h"
#include "vbrt/VbError.h"

namespace {

using fuzzsession::Lines;
using fuzzsession::ModuleLines;
using fuzzsession::Session;

[[noreturn]] void Fail(const char* what) {
    fuzzsession::Fail("fuzz_commands", what);
}

// A failure report is a critical message box; anything else is the command talking to the user.
void NoFailureReport(const forms::ScriptedUi& ui, const char* what) {
    for (const auto& report : fuzzsession::FailureReports(ui)) {
        std::fprintf(stderr, "reported: %s\n", report.c_str());
        Fail(what);
    }
}

bool IsSubsequence(const Lines& part, const Lines& whole) {
    std::size_t at = 0;
    for (const auto& line : whole)
        if (at < part.size() && line == part[at]) ++at;
    return at == part.size();
}

void CommentRoundTrip(Session& s, FuzzedDataProvider& in) {
    const Lines before = ModuleLines(*s.code);
    if (before.empty()) return;
    std::string prefix = "'" + in.ConsumeBytesAsString(in.ConsumeIntegralInRange<std::size_t>(0, 5));
    std::erase_if(prefix, [](char c) { return c == '\r' || c == '\n' || c == '\0'; });
    pv::WriteOption(s.store, pv::key::CommentPrefix, prefix);  // as the Options dialog leaves it
    pv::WriteOption(s.store, pv::key::IndentLevel, in.ConsumeBool() ? "1" : "0");
    const long count = static_cast<long>(before.size());
    long first = in.ConsumeIntegralInRange<long>(1, count), last = in.ConsumeIntegralInRange<long>(1, count);
    if (first > last) std::swap(first, last);
    // Ending at column 2 keeps the last line in the block.
    s.vbe.ActiveCodePane().SetSelection(first, 1, last, 2);
    pv::CommentSelection(s.env);
    NoFailureReport(s.ui, "CommentSelection reported a failure");
    const Lines commented = ModuleLines(*s.code);
    if (commented.size() != before.size()) Fail("commenting changed the line count");
    for (long i = 0; i < count; ++i) {
        const auto& was = before[static_cast<std::size_t>(i)];
        const auto& now = commented[static_cast<std::size_t>(i)];
        const bool inside = i + 1 >= first && i + 1 <= last;
        if (!inside && now != was) Fail("commenting changed a line outside the block");
        if (inside && !pv::IsBlankLine(was) && now.size() != was.size() + prefix.size())
            Fail("a commented line is not the line plus the prefix");
    }
    s.vbe.ActiveCodePane().SetSelection(first, 1, last, 2);
    pv::UncommentSelection(s.env);
    NoFailureReport(s.ui, "UncommentSelection reported a failure");
    if (ModuleLines(*s.code) != before) Fail("uncomment(comment(block)) is not the block");
    s.ui.ClearTranscript();
}

void AddHandlers(Session& s, bool stubs) {
    const Lines before = ModuleLines(*s.code);
    const host::ScanResult scan = host::ScanModule(s.code->Text());
    // A procedure on one line with its End has no room for a block: adding one is refused.
    const bool refusesSome =
        std::any_of(scan.procs.begin(), scan.procs.end(), [&](const host::ProcInfo& proc) {
            const auto copies = host::CopiesOf(scan, proc);
            return std::any_of(copies.begin(), copies.end(),
                               [](const host::ProcCopy& copy) { return copy.oneLine; });
        });
    const bool openBefore = scan.openAtEnd || refusesSome;
    const Lines listed = s.AddHandlersToAll(stubs);
    if (!IsSubsequence(before, ModuleLines(*s.code))) Fail("adding error handling changed or removed a line");
    // A module left open at its end (an unclosed #If or procedure) has procedures
    // without an End line: where their block goes is a guess, and may fail.
    if (openBefore) return s.ui.ClearTranscript();
    NoFailureReport(s.ui, "adding error handling reported a failure");
    for (const auto& left : s.DialogList([](pv::frmProcvault&) {}))
        for (const auto& entry : listed)
            if (left == entry) {
                std::fprintf(stderr, "still listed: %s\n", left.c_str());
                Fail("a procedure still lacks error handling after it was added");
            }
    s.ui.ClearTranscript();
}

void AddNewProcedure(Session& s, FuzzedDataProvider& in) {
    static const char* const kKinds[] = {"optSub", "optFunction", "optProperty"};
    static const char* const kScopes[] = {"optPrivate", "optPublic", "optFriend"};
    const int kind = in.ConsumeIntegralInRange(0, 2), scope = in.ConsumeIntegralInRange(0, 2);
    const bool isStatic = in.ConsumeBool();
    std::string name = "N";
    for (char c : in.ConsumeBytesAsString(in.ConsumeIntegralInRange<std::size_t>(0, 8)))
        if (std::isalnum(static_cast<unsigned char>(c)) && !(c & 0x80)) name += c;
    const Lines before = ModuleLines(*s.code);
    const bool openAtEnd = host::ScanModule(s.code->Text()).openAtEnd;
    s.DialogList([&](pv::frmProcvault& d) {
        d.ctlTab.SetTab(0);
        d.txtProcName.TypeText(name);
        static_cast<forms::OptionButton*>(d.FindControl(kKinds[kind]))->Press();
        static_cast<forms::OptionButton*>(d.FindControl(kScopes[scope]))->Press();
        if (isStatic) d.chkStatic.Press();
        d.cmdOK.Press();
    });
    NoFailureReport(s.ui, "creating a procedure reported a failure");
    const Lines after = ModuleLines(*s.code);
    if (after == before) return;  // refused: the name is taken
    if (after.size() <= before.size() || !std::equal(before.begin(), before.end(), after.begin()))
        Fail("a new procedure changed lines above it");
    const auto procKind = kind == 2 ? host::vbext_pk_Get : host::vbext_pk_Proc;
    if (!openAtEnd && host::ScanModule(s.code->Text()).Find(name, procKind) < 0)
        Fail("the new procedure is not found by the host");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 4096) return 0;  // the commands are linear; long inputs only slow the search
    FuzzedDataProvider in(data, size);
    const bool stubs = in.ConsumeBool();
    const std::string commandBytes = in.ConsumeBytesAsString(in.ConsumeIntegralInRange<std::size_t>(0, 24));
    host::ModuleText text;
    try {
        text = host::ModuleText::Parse(in.ConsumeRemainingBytesAsString());
    } catch (const vbrt::VbError&) {
        return 0;
    }
    Session session(std::move(text));
    FuzzedDataProvider commands(reinterpret_cast<const std::uint8_t*>(commandBytes.data()),
                                commandBytes.size());
    CommentRoundTrip(session, commands);
    AddHandlers(session, stubs);
    AddNewProcedure(session, commands);
    return 0;
}
