#pragma once
// The organizer's entries as the library commands print them: the key, a tab,
// then the entry ("Function GetValue"), or as JSON objects {"id", "entry"}, so
// that what one command prints another takes.
#include <cstdio>
#include <nlohmann/json.hpp>
#include <string>
#include <utility>
#include <vector>

#include "cli/Command.h"
#include "forms/Controls.h"

namespace pvcli {

using Entries = std::vector<std::pair<long, std::string>>;

// Every entry of the organizer's list with its item data, in list order.
Entries ReadEntries(const forms::ListBox& list);
void PrintEntry(std::FILE* out, long key, const std::string& entry);
nlohmann::ordered_json EntryJson(long key, const std::string& entry);

// procvault library search, in LibrarySearchCommand.cpp.
void AddLibrarySearchCommand(CLI::App& library, Context& ctx);

}  // namespace pvcli
