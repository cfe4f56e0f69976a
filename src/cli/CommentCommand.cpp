#include <algorithm>

#include "cli/Args.h"
#include "cli/Cli.h"
#include "cli/Session.h"
#include "vbrt/VbError.h"

namespace pvcli {
namespace {

constexpr const char* kCommentHelp =
    "usage: procvault %s FILE (--lines A-B | --select L1:C1-L2:C2) [--project P.vbp]\n"
    "\n"
    "%s lines A to B of the module FILE, inclusive, and saves the file.\n"
    "  --lines A-B            the lines to act on (A alone: one line)\n"
    "  --select L1:C1-L2:C2   the raw selection as the code window has it: a selection\n"
    "                         ending at column 1 does not include its end line\n"
    "  --project P.vbp        FILE is a module of this project (its name or its file)\n"
    "Line numbers are the code window's: the hidden header and Attribute lines do not count.\n"
    "The prefix and alignment are the CommentPrefix and IndentLevel preferences.\n";

struct CommentRequest {
    std::string module;
    std::optional<std::string> project;
    std::optional<std::string> lines;
    std::optional<std::string> select;
};

CommentRequest ReadRequest(const std::vector<std::string>& words) {
    const Args args = ParseArgs(words, {"lines", "select", "project"}, {"help"});
    CommentRequest request;
    if (args.positional.size() != 1) throw UsageError("expected exactly one FILE");
    request.module = args.positional.front();
    request.project = args.Value("project");
    request.lines = args.Value("lines");
    request.select = args.Value("select");
    if (request.lines.has_value() == request.select.has_value())
        throw UsageError("give either --lines A-B or --select L1:C1-L2:C2");
    return request;
}

// The selection the code window would have for the request; raises UsageError
// for lines the module does not have.
RawSelection SelectionFor(const CommentRequest& request, host::CodeModule& module) {
    const long count = module.CountOfLines();
    RawSelection s;
    if (request.lines) {
        const LineRange range = ParseLineRange(*request.lines);
        s = {range.first, 1, range.last, 1};
        if (range.last <= count) {
            // Past the end of the last line, so the last line counts even when it is empty.
            s.endColumn = std::max<long>(2, static_cast<long>(module.Lines(range.last, 1).size()) + 1);
        }
    } else {
        s = ParseSelection(*request.select);
    }
    const long lastNeeded = (s.endColumn == 1 && !request.lines) ? s.endLine - 1 : s.endLine;
    if (s.startLine > count || lastNeeded > count)
        throw UsageError("lines " + std::to_string(s.startLine) + "-" + std::to_string(s.endLine) +
                         " are outside the module, which has " + std::to_string(count) + " lines");
    return s;
}

int Act(const CommentRequest& request, bool uncomment, vbrt::SettingsStore& store, Streams io) {
    ConsoleUi ui(io.err, io.in);
    Session session(ui, store);
    host::VBComponent& component = session.OpenModule(request.module, request.project);
    host::CodeModule& module = component.CodeModule();
    const RawSelection s = SelectionFor(request, module);
    module.CodePane().SetSelection(s.startLine, s.startColumn, s.endLine, s.endColumn);

    session.ConnectAddIn();
    session.Click("Code Window", uncomment ? "&Uncomment Selection" : "Co&mment Selection");
    if (ui.Problems() > 0) return kExitNotDone;
    if (component.IsDirty()) component.Save();
    std::fprintf(io.err, "procvault: %s %s\n", uncomment ? "uncommented" : "commented",
                 component.FilePath().string().c_str());
    return kExitOk;
}

}  // namespace

int RunCommentCommand(const std::vector<std::string>& words, bool uncomment, vbrt::SettingsStore& store,
                      Streams io) {
    const char* name = uncomment ? "uncomment" : "comment";
    if (std::find(words.begin(), words.end(), "--help") != words.end()) {
        std::fprintf(io.out, kCommentHelp, name,
                     uncomment ? "Removes the comment prefix from" : "Puts the comment prefix in front of");
        return kExitOk;
    }
    CommentRequest request;
    try {
        request = ReadRequest(words);
    } catch (const UsageError& e) {
        std::fprintf(io.err, "procvault %s: %s\n(see 'procvault %s --help')\n", name, e.what(), name);
        return kExitBadInput;
    }
    try {
        return Act(request, uncomment, store, io);
    } catch (const UsageError& e) {
        std::fprintf(io.err, "procvault %s: %s; nothing was changed\n", name, e.what());
        return kExitBadInput;
    } catch (const vbrt::VbError& e) {
        std::fprintf(io.err, "procvault %s: %s (error %ld); nothing was changed\n", name, e.Description().c_str(),
                     e.Number());
        return kExitBadInput;
    }
}

}  // namespace pvcli
