// procvault library list and show (and search, in its own file): the organizer's
// list and the preview window, read as a user would read them once the Options
// dialog let the organizer open.
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "cli/Command.h"
#include "cli/LibraryEntries.h"
#include "cli/LibraryRun.h"
#include "library/frmOrganizeProcedures.h"
#include "library/frmPreview.h"
#include "vbrt/Text.h"

namespace pvcli {
namespace {

constexpr const char* kAll = "(All)";

struct ListRequest {
    std::string category = kAll;
    std::string kind = "all";
    bool json = false;
};

forms::OptionButton& KindButton(pv::frmOrganizeProcedures& dialog, const std::string& kind) {
    if (kind == "functions") return dialog.optShowFunctions;
    return kind == "subs" ? dialog.optShowSubs : dialog.optShowAll;
}

// Chooses the category by its text and presses the kind's button; false when no entry has that text.
bool Filter(pv::frmOrganizeProcedures& dialog, const std::string& category, const std::string& kind) {
    const int index = IndexOfText(dialog.cboCategory, vbrt::Utf8ToCp1252(category));
    if (index < 0) return false;
    dialog.cboCategory.ChooseItem(index);
    KindButton(dialog, kind).Press();
    return true;
}

void Print(std::FILE* out, const Entries& entries, bool json) {
    if (!json) {
        for (const auto& [key, entry] : entries) PrintEntry(out, key, entry);
        return;
    }
    nlohmann::ordered_json document = nlohmann::ordered_json::array();
    for (const auto& [key, entry] : entries) document.push_back(EntryJson(key, entry));
    PrintJson(out, document);
}

int List(const ListRequest& request, Context& ctx) {
    LibraryRun run(ctx, LibraryRun::ReadingOnly{});
    std::optional<Entries> entries;
    bool known = true;
    run.InOrganizer([&](pv::frmOrganizeProcedures& dialog) {
        known = Filter(dialog, request.category, request.kind);
        if (known) entries = ReadEntries(dialog.lstAvailableProcedures);
    });
    if (!known) throw BadInput("no category '" + request.category + "' (see 'procvault library list')");
    if (entries) Print(ctx.io.out, *entries, request.json);
    return run.ExitCode(entries.has_value());
}

// The terminal's line ends, not the module's.
std::string ForTerminal(const std::string& text) {
    std::string out = vbrt::Cp1252ToUtf8(text);
    for (auto at = out.find("\r\n"); at != std::string::npos; at = out.find("\r\n", at)) out.erase(at, 1);
    return out;
}

// The first of `ids` the "(All)" list does not hold as item data, if any.
std::optional<long> FirstUnknown(pv::frmOrganizeProcedures& dialog, const std::vector<long>& ids) {
    Filter(dialog, kAll, "all");
    for (long id : ids)
        if (IndexOfKey(dialog.lstAvailableProcedures, id) < 0) return id;
    return std::nullopt;
}

int Show(const std::vector<long>& ids, Context& ctx) {
    LibraryRun run(ctx, LibraryRun::ReadingOnly{});
    std::optional<std::string> text;
    std::optional<long> unknown;
    run.Ui().OnShow("frmPreview",
                    [&](forms::Form& form) { text = static_cast<pv::frmPreview&>(form).txtPreview.Text(); });
    run.InOrganizer([&](pv::frmOrganizeProcedures& dialog) {
        unknown = FirstUnknown(dialog, ids);
        if (!unknown) pv::frmPreview(run.Env()).Preview(ids);
    });
    if (unknown) throw BadInput("no stored procedure with key " + std::to_string(*unknown));
    if (text) std::fprintf(ctx.io.out, "%s", ForTerminal(*text).c_str());
    if (text && !text->empty() && text->back() != '\n') std::fputc('\n', ctx.io.out);
    return run.ExitCode(text.has_value() && !text->empty());
}

void AddListCommand(CLI::App& library, Context& ctx) {
    auto request = std::make_shared<ListRequest>();
    CLI::App& command = AddCommand(library, "list",
                                   "List the stored procedures\n"
                                   "Lists the procedures of the library as the organizer shows them, one\n"
                                   "per line: the key, a tab, then the entry (\"Function GetValue\").");
    command.add_option("--category", request->category, "only this category (default \"(All)\")")
        ->type_name("C");
    command.add_option("--kind", request->kind, "all, functions or subs (default all)")
        ->check(CLI::IsMember({"all", "functions", "subs"}))
        ->type_name("KIND");
    command.add_flag("--json", request->json, "print a JSON array of {\"id\", \"entry\"}");
    OnRun(command, ctx, "", [request, &ctx] { return List(*request, ctx); });
}

void AddShowCommand(CLI::App& library, Context& ctx) {
    auto ids = std::make_shared<std::vector<long>>();
    CLI::App& command = AddCommand(library, "show",
                                   "Print the stored lines of procedures\n"
                                   "Prints the lines of the procedures with the given keys, in the order\n"
                                   "they were stored, as the preview window shows them.");
    command.add_option("ID", *ids, "the keys, as 'procvault library list' prints them")->required();
    OnRun(command, ctx, "", [ids, &ctx] { return Show(*ids, ctx); });
}

}  // namespace

Entries ReadEntries(const forms::ListBox& list) {
    Entries entries;
    for (int i = 0; i < list.ListCount(); ++i) entries.emplace_back(list.ItemData(i), list.List(i));
    return entries;
}

void PrintEntry(std::FILE* out, long key, const std::string& entry) {
    std::fprintf(out, "%ld\t%s\n", key, vbrt::Cp1252ToUtf8(entry).c_str());
}

nlohmann::ordered_json EntryJson(long key, const std::string& entry) {
    return {{"id", key}, {"entry", vbrt::Cp1252ToUtf8(entry)}};
}

void AddLibraryBrowseCommands(CLI::App& library, Context& ctx) {
    AddListCommand(library, ctx);
    AddShowCommand(library, ctx);
    AddLibrarySearchCommand(library, ctx);
}

}  // namespace pvcli
