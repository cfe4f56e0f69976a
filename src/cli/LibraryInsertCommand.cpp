// procvault library insert: the Procvault dialog's library tab, played as a
// user would: pick the stored procedures by key, OK, and save the module.
#include <memory>
#include <optional>
#include <vector>

#include "cli/Command.h"
#include "cli/LibraryRun.h"
#include "cli/Session.h"
#include "codetools/frmProcvault.h"

namespace pvcli {
namespace {

constexpr int kLibraryTab = 2;

struct Request {
    std::string file;
    std::vector<long> ids;
    std::optional<std::string> project;
};

struct Outcome {
    bool opened = false;
    bool done = false;
    std::optional<long> unknownKey;
};

// Every category and kind, then exactly the entries keyed `ids`; false when one is not listed.
bool SelectKeys(pv::frmProcvault& dialog, const std::vector<long>& ids, Outcome& outcome) {
    const int all = IndexOfText(dialog.cboCategory, "(All)");
    if (all >= 0) dialog.cboCategory.ChooseItem(all);
    dialog.optShowAll.Press();
    forms::ListBox& list = dialog.lstAvailableProcedures;
    for (int i = 0; i < list.ListCount(); ++i) list.SetSelected(i, false);
    for (long id : ids) {
        const int index = IndexOfKey(list, id);
        if (index < 0) {
            outcome.unknownKey = id;
            return false;
        }
        if (!list.Selected(index)) list.ClickItem(index);
    }
    return true;
}

void Play(pv::frmProcvault& dialog, const Request& request, Outcome& outcome) {
    outcome.opened = true;
    dialog.ctlTab.SetTab(kLibraryTab);
    if (!SelectKeys(dialog, request.ids, outcome)) return;
    dialog.cmdOK.Press();
    outcome.done = !dialog.IsShown();
}

int Act(const Request& request, Context& ctx) {
    ConsoleUi ui(ctx.io.err, ctx.io.in);
    Session session(ui, ctx.store);
    session.OpenModule(request.file, request.project);
    session.ConnectAddIn();
    Outcome outcome;
    ui.OnShow("frmProcvault",
              [&](forms::Form& form) { Play(static_cast<pv::frmProcvault&>(form), request, outcome); });
    session.Click("Code Window", "&Procvault...");
    // A library that could not be read lists nothing: its message said why, not a missing key.
    if (ui.Problems() > 0) return kExitNotDone;
    if (outcome.unknownKey)
        throw BadInput("no stored procedure with key " + std::to_string(*outcome.unknownKey) +
                       " (see 'procvault library list')");
    if (!outcome.done) return kExitNotDone;
    session.Vbe().ActiveVBProject().SaveAll();
    const std::size_t count = request.ids.size();
    std::fprintf(ctx.io.err, "procvault: inserted %zu procedure%s\n", count, count == 1 ? "" : "s");
    return kExitOk;
}

}  // namespace

void AddLibraryInsertCommand(CLI::App& library, Context& ctx) {
    auto request = std::make_shared<Request>();
    CLI::App& command =
        AddCommand(library, "insert",
                   "Copy stored procedures into a module\n"
                   "Appends the procedures with the given keys, in the order they were stored, after\n"
                   "the module's last line through the library tab of the Procvault dialog, and saves it.");
    command.add_option("FILE", request->file, "the module file, or with --project its name")
        ->required()
        ->type_name("");
    command.add_option("ID", request->ids, "the keys, as 'procvault library list' prints them")->required();
    AddOptional(command, "--project", request->project, "FILE is a module of this project")
        ->type_name("P.vbp");
    OnRun(command, ctx, "; nothing was saved", [request, &ctx] { return Act(*request, ctx); });
}

}  // namespace pvcli
