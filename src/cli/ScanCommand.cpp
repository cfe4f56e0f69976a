// procvault scan: the procedures the Existing Procedures tab would offer, per
// module, listed by the dialog's own list building without showing it.
#include <algorithm>

#include "cli/Args.h"
#include "cli/Cli.h"
#include "cli/Session.h"
#include "codetools/frmProcvault.h"
#include "vbrt/Text.h"
#include "vbrt/VbError.h"

namespace pvcli {
namespace {

constexpr const char* kScanHelp =
    "usage: procvault scan FILE... [--json]\n"
    "       procvault scan --project P.vbp [MODULE...] [--json]\n"
    "\n"
    "Lists, per module, the procedures that the Existing Procedures tab of the Procvault\n"
    "dialog offers: those without error handling. Changes no file.\n"
    "  --project P.vbp   scan the modules of this project (all, or the MODULEs named)\n"
    "  --json            print [{\"module\": ..., \"file\": ..., \"entries\": [{\"name\": ..., \"line\": "
    "...}]}]\n"
    "An entry is a procedure's name, or \"Get \", \"Let \" or \"Set \" and a property's name;\n"
    "its line is the declaration's line as the code window counts it.\n";

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

std::string JsonString(const std::string& text) {
    std::string out = "\"";
    for (const unsigned char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20) {
            char buffer[8];
            std::snprintf(buffer, sizeof buffer, "\\u%04x", c);
            out += buffer;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

void PrintJson(const std::vector<ModuleList>& lists, std::FILE* out) {
    std::fputs("[", out);
    for (std::size_t m = 0; m < lists.size(); ++m) {
        const ModuleList& list = lists[m];
        std::fprintf(out, "%s\n  {\"module\": %s, \"file\": %s, \"entries\": [", m ? "," : "",
                     JsonString(vbrt::Cp1252ToUtf8(list.module)).c_str(), JsonString(list.file).c_str());
        for (std::size_t e = 0; e < list.entries.size(); ++e)
            std::fprintf(out, "%s{\"name\": %s, \"line\": %ld}", e ? ", " : "",
                         JsonString(vbrt::Cp1252ToUtf8(list.entries[e].name)).c_str(), list.entries[e].line);
        std::fputs("]}", out);
    }
    std::fputs(lists.empty() ? "]\n" : "\n]\n", out);
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

int Scan(const Args& args, vbrt::SettingsStore& store, Streams io) {
    ConsoleUi ui(io.err, io.in);
    Session session(ui, store);
    session.ConnectAddIn();
    const pv::Env env{ui, store};
    std::vector<ModuleList> lists;
    if (const auto project = args.Value("project")) {
        host::VBProject& opened = session.Vbe().OpenProject(*project);
        for (host::VBComponent* component : ProjectModules(opened, args.positional))
            lists.push_back(ListModule(*component, env));
    } else {
        for (const auto& file : args.positional)
            lists.push_back(ListModule(session.OpenModule(file, {}), env));
    }
    if (ui.Problems() > 0) return kExitNotDone;
    if (args.Has("json"))
        PrintJson(lists, io.out);
    else
        PrintText(lists, io.out);
    return kExitOk;
}

}  // namespace

int RunScanCommand(const std::vector<std::string>& words, vbrt::SettingsStore& store, Streams io) {
    if (std::find(words.begin(), words.end(), "--help") != words.end()) {
        std::fputs(kScanHelp, io.out);
        return kExitOk;
    }
    try {
        const Args args = ParseArgs(words, {"project"}, {"json", "help"});
        if (args.positional.empty() && !args.Value("project"))
            throw UsageError("expected FILE... or --project P.vbp");
        return Scan(args, store, io);
    } catch (const UsageError& e) {
        std::fprintf(io.err, "procvault scan: %s\n(see 'procvault scan --help')\n", e.what());
        return kExitBadInput;
    } catch (const vbrt::VbError& e) {
        std::fprintf(io.err, "procvault scan: %s (error %ld)\n", e.Description().c_str(), e.Number());
        return kExitBadInput;
    }
}

}  // namespace pvcli
