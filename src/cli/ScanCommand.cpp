// procvault scan: the procedures the Existing Procedures tab would offer, per
// module, listed by the dialog's own list building without showing it.
#include <memory>

#include "cli/Command.h"
#include "cli/Session.h"
#include "codetools/frmProcvault.h"
#include "vbrt/Text.h"
#include "vbrt/VbError.h"

namespace pvcli {
namespace {

constexpr const char* kScanFooter =
    "An entry is a procedure's name, or \"Get \", \"Let \" or \"Set \" and a property's name;\n"
    "its line is the declaration's line as the code window counts it.";

struct ScanRequest {
    std::vector<std::string> names;  // files, or with a project its modules
    std::optional<std::string> project;
    bool json = false;
};

struct Entry {
    std::string name;
    long line = 0;
};

struct ModuleList {
    std::string module;
    std::string file;
    std::vector<Entry> entries;
};

ModuleList ListModule(host::VBComponent& component, pv::Env env) {
    component.Activate();
    pv::frmProcvault dialog(env);
    dialog.BuildProcedureList();
    ModuleList list{component.Name(), component.FilePath().string(), {}};
    for (int i = 0; i < dialog.lstProcedures.ListCount(); ++i)
        list.entries.push_back({dialog.lstProcedures.List(i), dialog.lstProcedures.ItemData(i)});
    return list;
}

nlohmann::ordered_json ToJson(const ModuleList& list) {
    auto entries = nlohmann::ordered_json::array();
    for (const Entry& entry : list.entries)
        entries.push_back({{"name", vbrt::Cp1252ToUtf8(entry.name)}, {"line", entry.line}});
    return {
        {"module", vbrt::Cp1252ToUtf8(list.module)}, {"file", list.file}, {"entries", std::move(entries)}};
}

void PrintJsonListing(const std::vector<ModuleList>& lists, std::FILE* out) {
    auto document = nlohmann::ordered_json::array();
    for (const ModuleList& list : lists) document.push_back(ToJson(list));
    PrintJson(out, document);
}

void PrintText(const std::vector<ModuleList>& lists, std::FILE* out) {
    for (const ModuleList& list : lists) {
        std::fprintf(out, "%s:\n", std::filesystem::path(list.file).filename().string().c_str());
        for (const Entry& entry : list.entries)
            std::fprintf(out, "  %s (line %ld)\n", vbrt::Cp1252ToUtf8(entry.name).c_str(), entry.line);
    }
}

std::vector<host::VBComponent*> ProjectModules(host::VBProject& project,
                                               const std::vector<std::string>& names) {
    std::vector<host::VBComponent*> modules;
    if (names.empty()) {
        for (auto& component : project.VBComponents())
            if (component->HasCodeModule()) modules.push_back(component.get());
        return modules;
    }
    for (const auto& name : names) {
        host::VBComponent* component = FindModule(project, name);
        if (!component || !component->HasCodeModule())
            vbrt::Raise(vbrt::err::FileNotFound, "the project has no module " + name);
        modules.push_back(component);
    }
    return modules;
}

int Scan(const ScanRequest& request, Context& ctx) {
    if (request.names.empty() && !request.project) throw CLI::RequiredError("FILE... or --project P.vbp");
    ConsoleUi ui(ctx.io.err, ctx.io.in);
    Session session(ui, ctx.store);
    session.ConnectAddIn();
    const pv::Env env{ui, ctx.store};
    std::vector<ModuleList> lists;
    if (request.project) {
        host::VBProject& opened = session.Vbe().OpenProject(*request.project);
        for (host::VBComponent* component : ProjectModules(opened, request.names))
            lists.push_back(ListModule(*component, env));
    } else {
        for (const auto& file : request.names) lists.push_back(ListModule(session.OpenModule(file, {}), env));
    }
    if (ui.Problems() > 0) return kExitNotDone;
    if (request.json)
        PrintJsonListing(lists, ctx.io.out);
    else
        PrintText(lists, ctx.io.out);
    return kExitOk;
}

}  // namespace

void AddScanCommand(CLI::App& app, Context& ctx) {
    auto request = std::make_shared<ScanRequest>();
    CLI::App& command =
        AddCommand(app, "scan",
                   "List the procedures without error handling\n"
                   "Lists, per module, the procedures that the Existing Procedures tab of the\n"
                   "Procvault dialog offers: those without error handling. Changes no file.");
    command.add_option("FILE", request->names, "module files; with --project, the project's modules to scan")
        ->type_name("");
    AddOptional(command, "--project", request->project,
                "scan the modules of this project (all, or those named)")
        ->type_name("P.vbp");
    command.add_flag("--json", request->json,
                     "print JSON: [{\"module\": ..., \"file\": ..., \"entries\":\n"
                     "[{\"name\": ..., \"line\": ...}]}]");
    command.footer(kScanFooter);
    OnRun(command, ctx, "", [request, &ctx] { return Scan(*request, ctx); });
}

}  // namespace pvcli
