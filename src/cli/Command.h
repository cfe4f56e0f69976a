#pragma once
// What every procvault command shares: its place on the one CLI::App, the store
// and streams it runs with, and the one way its failures are reported. A command
// file registers its command with an Add...Command(parent, ctx) function, which
// declares the arguments and sets the action with OnRun.
#include <CLI/CLI.hpp>
#include <functional>
#include <nlohmann/json.hpp>
#include <optional>
#include <stdexcept>
#include <string>

#include "cli/Cli.h"

namespace pv {
class frmOptions;
}

namespace pvcli {

class ConsoleUi;

// One run of the command line; the action that ran leaves its exit code here.
struct Context {
    vbrt::SettingsStore& store;
    Streams io;
    int exitCode = kExitOk;
};

// Input that turns out wrong only once the module is open (lines it does not have).
class BadInput : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A command of `parent`, listed under "Commands" in its help.
CLI::App& AddCommand(CLI::App& parent, const std::string& name, const std::string& description);
// A command that only groups others ("library init"): one of them must be given.
CLI::App& AddCommandGroup(CLI::App& parent, const std::string& name, const std::string& description);
// An option whose value stays unset unless the option is given.
CLI::Option* AddOptional(CLI::App& command, const std::string& name, std::optional<std::string>& value,
                         const std::string& description);
// "procvault library init" for the init command.
std::string CommandPath(const CLI::App& command);

// Sets `command`'s action. A VbError or BadInput from `action` is reported as
// "procvault NAME: ..." followed by `unchanged` (e.g. "; nothing was changed"), exit 2.
void OnRun(CLI::App& command, Context& ctx, std::string unchanged, std::function<int()> action);

// Prints `document` indented, one line per value. Texts must already be UTF-8
// (vbrt::Cp1252ToUtf8 for module text); a stray invalid byte, as in a file name,
// comes out as U+FFFD instead of ending the output.
void PrintJson(std::FILE* out, const nlohmann::ordered_json& document);

// The commands, each in its own file.
void AddCommentCommands(CLI::App& app, Context& ctx);  // comment and uncomment
void AddScanCommand(CLI::App& app, Context& ctx);
void AddAddHandlersCommand(CLI::App& app, Context& ctx);
void AddNewCommand(CLI::App& app, Context& ctx);
void AddLibraryCommands(CLI::App& app, Context& ctx);  // library and its commands
void AddLibraryInitCommand(CLI::App& library, Context& ctx);
void AddLibraryBrowseCommands(CLI::App& library, Context& ctx);  // list, show and search
void AddLibraryEditCommands(CLI::App& library, Context& ctx);    // store, remove and move
void AddLibraryInsertCommand(CLI::App& library, Context& ctx);
void AddLibraryCategoriesCommand(CLI::App& library, Context& ctx);
void AddLibraryCompactCommand(CLI::App& library, Context& ctx);
void AddLibraryCopyCommand(CLI::App& library, Context& ctx);
void AddOptionsCommands(CLI::App& app, Context& ctx);            // options and its commands
void AddOptionsDialogCommands(CLI::App& options, Context& ctx);  // comment-stubs, error-message
// Prints the comment header and the error message as their dialogs, opened from `options`, show them.
void PrintHeaderAndMessage(pv::frmOptions& options, ConsoleUi& ui, std::FILE* out);

}  // namespace pvcli
