// procvault add-handlers: the Existing Procedures tab of the Procvault dialog,
// played as a user would: pick the entries, tick the header box if asked, OK.
#include <unistd.h>

#include <memory>

#include "cli/Command.h"
#include "cli/Session.h"
#include "codetools/frmProcvault.h"
#include "vbrt/Text.h"

namespace pvcli {
namespace {

constexpr const char* kAddHandlersFooter =
    "Without FILE, --all acts on every module of the project:\n"
    "  procvault add-handlers --project P.vbp --all [--stubs]";

struct Request {
    std::optional<std::string> file;
    std::optional<std::string> project;
    std::vector<std::string> entries;
    bool all = false;
    bool stubs = false;
};

// What the scripted user met in one module's dialog.
struct Outcome {
    bool opened = false;
    bool stubsUnavailable = false;
    bool refused = false;
    int handled = 0;
    std::vector<std::string> unknown;
};

// What the options alone cannot say; raises the parse error the user should see.
void Check(const Request& request) {
    if (!request.file && !request.project) throw CLI::RequiredError("FILE or --project P.vbp");
    if (!request.all && request.entries.empty()) throw CLI::RequiredError("--proc ENTRY... or --all");
}

int IndexOf(const forms::ListBox& list, const std::string& entry) {
    for (int i = 0; i < list.ListCount(); ++i)
        if (list.List(i) == entry) return i;
    return -1;
}

void Choose(pv::frmProcvault& dialog, const Request& request, Outcome& outcome) {
    if (request.all) {
        dialog.cmdSelectAll.Press();
        return;
    }
    dialog.cmdDeselectAll.Press();
    for (const auto& entry : request.entries) {
        const int index = IndexOf(dialog.lstProcedures, vbrt::Utf8ToCp1252(entry));
        if (index < 0)
            outcome.unknown.push_back(entry);
        else if (!dialog.lstProcedures.Selected(index))
            dialog.lstProcedures.ClickItem(index);
    }
}

void Play(pv::frmProcvault& dialog, const Request& request, Outcome& outcome) {
    outcome.opened = true;
    if (request.stubs && !dialog.chkShowCommentStubs.Visible()) {
        outcome.stubsUnavailable = true;
    } else if (dialog.lstProcedures.ListCount() == 0) {
        outcome.unknown = request.entries;
    } else {
        Choose(dialog, request, outcome);
        if (outcome.unknown.empty()) {
            if (request.stubs) dialog.chkShowCommentStubs.Press();
            outcome.handled = dialog.lstProcedures.SelCount();
            dialog.cmdOK.Press();
            outcome.refused = dialog.IsShown();
        }
    }
    if (dialog.IsShown()) dialog.cmdCancel.Press();
}

std::string FileName(const host::VBComponent& component) {
    return component.FilePath().filename().string();
}

// Opens the dialog on one module through the context menu; reports what stopped it.
int ActOn(Session& session, ConsoleUi& ui, host::VBComponent& component, const Request& request, Streams io,
          int& handled) {
    Outcome outcome;
    ui.OnShow("frmProcvault",
              [&](forms::Form& form) { Play(static_cast<pv::frmProcvault&>(form), request, outcome); });
    component.Activate();
    const int problems = ui.Problems();
    session.Click("Code Window", "&Procvault...");
    handled = outcome.handled;
    const std::string name = FileName(component);
    if (outcome.stubsUnavailable) {
        std::fprintf(io.err,
                     "procvault add-handlers: --stubs needs the ShowCommentStubs preference on "
                     "(the dialog offers no Add Comment Stubs box); nothing was changed\n");
        return kExitBadInput;
    }
    if (!outcome.unknown.empty()) {
        for (const auto& entry : outcome.unknown)
            std::fprintf(io.err,
                         "procvault add-handlers: %s lists no procedure '%s' without error handling\n",
                         name.c_str(), entry.c_str());
        std::fprintf(io.err, "(see 'procvault scan %s'); nothing was changed\n", name.c_str());
        return kExitBadInput;
    }
    if (!outcome.opened || outcome.refused || ui.Problems() > problems) return kExitNotDone;
    return kExitOk;
}

int Act(const Request& request, Context& ctx) {
    Check(request);
    const Streams io = ctx.io;
    ConsoleUi ui(io.err, io.in);
    Session session(ui, ctx.store);
    std::vector<host::VBComponent*> modules;
    if (request.file) {
        modules.push_back(&session.OpenModule(*request.file, request.project));
    } else {
        for (auto& component : session.Vbe().OpenProject(*request.project).VBComponents())
            if (component->HasCodeModule()) modules.push_back(component.get());
    }
    session.ConnectAddIn();
    const bool progress = isatty(fileno(io.err)) != 0 && modules.size() > 1;
    int total = 0;
    for (std::size_t i = 0; i < modules.size(); ++i) {
        int handled = 0;
        const int code = ActOn(session, ui, *modules[i], request, io, handled);
        if (code != kExitOk) return code;
        total += handled;
        if (progress)
            std::fprintf(io.err, "[%zu/%zu] %s: %d procedures\n", i + 1, modules.size(),
                         FileName(*modules[i]).c_str(), handled);
    }
    session.Vbe().ActiveVBProject().SaveAll();
    std::fprintf(io.err, "procvault: added error handling to %d procedure%s\n", total, total == 1 ? "" : "s");
    return kExitOk;
}

}  // namespace

void AddAddHandlersCommand(CLI::App& app, Context& ctx) {
    auto request = std::make_shared<Request>();
    CLI::App& command =
        AddCommand(app, "add-handlers",
                   "Add the error-handling block to procedures without one\n"
                   "Adds the standard error-handling block to procedures that have none, through the\n"
                   "Existing Procedures tab of the Procvault dialog, and saves the changed modules.");
    CLI::Option* file =
        AddOptional(command, "FILE", request->file, "the module file, or with --project its name")
            ->type_name("");
    CLI::Option* proc = command.add_option("--proc", request->entries,
                                           "the entries to act on, as 'procvault scan' lists them, e.g.\n"
                                           "DoIt or \"Get Total\" (every word up to the next option);\n"
                                           "needs FILE");
    CLI::Option* all = command.add_flag("--all", request->all, "every listed entry, instead of --proc");
    proc->type_name("ENTRY")->excludes(all)->needs(file);
    command.add_flag("--stubs", request->stubs,
                     "also write the comment header (Add Comment Stubs); needs the\n"
                     "ShowCommentStubs preference on");
    AddOptional(command, "--project", request->project, "FILE is a module of this project")
        ->type_name("P.vbp");
    command.footer(kAddHandlersFooter);
    OnRun(command, ctx, "; nothing was saved", [request, &ctx] { return Act(*request, ctx); });
}

}  // namespace pvcli
