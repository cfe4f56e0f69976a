// procvault options comment-stubs and error-message: the Options dialog's
// "Comments..." and "Customize..." dialogs, filled and confirmed as a user
// would, with their checks and questions.
#include <memory>
#include <optional>

#include "cli/Command.h"
#include "cli/ConsoleUi.h"
#include "cli/LibraryRun.h"
#include "options/frmCommentStubs.h"
#include "options/frmCustomizeErrorMessage.h"
#include "options/frmOptions.h"
#include "settings/Options.h"
#include "vbrt/Text.h"

namespace pvcli {
namespace {

std::optional<bool> Answer(bool yes, bool no) {
    if (yes) return true;
    if (no) return false;
    return std::nullopt;
}

struct StubsRequest {
    bool on = false;
    bool off = false;
    bool procedureName = false;
    std::optional<std::string> createdBy;
    bool dateCreated = false;
    bool purpose = false;
    bool parameters = false;
    bool output = false;
    bool yes = false;
    bool no = false;
};

void Tick(forms::CheckBox& check, bool on) {
    if ((check.Value() == 1) != on) check.Press();
}

void FillStubs(pv::frmCommentStubs& dialog, const StubsRequest& request) {
    if (request.off) {
        dialog.optNoCommentStubs.Press();
        return;
    }
    dialog.optShowCommentStubs.Press();
    Tick(dialog.chkProcedureName, request.procedureName);
    Tick(dialog.chkCreatedBy, request.createdBy.has_value());
    if (request.createdBy) {
        dialog.txtCreatedByName.SetFocus();
        dialog.txtCreatedByName.TypeText(vbrt::Utf8ToCp1252(*request.createdBy));
        dialog.cmdOK.SetFocus();
    }
    Tick(dialog.chkDateCreated, request.dateCreated);
    Tick(dialog.chkPurpose, request.purpose);
    Tick(dialog.chkParameters, request.parameters);
    Tick(dialog.chkOutput, request.output);
}

// Plays `formName` opened by `button` of the Options dialog's first tab: fill, then OK.
template <class Dialog>
int PlayAndConfirm(Context& ctx, std::optional<bool> answer, const char* formName,
                   forms::CommandButton& (*button)(pv::frmOptions&), const std::function<void(Dialog&)>& fill,
                   const char* refused) {
    LibraryRun run(ctx, answer);
    bool closed = false;
    run.Through(
        formName,
        [&](forms::Form& form) {
            auto& dialog = static_cast<Dialog&>(form);
            fill(dialog);
            dialog.cmdOK.Press();
            closed = !dialog.IsShown();
        },
        [button](pv::frmOptions& options) {
            options.ctlTab.SetTab(0);
            button(options).Press();
        });
    if (!closed) std::fprintf(ctx.io.err, "%s\n", refused);
    return run.ExitCode(closed);
}

void AddCommentStubsCommand(CLI::App& options, Context& ctx) {
    auto request = std::make_shared<StubsRequest>();
    CLI::App& command = AddCommand(options, "comment-stubs",
                                   "Choose the comment header of generated procedures\n"
                                   "--off: no header. --on: a header with exactly the lines given.");
    CLI::Option* on = command.add_flag("--on", request->on, "give generated procedures a comment header");
    CLI::Option* off = command.add_flag("--off", request->off, "no comment header")->excludes(on);
    command.add_flag("--procedure-name", request->procedureName, "a \"' Procedure:\" line")->needs(on);
    AddOptional(command, "--created-by", request->createdBy,
                "a \"' Created By:\" line with this name (30 at most)")
        ->type_name("NAME")
        ->needs(on);
    command.add_flag("--date-created", request->dateCreated, "a \"' Date Created:\" line")->needs(on);
    command.add_flag("--purpose", request->purpose, "a \"' Purpose:\" line")->needs(on);
    command.add_flag("--parameters", request->parameters, "a \"' Parameters:\" line")->needs(on);
    command.add_flag("--output", request->output, "a \"' Output:\" line")->needs(on);
    CLI::Option* yes =
        command.add_flag("--yes", request->yes, "answer Yes when asked to save a header without lines");
    command.add_flag("--no", request->no, "answer No to that question")->excludes(yes);
    OnRun(command, ctx, "; nothing was changed", [request, on, off, &ctx] {
        if (!*on && !*off) throw CLI::RequiredError("--on or --off");
        if (request->createdBy && vbrt::Utf8ToCp1252(*request->createdBy).size() > 30)
            throw BadInput("the name after --created-by is longer than 30 characters");
        if (request->createdBy && !pv::IsOneLine(*request->createdBy))
            throw BadInput("the name after --created-by must be one line, without line breaks");
        return PlayAndConfirm<pv::frmCommentStubs>(
            ctx, Answer(request->yes, request->no), "frmCommentStubs",
            [](pv::frmOptions& o) -> forms::CommandButton& { return o.cmdCommentStubs; },
            [request](pv::frmCommentStubs& dialog) { FillStubs(dialog, *request); },
            "procvault options comment-stubs: the comment stubs were not changed");
    });
}

void AddErrorMessageCommand(CLI::App& options, Context& ctx) {
    auto text = std::make_shared<std::optional<std::string>>();
    auto restore = std::make_shared<bool>(false);
    auto answers = std::make_shared<std::pair<bool, bool>>();
    CLI::App& command = AddCommand(options, "error-message",
                                   "Set the statement every generated error handler carries\n"
                                   "Each <NAME> in it is replaced by the procedure's name.");
    CLI::Option* given =
        AddOptional(command, "text", *text, "the statement (100 characters at most)")->type_name("TEXT");
    command.add_flag("--default", *restore, "restore the default message")->excludes(given);
    CLI::Option* yes =
        command.add_flag("--yes", answers->first, "answer Yes when asked to save without <NAME>");
    command.add_flag("--no", answers->second, "answer No to that question")->excludes(yes);
    OnRun(command, ctx, "; nothing was changed", [text, restore, answers, &ctx] {
        if (!*text && !*restore) throw CLI::RequiredError("TEXT or --default");
        const std::string typed = *text ? vbrt::Utf8ToCp1252(**text) : std::string();
        if (typed.size() > 100) throw BadInput("the message is longer than 100 characters");
        if (!pv::IsOneLine(typed)) throw BadInput("the message must be one line, without line breaks");
        return PlayAndConfirm<pv::frmCustomizeErrorMessage>(
            ctx, Answer(answers->first, answers->second), "frmCustomizeErrorMessage",
            [](pv::frmOptions& o) -> forms::CommandButton& { return o.cmdCustomizeErrorMessage; },
            [&](pv::frmCustomizeErrorMessage& dialog) {
                if (*restore)
                    dialog.cmdRestoreDefault.Press();
                else
                    dialog.txtErrorMsg.TypeText(typed);
            },
            "procvault options error-message: the error message was not changed");
    });
}

std::string HeaderLines(const pv::frmCommentStubs& d) {
    if (!d.optShowCommentStubs.Value()) return "off";
    std::string lines;
    auto add = [&](const forms::CheckBox& check, const std::string& text) {
        if (check.Value() == 1) lines += (lines.empty() ? "" : ", ") + text;
    };
    add(d.chkProcedureName, "Procedure Name");
    add(d.chkCreatedBy, "Created By: " + vbrt::Cp1252ToUtf8(d.txtCreatedByName.Text()));
    add(d.chkDateCreated, "Date Created");
    add(d.chkPurpose, "Purpose");
    add(d.chkParameters, "Parameters");
    add(d.chkOutput, "Output");
    return "on (" + lines + ")";
}

}  // namespace

void PrintHeaderAndMessage(pv::frmOptions& options, ConsoleUi& ui, std::FILE* out) {
    ui.OnShow("frmCommentStubs", [out](forms::Form& form) {
        auto& dialog = static_cast<pv::frmCommentStubs&>(form);
        std::fprintf(out, "CommentStubs: %s\n", HeaderLines(dialog).c_str());
        dialog.cmdCancel.Press();
    });
    ui.OnShow("frmCustomizeErrorMessage", [out](forms::Form& form) {
        auto& dialog = static_cast<pv::frmCustomizeErrorMessage&>(form);
        std::fprintf(out, "ErrorMessage: %s\n", vbrt::Cp1252ToUtf8(dialog.txtErrorMsg.Text()).c_str());
        dialog.cmdCancel.Press();
    });
    options.ctlTab.SetTab(0);
    options.cmdCommentStubs.Press();
    options.cmdCustomizeErrorMessage.Press();
}

void AddOptionsDialogCommands(CLI::App& options, Context& ctx) {
    AddCommentStubsCommand(options, ctx);
    AddErrorMessageCommand(options, ctx);
}

}  // namespace pvcli
