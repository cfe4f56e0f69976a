#include <algorithm>

#include "cli/Args.h"
#include "cli/Cli.h"
#include "dao/Schema.h"
#include "vbrt/VbError.h"

namespace pvcli {
namespace {

constexpr const char* kLibraryHelp =
    "usage: procvault library init PATH\n"
    "\n"
    "Creates an empty procedure library at PATH with the tables Category,\n"
    "ProcedureHeader and ProcedureLine. An existing file is never overwritten.\n"
    "Point Procvault at it with the ProcvaultLocation preference (Options dialog).\n";

}  // namespace

int RunLibraryCommand(const std::vector<std::string>& words, Streams io) {
    if (std::find(words.begin(), words.end(), "--help") != words.end()) {
        std::fputs(kLibraryHelp, io.out);
        return kExitOk;
    }
    try {
        const Args args = ParseArgs(words, {}, {});
        if (args.positional.size() != 2 || args.positional[0] != "init")
            throw UsageError("expected 'library init PATH'");
        dao::CreateLibrary(args.positional[1]);
        std::fprintf(io.err, "procvault: created an empty library at %s\n", args.positional[1].c_str());
        return kExitOk;
    } catch (const UsageError& e) {
        std::fprintf(io.err, "procvault library: %s\n(see 'procvault library --help')\n", e.what());
        return kExitBadInput;
    } catch (const vbrt::VbError& e) {
        std::fprintf(io.err, "procvault library: %s (error %ld)\n", e.Description().c_str(), e.Number());
        return kExitBadInput;
    }
}

}  // namespace pvcli
