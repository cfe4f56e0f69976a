// procvault add-handlers: the Existing Procedures tab of the Procvault dialog,
// played as a user would: pick the entries, tick the header box if asked, OK.
#include <unistd.h>

#include <algorithm>

#include "cli/Args.h"
#include "cli/Cli.h"
#include "cli/Session.h"
#include "codetools/frmProcvault.h"
#include "vbrt/Text.h"
#include "vbrt/VbError.h"

namespace pvcli {
namespace {

constexpr const char* kAddHandlersHelp =
    "usage: procvault add-handlers FILE (--proc ENTRY... | --all) [--stubs] [--project P.vbp]\n"
    "       procvault add-handlers --project P.vbp --all [--stubs]\n"
    "\n"
    "Adds the standard error-handling block to procedures that have none, through the\n"
    "Existing Procedures tab of the Procvault dialog, and saves the changed modules.\n"
    "  --proc ENTRY...   the entries to act on, as 'procvault scan' lists them, e.g.\n"
    "                    DoIt or \"Get Total\" (every word up to the next option)\n"
    "  --all             every listed entry\n"
    "  --stubs           also write the comment header (Add Comment Stubs); needs the\n"
    "                    ShowCommentStubs preference on\n"
    "  --project P.vbp   FILE is a module of this project; without FILE, --all acts on\n"
    "                    every module of the project\n";

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

// "--proc" takes every following word up to the next option.
Request ReadRequest(const std::vector<std::string>& words) {
    Request request;
    std::vector<std::string> rest;
    bool inProc = false;
    for (const auto& word : words) {
        const bool option = word.rfind("--", 0) == 0;
        if (word == "--proc") {
            inProc = true;
            continue;
        }
        if (inProc && !option) {
            request.entries.push_back(word);
            continue;
        }
        inProc = false;
        rest.push_back(word);
    }
    const Args args = ParseArgs(rest, {"project"}, {"all", "stubs", "help"});
    if (args.positional.size() > 1) throw UsageError("expected one FILE");
    if (!args.positional.empty()) request.file = args.positional.front();
    request.project = args.Value("project");
    request.all = args.Has("all");
    request.stubs = args.Has("stubs");
    if (!request.file && !request.project) throw UsageError("expected FILE or --project P.vbp");
    if (request.all == !request.entries.empty()) throw UsageError("give either --proc ENTRY... or --all");
    if (!request.file && !request.all) throw UsageError("--proc needs a FILE");
    return request;
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

int Act(const Request& request, vbrt::SettingsStore& store, Streams io) {
    ConsoleUi ui(io.err, io.in);
    Session session(ui, store);
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

int RunAddHandlersCommand(const std::vector<std::string>& words, vbrt::SettingsStore& store, Streams io) {
    if (std::find(words.begin(), words.end(), "--help") != words.end()) {
        std::fputs(kAddHandlersHelp, io.out);
        return kExitOk;
    }
    Request request;
    try {
        request = ReadRequest(words);
    } catch (const UsageError& e) {
        std::fprintf(io.err, "procvault add-handlers: %s\n(see 'procvault add-handlers --help')\n", e.what());
        return kExitBadInput;
    }
    try {
        return Act(request, store, io);
    } catch (const vbrt::VbError& e) {
        std::fprintf(io.err, "procvault add-handlers: %s (error %ld); nothing was saved\n",
                     e.Description().c_str(), e.Number());
        return kExitBadInput;
    }
}

}  // namespace pvcli
