// procvault library store, remove and move: the organizer's Add, Remove and
// Category buttons, pressed as a user would once the Options dialog let it open.
#include <memory>
#include <optional>
#include <vector>

#include "cli/Command.h"
#include "cli/LibraryRun.h"
#include "cli/Session.h"
#include "library/frmAddProcedure.h"
#include "library/frmChangeCategory.h"
#include "library/frmOrganizeProcedures.h"
#include "vbrt/Text.h"

namespace pvcli {
namespace {

struct StoreRequest {
    std::string file;
    std::vector<std::string> names;
    std::string category;
    std::optional<std::string> project;
};

struct KeysRequest {
    std::vector<long> ids;
    std::string category;
    bool yes = false;
};

// What the scripted user met; the reasons become messages once the dialogs closed.
struct Outcome {
    bool done = false;
    bool unknownCategory = false;
    std::optional<long> unknownKey;
    std::optional<std::string> unknownName;
};

bool Choose(forms::ComboBox& combo, const std::string& utf8) {
    const int index = IndexOfText(combo, vbrt::Utf8ToCp1252(utf8));
    if (index >= 0) combo.ChooseItem(index);
    return index >= 0;
}

void Select(forms::ListBox& list, int index) {
    if (!list.Selected(index)) list.ClickItem(index);
}

void Check(const Outcome& outcome, const std::string& category, const std::string& file) {
    if (outcome.unknownCategory) throw BadInput("no category '" + category + "'");
    if (outcome.unknownKey)
        throw BadInput("no stored procedure with key " + std::to_string(*outcome.unknownKey));
    if (outcome.unknownName) throw BadInput(file + " has no procedure " + *outcome.unknownName + " to store");
}

// "(All)" and every kind, then exactly the entries keyed `ids`; false when one is not listed.
bool SelectKeys(pv::frmOrganizeProcedures& dialog, const std::vector<long>& ids, Outcome& outcome) {
    Choose(dialog.cboCategory, "(All)");
    dialog.optShowAll.Press();
    forms::ListBox& list = dialog.lstAvailableProcedures;
    for (int i = 0; i < list.ListCount(); ++i) list.SetSelected(i, false);
    for (long id : ids) {
        const int index = IndexOfKey(list, id);
        if (index < 0) {
            outcome.unknownKey = id;
            return false;
        }
        Select(list, index);
    }
    return true;
}

void PickProcedures(pv::frmAddProcedure& dialog, const StoreRequest& request, Outcome& outcome) {
    dialog.cmdDeselectAll.Press();
    for (const auto& name : request.names) {
        // The dialog lists "Sub Name" / "Function Name"; the name alone is enough.
        const std::string text = vbrt::Utf8ToCp1252(name);
        int index = IndexOfText(dialog.lstProcedures, text);
        if (index < 0) index = IndexOfText(dialog.lstProcedures, "Sub " + text);
        if (index < 0) index = IndexOfText(dialog.lstProcedures, "Function " + text);
        if (index < 0) {
            outcome.unknownName = name;
            return;
        }
        Select(dialog.lstProcedures, index);
    }
}

void PlayAdd(pv::frmAddProcedure& dialog, const std::string& module, const StoreRequest& request,
             Outcome& outcome) {
    if (!Choose(dialog.cboModule, vbrt::Cp1252ToUtf8(module))) return;
    outcome.unknownCategory = !Choose(dialog.cboCategory, request.category);
    if (outcome.unknownCategory) return;
    PickProcedures(dialog, request, outcome);
    if (outcome.unknownName) return;
    dialog.cmdOK.Press();
    outcome.done = !dialog.IsShown();
}

int Store(const StoreRequest& request, Context& ctx) {
    LibraryRun run(ctx);
    Session session(run.Ui(), ctx.store);
    const std::string module = session.OpenModule(request.file, request.project).Name();
    session.ConnectAddIn();
    Outcome outcome;
    run.Ui().OnShow("frmAddProcedure", [&](forms::Form& form) {
        PlayAdd(static_cast<pv::frmAddProcedure&>(form), module, request, outcome);
    });
    run.InOrganizer([&](pv::frmOrganizeProcedures& dialog) {
        outcome.unknownCategory = !Choose(dialog.cboCategory, request.category);
        if (!outcome.unknownCategory) dialog.cmdAdd.Press();
    });
    Check(outcome, request.category, request.file);
    return run.ExitCode(outcome.done);
}

int Remove(const KeysRequest& request, Context& ctx) {
    LibraryRun run(ctx, request.yes ? std::optional<bool>(true) : std::nullopt);
    Outcome outcome;
    run.InOrganizer([&](pv::frmOrganizeProcedures& dialog) {
        if (!SelectKeys(dialog, request.ids, outcome)) return;
        dialog.cmdRemove.Press();
        outcome.done = true;
        for (long id : request.ids)
            if (IndexOfKey(dialog.lstAvailableProcedures, id) >= 0) outcome.done = false;
    });
    Check(outcome, request.category, "");
    return run.ExitCode(outcome.done);
}

int Move(const KeysRequest& request, Context& ctx) {
    LibraryRun run(ctx);
    Outcome outcome;
    run.Ui().OnShow("frmChangeCategory", [&](forms::Form& form) {
        auto& dialog = static_cast<pv::frmChangeCategory&>(form);
        outcome.unknownCategory = !Choose(dialog.cboNewCategory, request.category);
        if (outcome.unknownCategory) return;
        dialog.cmdOK.Press();
        outcome.done = !dialog.IsShown();
    });
    run.InOrganizer([&](pv::frmOrganizeProcedures& dialog) {
        if (SelectKeys(dialog, request.ids, outcome)) dialog.cmdEditCategory.Press();
    });
    Check(outcome, request.category, "");
    return run.ExitCode(outcome.done);
}

void AddStoreCommand(CLI::App& library, Context& ctx) {
    auto request = std::make_shared<StoreRequest>();
    CLI::App& command = AddCommand(library, "store",
                                   "Store procedures of a module in the library\n"
                                   "Stores the named Subs and Functions of FILE under a category, through\n"
                                   "the organizer's Add dialog. The module itself is not changed.");
    command.add_option("FILE", request->file, "the module file, or with --project its name")
        ->required()
        ->type_name("");
    command
        .add_option("NAME", request->names,
                    "the entries as the dialog lists them, e.g. \"Function GetValue\"")
        ->required();
    command.add_option("--category", request->category, "the category to store them under")
        ->required()
        ->type_name("C");
    AddOptional(command, "--project", request->project, "FILE is a module of this project")
        ->type_name("P.vbp");
    OnRun(command, ctx, "; nothing was stored", [request, &ctx] { return Store(*request, ctx); });
}

void AddRemoveCommand(CLI::App& library, Context& ctx) {
    auto request = std::make_shared<KeysRequest>();
    CLI::App& command = AddCommand(library, "remove",
                                   "Remove stored procedures\n"
                                   "Deletes the procedures with the given keys and their lines from the\n"
                                   "library, after the organizer's question.");
    command.add_option("ID", request->ids, "the keys, as 'procvault library list' prints them")->required();
    command.add_flag("--yes", request->yes, "answer Yes to \"Are you sure ...?\"");
    OnRun(command, ctx, "; nothing was removed", [request, &ctx] { return Remove(*request, ctx); });
}

void AddMoveCommand(CLI::App& library, Context& ctx) {
    auto request = std::make_shared<KeysRequest>();
    CLI::App& command = AddCommand(library, "move",
                                   "Move stored procedures to another category\n"
                                   "Gives the procedures with the given keys the category C, through the\n"
                                   "organizer's Change Category dialog.");
    command.add_option("ID", request->ids, "the keys, as 'procvault library list' prints them")->required();
    command.add_option("--category", request->category, "the new category")->required()->type_name("C");
    OnRun(command, ctx, "; nothing was moved", [request, &ctx] { return Move(*request, ctx); });
}

}  // namespace

void AddLibraryEditCommands(CLI::App& library, Context& ctx) {
    AddStoreCommand(library, ctx);
    AddRemoveCommand(library, ctx);
    AddMoveCommand(library, ctx);
}

}  // namespace pvcli
