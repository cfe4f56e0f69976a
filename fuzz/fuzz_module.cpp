// Arbitrary file bytes through the module loader and the scanner: a parsed
// module must serialize back to the very same bytes, and the scan must describe
// ranges that lie inside the module, in line order. VbError is the loader's
// way of refusing a file, not a fault.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "host/ModuleText.h"
#include "host/Scanner.h"
#include "vbrt/Text.h"
#include "vbrt/VbError.h"

namespace {

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "fuzz_module: %s\n", what);
    std::abort();
}

void CheckScan(const host::ScanResult& scan, long count) {
    if (scan.declarationLines < 0 || scan.declarationLines > count)
        Fail("declaration lines outside the module");
    long previousBody = 0;
    for (const auto& proc : scan.procs) {
        if (proc.startLine < 1 || proc.startLine > proc.bodyLine) Fail("range starts after the declaration");
        if (proc.bodyLine > proc.rangeEndLine || proc.endLine > proc.rangeEndLine)
            Fail("range ends too early");
        if (proc.rangeEndLine > count) Fail("range leaves the module");
        if (proc.bodyLine <= previousBody) Fail("procedures out of line order");
        previousBody = proc.bodyLine;
        const int found = scan.Find(proc.name, proc.kind);
        if (found < 0 || static_cast<std::size_t>(found) >= scan.procs.size())
            Fail("procedure not found by name");
        const auto& hit = scan.procs[static_cast<std::size_t>(found)];
        if (!vbrt::EqualsText(hit.name, proc.name) || hit.kind != proc.kind)
            Fail("Find gave another procedure");
    }
    for (const auto& member : scan.members)
        if (member.CodeLocation() < 1 || member.CodeLocation() > count) Fail("member outside the module");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    host::ModuleText text;
    try {
        text = host::ModuleText::Parse(bytes);
    } catch (const vbrt::VbError&) {
        return 0;
    }
    if (text.Serialize() != bytes) Fail("Serialize() differs from the parsed bytes");
    try {
        CheckScan(host::ScanModule(text), text.Count());
    } catch (const vbrt::VbError&) {
    }
    return 0;
}
