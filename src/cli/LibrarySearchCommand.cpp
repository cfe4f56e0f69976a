// procvault library search: stored procedures by the words of their names and
// lines, printed as the organizer lists them so that show and insert take the keys.
#include <map>
#include <memory>
#include <optional>

#include "cli/LibraryEntries.h"
#include "cli/LibraryRun.h"
#include "library/LibrarySearch.h"
#include "library/basConnect.h"
#include "library/frmOrganizeProcedures.h"
#include "vbrt/Text.h"

namespace pvcli {
namespace {

struct SearchRequest {
    std::vector<std::string> text;
    bool json = false;
};

// A hit with its entry as the organizer lists it.
struct Found {
    long key;
    std::string entry;
    long lines;
};

// In the search's order; a hit the organizer does not list (a header without a name) is left out.
std::vector<Found> WithEntries(const std::vector<pv::SearchHit>& hits, const Entries& listed) {
    std::map<long, const std::string*> entryOf;
    for (const auto& [key, entry] : listed) entryOf.emplace(key, &entry);
    std::vector<Found> found;
    for (const pv::SearchHit& hit : hits)
        if (auto it = entryOf.find(hit.key); it != entryOf.end())
            found.push_back({hit.key, *it->second, hit.lines});
    return found;
}

// The organizer opens on its first category, which need not be "(All)" ("!Old" sorts before it).
Entries EveryEntry(pv::frmOrganizeProcedures& dialog) {
    const int all = IndexOfText(dialog.cboCategory, "(All)");
    if (all >= 0) dialog.cboCategory.ChooseItem(all);  // none when the library could not be read
    dialog.optShowAll.Press();
    return ReadEntries(dialog.lstAvailableProcedures);
}

void Print(std::FILE* out, const std::vector<Found>& found, bool json) {
    if (!json) {
        for (const Found& hit : found) PrintEntry(out, hit.key, hit.entry);
        return;
    }
    nlohmann::ordered_json document = nlohmann::ordered_json::array();
    for (const Found& hit : found) {
        nlohmann::ordered_json entry = EntryJson(hit.key, hit.entry);
        entry["lines"] = hit.lines;
        document.push_back(std::move(entry));
    }
    PrintJson(out, document);
}

int Search(const SearchRequest& request, Context& ctx) {
    const std::string shown = CLI::detail::join(request.text, " ");
    const std::string text = vbrt::Utf8ToCp1252(shown);
    if (pv::SearchWords(text).empty())
        throw BadInput("no letters or digits to search for in '" + shown + "'");
    LibraryRun run(ctx, LibraryRun::ReadingOnly{});
    std::optional<Entries> listed;
    run.InOrganizer([&](pv::frmOrganizeProcedures& dialog) { listed = EveryEntry(dialog); });
    pv::Env env = run.Env();
    std::unique_ptr<dao::Database> db;
    if (!listed || !pv::OpenProcvaultDB(env, db)) return run.ExitCode(false);
    const std::vector<Found> found = WithEntries(pv::SearchLibrary(*db, text, 0), *listed);
    db->Close();
    if (found.empty()) {
        std::fprintf(ctx.io.err, "procvault library search: no stored procedure matches '%s'\n",
                     shown.c_str());
        return kExitNotDone;
    }
    Print(ctx.io.out, found, request.json);
    return run.ExitCode(true);
}

}  // namespace

void AddLibrarySearchCommand(CLI::App& library, Context& ctx) {
    auto request = std::make_shared<SearchRequest>();
    CLI::App& command = AddCommand(library, "search",
                                   "Find stored procedures by words\n"
                                   "Lists the procedures whose name or stored lines hold every word of TEXT\n"
                                   "(\"GetVal\" finds GetValue), as 'procvault library list' does: names\n"
                                   "holding every word first, then those with the most matching lines.");
    command.add_option("TEXT", request->text, "the words to look for")->required();
    command.add_flag("--json", request->json, "print a JSON array of {\"id\", \"entry\", \"lines\"}");
    OnRun(command, ctx, "", [request, &ctx] { return Search(*request, ctx); });
}

}  // namespace pvcli
