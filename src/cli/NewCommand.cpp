// procvault new: the New Procedure tab of the Procvault dialog, played as a user
// would: type the name, choose kind and scope, OK. The dialog's own checks apply.
#include <memory>

#include "cli/Command.h"
#include "cli/Session.h"
#include "codetools/frmProcvault.h"
#include "vbrt/Text.h"

namespace pvcli {
namespace {

constexpr const char* kNewFooter =
    "Give at most one of --sub, --function, --property and one of --private, --public, --friend.\n"
    "A property is written as a Property Get and a Property Let.\n"
    "The dialog's refusals (an invalid name, a name already used) are shown and exit with 1.";

struct Request {
    std::string file;
    std::string name;
    std::optional<std::string> project;
    std::string kind = "optSub";
    std::string scope = "optPrivate";
    bool isStatic = false;
};

struct Choice {
    const char* flag;
    const char* button;
    const char* description;
};

// Flags of which at most one may be given; the one given presses its option button.
void AddChoices(CLI::App& command, std::string& button, const std::vector<Choice>& choices) {
    std::vector<CLI::Option*> flags;
    for (const Choice& choice : choices) {
        flags.push_back(command.add_flag_callback(
            choice.flag, [&button, &choice] { button = choice.button; }, choice.description));
        for (std::size_t i = 0; i + 1 < flags.size(); ++i) flags.back()->excludes(flags[i]);
    }
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

int Act(const Request& request, Context& ctx) {
    const Streams io = ctx.io;
    ConsoleUi ui(io.err, io.in);
    Session session(ui, ctx.store);
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

const std::vector<Choice> kKinds = {{"--sub", "optSub", "a Sub (the default)"},
                                    {"--function", "optFunction", "a Function"},
                                    {"--property", "optProperty", "a Property"}};
const std::vector<Choice> kScopes = {{"--private", "optPrivate", "Private (the default)"},
                                     {"--public", "optPublic", "Public"},
                                     {"--friend", "optFriend", "Friend"}};

}  // namespace

void AddNewCommand(CLI::App& app, Context& ctx) {
    auto request = std::make_shared<Request>();
    CLI::App& command =
        AddCommand(app, "new",
                   "Append a new procedure (Sub, Function or Property)\n"
                   "Appends a new procedure with the standard error-handling block (and the comment\n"
                   "header when the ShowCommentStubs preference is on) to the module FILE, through the\n"
                   "New Procedure tab of the Procvault dialog, and saves the file.");
    command.add_option("FILE", request->file, "the module file, or with --project its name")
        ->required()
        ->type_name("");
    command
        .add_option_function<std::string>(
            "NAME", [request](const std::string& name) { request->name = vbrt::Utf8ToCp1252(name); },
            "the new procedure's name")
        ->required()
        ->type_name("");
    AddChoices(command, request->kind, kKinds);
    AddChoices(command, request->scope, kScopes);
    command.add_flag("--static", request->isStatic, "All Local Variables as Statics");
    AddOptional(command, "--project", request->project, "FILE is a module of this project")
        ->type_name("P.vbp");
    command.footer(kNewFooter);
    OnRun(command, ctx, "; nothing was changed", [request, &ctx] { return Act(*request, ctx); });
}

}  // namespace pvcli
