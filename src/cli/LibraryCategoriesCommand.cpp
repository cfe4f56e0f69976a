// procvault library categories: the category editor's list and its Add, Edit
// and Remove buttons, played as a user would once the Options dialog let it open.
#include <memory>
#include <optional>

#include "cli/Command.h"
#include "cli/LibraryRun.h"
#include "library/frmEditCategories.h"
#include "library/frmInput.h"
#include "vbrt/Text.h"

namespace pvcli {
namespace {

enum class Action { Add, Rename, Remove };

struct Request {
    Action action = Action::Add;
    std::string text;     // the category added, renamed or removed
    std::string newText;  // rename's new description
    bool yes = false;
    bool json = false;
};

void Print(std::FILE* out, const forms::ListBox& list, bool json) {
    nlohmann::ordered_json document = nlohmann::ordered_json::array();
    for (int i = 0; i < list.ListCount(); ++i) {
        const std::string text = vbrt::Cp1252ToUtf8(list.List(i));
        if (json)
            document.push_back({{"id", list.ItemData(i)}, {"category", text}});
        else
            std::fprintf(out, "%ld\t%s\n", list.ItemData(i), text.c_str());
    }
    if (json) PrintJson(out, document);
}

int List(bool json, Context& ctx) {
    LibraryRun run(ctx, LibraryRun::ReadingOnly{});
    bool listed = false;
    run.InCategories([&](pv::frmEditCategories& dialog) {
        listed = dialog.cmdAdd.Enabled();
        if (listed) Print(ctx.io.out, dialog.lstCategories, json);
    });
    return run.ExitCode(listed);
}

// The user's answer in the input dialog the editor opens: `text`, then OK.
void AnswerInput(LibraryRun& run, const std::string& text) {
    run.Ui().OnShow("frmInput", [text](forms::Form& form) {
        auto& input = static_cast<pv::frmInput&>(form);
        input.txtInput.TypeText(text);
        input.cmdOK.Press();
    });
}

// Presses the request's button; false when the category to act on is not listed.
bool Play(pv::frmEditCategories& dialog, const Request& request) {
    if (request.action == Action::Add) {
        dialog.cmdAdd.Press();
        return true;
    }
    const int index = IndexOfText(dialog.lstCategories, vbrt::Utf8ToCp1252(request.text));
    if (index < 0) return false;
    dialog.lstCategories.ClickItem(index);
    (request.action == Action::Rename ? dialog.cmdEdit : dialog.cmdRemove).Press();
    return true;
}

// Done is judged by the list the editor shows afterwards.
bool Done(const forms::ListBox& list, const Request& request) {
    const bool hasOld = IndexOfText(list, vbrt::Utf8ToCp1252(request.text)) >= 0;
    switch (request.action) {
        case Action::Add:
            return hasOld;
        case Action::Rename:
            return !hasOld && IndexOfText(list, vbrt::Utf8ToCp1252(request.newText)) >= 0;
        case Action::Remove:
            return !hasOld;
    }
    return false;
}

// The input dialog's text box takes 50 characters; typing more would silently store a shorter name.
constexpr std::size_t kMaxDescription = 50;

void CheckLength(const std::string& text) {
    const std::size_t length = vbrt::Utf8ToCp1252(text).size();
    if (length > kMaxDescription)
        throw BadInput("a category's description holds at most " + std::to_string(kMaxDescription) +
                       " characters; '" + text + "' has " + std::to_string(length));
}

int Act(const Request& request, Context& ctx) {
    if (request.action != Action::Remove)
        CheckLength(request.action == Action::Rename ? request.newText : request.text);
    LibraryRun run(ctx, request.yes ? std::optional<bool>(true) : std::nullopt);
    AnswerInput(run, vbrt::Utf8ToCp1252(request.action == Action::Rename ? request.newText : request.text));
    bool known = true;
    bool done = false;
    run.InCategories([&](pv::frmEditCategories& dialog) {
        known = Play(dialog, request);
        done = known && Done(dialog.lstCategories, request);
    });
    if (!known) throw BadInput("no category '" + request.text + "' (see 'procvault library categories')");
    return run.ExitCode(done);
}

void AddAction(CLI::App& categories, Context& ctx, Action action, const char* name, const char* description) {
    auto request = std::make_shared<Request>();
    request->action = action;
    CLI::App& command = AddCommand(categories, name, description);
    command
        .add_option(action == Action::Rename ? "OLD" : "TEXT", request->text, "the category's description")
        ->required()
        ->type_name("");
    if (action == Action::Rename)
        command.add_option("NEW", request->newText, "its new description")->required()->type_name("");
    if (action == Action::Remove)
        command.add_flag("--yes", request->yes, "answer Yes when asked to confirm the removal");
    OnRun(command, ctx, "; nothing was changed", [request, &ctx] { return Act(*request, ctx); });
}

void AddListCommand(CLI::App& categories, Context& ctx, const std::shared_ptr<bool>& json) {
    CLI::App& command = AddCommand(categories, "list",
                                   "List the categories\n"
                                   "Lists the library's categories as the category editor shows them,\n"
                                   "one per line: the key, a tab, then the description.");
    command.add_flag("--json", *json, "print a JSON array of {\"id\", \"category\"}");
    OnRun(command, ctx, "", [json, &ctx] { return List(*json, ctx); });
}

}  // namespace

void AddLibraryCategoriesCommand(CLI::App& library, Context& ctx) {
    CLI::App& categories = AddCommand(library, "categories",
                                      "List, add, rename or remove categories\n"
                                      "Works in the category editor of the Options dialog; without a\n"
                                      "command it lists the categories.");
    auto json = std::make_shared<bool>(false);
    AddListCommand(categories, ctx, json);
    AddAction(categories, ctx, Action::Add, "add", "Add a category");
    AddAction(categories, ctx, Action::Rename, "rename",
              "Rename a category\nGives the category OLD the description NEW.");
    AddAction(categories, ctx, Action::Remove, "remove",
              "Remove a category\nRemoves a category no procedure belongs to; the last one cannot go.");
    // Bare "library categories" lists; after a sub-command this callback leaves its exit code be.
    OnRun(categories, ctx, "", [&categories, &ctx] {
        return categories.get_subcommands().empty() ? List(false, ctx) : ctx.exitCode;
    });
}

}  // namespace pvcli
