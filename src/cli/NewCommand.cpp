// procvault new: the New Procedure tab of the Procvault dialog, played as a user
// would: type the name, choose kind and scope, OK. The dialog's own checks apply.
#include <algorithm>

#include "cli/Args.h"
#include "cli/Cli.h"
#include "cli/Session.h"
#include "codetools/frmProcvault.h"
#include "vbrt/Text.h"
#include "vbrt/VbError.h"

namespace pvcli {
namespace {

constexpr const char* kNewHelp =
    "usage: procvault new FILE NAME [--sub|--function|--property] [--private|--public|--friend]\n"
    "                     [--static] [--project P.vbp]\n"
    "\n"
    "Appends a new procedure with the standard error-handling block (and the comment\n"
    "header when the ShowCommentStubs preference is on) to the module FILE, through the\n"
    "New Procedure tab of the Procvault dialog, and saves the file. Defaults: --sub, --private.\n"
    "A property is written as a Property Get and a Property Let.\n"
    "  --static          All Local Variables as Statics\n"
    "  --project P.vbp   FILE is a module of this project (its name or its file)\n"
    "The dialog's refusals (an invalid name, a name already used) are shown and exit with 1.\n";

struct Request {
    std::string file;
    std::string name;
    std::optional<std::string> project;
    std::string kind = "optSub";
    std::string scope = "optPrivate";
    bool isStatic = false;
};

// The one option of a group that was given, or the default.
std::string OneOf(const Args& args, const std::vector<std::pair<const char*, const char*>>& group,
                  const std::string& fallback) {
    std::string chosen;
    for (const auto& [flag, button] : group) {
        if (!args.Has(flag)) continue;
        if (!chosen.empty())
            throw UsageError("give only one of " + std::string(group[0].first) + ", " + group[1].first +
                             ", " + group[2].first);
        chosen = button;
    }
    return chosen.empty() ? fallback : chosen;
}

Request ReadRequest(const std::vector<std::string>& words) {
    const Args args = ParseArgs(
        words, {"project"}, {"sub", "function", "property", "private", "public", "friend", "static", "help"});
    if (args.positional.size() != 2) throw UsageError("expected FILE and NAME");
    Request request;
    request.file = args.positional[0];
    request.name = vbrt::Utf8ToCp1252(args.positional[1]);
    request.project = args.Value("project");
    request.kind = OneOf(args, {{"sub", "optSub"}, {"function", "optFunction"}, {"property", "optProperty"}},
                         request.kind);
    request.scope = OneOf(args, {{"private", "optPrivate"}, {"public", "optPublic"}, {"friend", "optFriend"}},
                          request.scope);
    request.isStatic = args.Has("static");
    return request;
}

void Play(pv::frmProcvault& dialog, const Request& request, bool& added) {
    dialog.ctlTab.SetTab(0);
    dialog.txtProcName.TypeText(request.name);
    static_cast<forms::OptionButton*>(dialog.FindControl(request.kind))->Press();
    static_cast<forms::OptionButton*>(dialog.FindControl(request.scope))->Press();
    if (request.isStatic) dialog.chkStatic.Press();
    dialog.cmdOK.Press();
    added = !dialog.IsShown();
    if (dialog.IsShown()) dialog.cmdCancel.Press();
}

int Act(const Request& request, vbrt::SettingsStore& store, Streams io) {
    ConsoleUi ui(io.err, io.in);
    Session session(ui, store);
    host::VBComponent& component = session.OpenModule(request.file, request.project);
    session.ConnectAddIn();
    bool added = false;
    ui.OnShow("frmProcvault",
              [&](forms::Form& form) { Play(static_cast<pv::frmProcvault&>(form), request, added); });
    session.Click("Code Window", "&Procvault...");
    if (!added || ui.Problems() > 0) {
        std::fprintf(io.err, "procvault new: nothing was added\n");
        return kExitNotDone;
    }
    component.Save();
    std::fprintf(io.err, "procvault: added %s to %s\n", vbrt::Cp1252ToUtf8(request.name).c_str(),
                 component.FilePath().string().c_str());
    return kExitOk;
}

}  // namespace

int RunNewCommand(const std::vector<std::string>& words, vbrt::SettingsStore& store, Streams io) {
    if (std::find(words.begin(), words.end(), "--help") != words.end()) {
        std::fputs(kNewHelp, io.out);
        return kExitOk;
    }
    Request request;
    try {
        request = ReadRequest(words);
    } catch (const UsageError& e) {
        std::fprintf(io.err, "procvault new: %s\n(see 'procvault new --help')\n", e.what());
        return kExitBadInput;
    }
    try {
        return Act(request, store, io);
    } catch (const vbrt::VbError& e) {
        std::fprintf(io.err, "procvault new: %s (error %ld); nothing was changed\n", e.Description().c_str(),
                     e.Number());
        return kExitBadInput;
    }
}

}  // namespace pvcli
