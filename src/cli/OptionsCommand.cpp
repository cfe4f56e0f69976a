// procvault options show and set: the Options dialog's Module and Database
// settings, read or changed as a user would, with OK's checks and question.
#include <memory>
#include <optional>

#include "cli/Command.h"
#include "cli/LibraryRun.h"
#include "dao/Location.h"
#include "options/frmOptions.h"
#include "settings/Options.h"
#include "vbrt/Text.h"

namespace pvcli {
namespace {

struct SetRequest {
    std::optional<std::string> prefix;
    std::optional<std::string> align;
    std::optional<std::string> library;
    bool yes = false;
    bool no = false;
};

std::optional<bool> Answer(bool yes, bool no) {
    if (yes) return true;
    if (no) return false;
    return std::nullopt;
}

// The alignment as the option buttons show it: the stored IndentLevel and its meaning.
std::string Alignment(const pv::frmOptions& dialog) {
    if (dialog.optAlignLeft.Value()) return "0 (left)";
    return dialog.optAlignIndent.Value() ? "1 (indent)" : "";
}

void PrintShown(std::FILE* out, const pv::frmOptions& dialog) {
    std::fprintf(out, "CommentPrefix: %s\n", vbrt::Cp1252ToUtf8(dialog.txtCommentPrefix.Text()).c_str());
    std::fprintf(out, "IndentLevel: %s\n", Alignment(dialog).c_str());
    // A location is the file system's bytes, not VB text: printed as it is.
    std::fprintf(out, "ProcvaultLocation: %s\n",
                 dao::MaskedLocation(dialog.txtProcvaultLocation.Text()).c_str());
}

// Showing only reads: the keys the dialogs initialise when they open stay unwritten.
int Show(Context& ctx) {
    LibraryRun run(ctx, LibraryRun::ReadingOnly{});
    bool shown = false;
    run.InOptions([&](pv::frmOptions& dialog) {
        PrintShown(ctx.io.out, dialog);
        PrintHeaderAndMessage(dialog, run.Ui(), ctx.io.out);
        shown = true;
    });
    return run.ExitCode(shown);
}

void Fill(pv::frmOptions& dialog, const SetRequest& request) {
    if (request.prefix) {
        dialog.ctlTab.SetTab(0);
        dialog.txtCommentPrefix.TypeText(vbrt::Utf8ToCp1252(*request.prefix));
    }
    if (request.align) (*request.align == "left" ? dialog.optAlignLeft : dialog.optAlignIndent).Press();
    if (request.library) {
        dialog.ctlTab.SetTab(1);
        dialog.txtProcvaultLocation.TypeText(*request.library);  // a file name's bytes, unconverted
    }
}

int Set(const SetRequest& request, Context& ctx) {
    if (!request.prefix && !request.align && !request.library)
        throw CLI::RequiredError("--comment-prefix, --align or --library");
    if (request.prefix && !pv::IsOneLine(*request.prefix))
        throw BadInput("the comment prefix must be one line, without line breaks");
    if (request.library && !pv::IsOneLine(*request.library))
        throw BadInput("the library's location must be one line, without line breaks");
    LibraryRun run(ctx, Answer(request.yes, request.no));
    bool closed = false;
    run.InOptions([&](pv::frmOptions& dialog) {
        Fill(dialog, request);
        dialog.cmdOK.Press();
        closed = !dialog.IsShown();
    });
    if (!closed) std::fprintf(ctx.io.err, "procvault options set: the options were not changed\n");
    return run.ExitCode(closed);
}

void AddShowCommand(CLI::App& options, Context& ctx) {
    CLI::App& command =
        AddCommand(options, "show",
                   "Print the options\n"
                   "Prints the comment prefix, the alignment (IndentLevel 0 left, 1 indent),\n"
                   "the library's location, the comment header of generated procedures and\n"
                   "their error message, as the Options dialogs show them.");
    OnRun(command, ctx, "", [&ctx] { return Show(ctx); });
}

void AddSetCommand(CLI::App& options, Context& ctx) {
    auto request = std::make_shared<SetRequest>();
    CLI::App& command =
        AddCommand(options, "set",
                   "Change the options\n"
                   "Types the given values into the Options dialog and presses OK, which checks\n"
                   "them: a prefix must not be empty, and the library must be a Procvault database.");
    AddOptional(command, "--comment-prefix", request->prefix, "the block-comment prefix, e.g. \"' \"")
        ->type_name("P");
    AddOptional(command, "--align", request->align, "comment at the left margin or at the code's indent")
        ->check(CLI::IsMember({"left", "indent"}))
        ->type_name("left|indent");
    AddOptional(command, "--library", request->library, "the procedure library file")->type_name("PATH");
    CLI::Option* yes =
        command.add_flag("--yes", request->yes, "answer Yes when asked to add the comment symbol \"'\"");
    command.add_flag("--no", request->no, "answer No to that question")->excludes(yes);
    OnRun(command, ctx, "; nothing was changed", [request, &ctx] { return Set(*request, ctx); });
}

}  // namespace

void AddOptionsCommands(CLI::App& app, Context& ctx) {
    CLI::App& options = AddCommandGroup(app, "options", "Show or change the Procvault options");
    AddShowCommand(options, ctx);
    AddSetCommand(options, ctx);
    AddOptionsDialogCommands(options, ctx);
}

}  // namespace pvcli
