// procvault comment / uncomment: Co&mment Selection and &Uncomment Selection of
// the code window's context menu, on the lines the user names.
#include <algorithm>
#include <memory>

#include "cli/Command.h"
#include "cli/Ranges.h"
#include "cli/Session.h"

namespace pvcli {
namespace {

constexpr const char* kCommentFooter =
    "Line numbers are the code window's: the hidden header and Attribute lines do not count.\n"
    "The prefix and alignment are the CommentPrefix and IndentLevel preferences.";

struct CommentRequest {
    std::string module;
    std::optional<std::string> project;
    std::optional<LineRange> lines;
    std::optional<RawSelection> select;
};

// The selection the code window would have for the request; raises BadInput
// for lines the module does not have.
RawSelection SelectionFor(const CommentRequest& request, host::CodeModule& module) {
    const long count = module.CountOfLines();
    RawSelection s;
    if (request.lines) {
        s = {request.lines->first, 1, request.lines->last, 1};
        if (s.endLine <= count) {
            // Past the end of the last line, so the last line counts even when it is empty.
            s.endColumn = std::max<long>(2, static_cast<long>(module.Lines(s.endLine, 1).size()) + 1);
        }
    } else {
        s = *request.select;
    }
    const long lastNeeded = (s.endColumn == 1 && !request.lines) ? s.endLine - 1 : s.endLine;
    if (s.startLine > count || lastNeeded > count)
        throw BadInput("lines " + std::to_string(s.startLine) + "-" + std::to_string(s.endLine) +
                       " are outside the module, which has " + std::to_string(count) + " lines");
    return s;
}

int Act(const CommentRequest& request, bool uncomment, Context& ctx) {
    if (!request.lines && !request.select) throw CLI::RequiredError("--lines A-B or --select L1:C1-L2:C2");
    ConsoleUi ui(ctx.io.err, ctx.io.in);
    Session session(ui, ctx.store);
    host::VBComponent& component = session.OpenModule(request.module, request.project);
    host::CodeModule& module = component.CodeModule();
    const RawSelection s = SelectionFor(request, module);
    module.CodePane().SetSelection(s.startLine, s.startColumn, s.endLine, s.endColumn);

    session.ConnectAddIn();
    session.Click("Code Window", uncomment ? "&Uncomment Selection" : "Co&mment Selection");
    if (ui.Problems() > 0) return kExitNotDone;
    if (component.IsDirty()) component.Save();
    std::fprintf(ctx.io.err, "procvault: %s %s\n", uncomment ? "uncommented" : "commented",
                 component.FilePath().string().c_str());
    return kExitOk;
}

void AddCommentCommand(CLI::App& app, Context& ctx, bool uncomment) {
    auto request = std::make_shared<CommentRequest>();
    CLI::App& command = AddCommand(
        app, uncomment ? "uncomment" : "comment",
        uncomment ? "Remove the comment prefix from lines of a module (&Uncomment Selection)\n"
                    "Removes the comment prefix from the given lines of the module FILE and saves\n"
                    "the file. Give --lines or --select."
                  : "Comment out lines of a module (Co&mment Selection)\n"
                    "Puts the comment prefix in front of the given lines of the module FILE and\n"
                    "saves the file. Give --lines or --select.");
    command.add_option("FILE", request->module, "the module file, or with --project its name")
        ->required()
        ->type_name("");
    CLI::Option* lines = command.add_option_function<std::string>(
        "--lines", [request](const std::string& text) { request->lines = ParseLineRange(text); },
        "the lines to act on, inclusive (A alone: one line)");
    CLI::Option* select = command.add_option_function<std::string>(
        "--select", [request](const std::string& text) { request->select = ParseSelection(text); },
        "the raw selection as the code window has it: a selection\nending at column 1 does not include its "
        "end line");
    lines->type_name("A-B")->excludes(select);
    select->type_name("L1:C1-L2:C2");
    AddOptional(command, "--project", request->project, "FILE is a module of this project")
        ->type_name("P.vbp");
    command.footer(kCommentFooter);
    OnRun(command, ctx, "; nothing was changed",
          [request, uncomment, &ctx] { return Act(*request, uncomment, ctx); });
}

}  // namespace

void AddCommentCommands(CLI::App& app, Context& ctx) {
    AddCommentCommand(app, ctx, false);
    AddCommentCommand(app, ctx, true);
}

}  // namespace pvcli
