#include "cli/Cli.h"

#include <functional>
#include <map>

namespace pvcli {
namespace {

constexpr const char* kUsage =
    "usage: procvault <command> [options]\n"
    "\n"
    "Procvault works on Visual Basic 6 modules (.bas, .cls, .frm...) and projects (.vbp)\n"
    "through the same add-in commands as Procvault Studio's menus.\n"
    "\n"
    "commands:\n"
    "  comment FILE --lines A-B     comment out lines A to B (Co&mment Selection)\n"
    "  uncomment FILE --lines A-B   remove the comment prefix (&Uncomment Selection)\n"
    "  scan FILE... | --project P   list the procedures without error handling\n"
    "  add-handlers FILE (--proc ENTRY... | --all)\n"
    "                               add the error-handling block to those procedures\n"
    "  new FILE NAME                append a new procedure (Sub, Function or Property)\n"
    "  library init PATH            create an empty procedure library\n"
    "\n"
    "Run 'procvault <command> --help' for a command's options.\n"
    "Preferences (comment prefix, alignment...) come from $XDG_CONFIG_HOME/Procvault/Procvault.ini.\n"
    "Exit status: 0 done, 1 the command ran but did not do its work, 2 bad input.\n";

}  // namespace

int Run(const std::vector<std::string>& args, vbrt::SettingsStore& store, Streams io) {
    if (args.empty()) {
        std::fputs(kUsage, io.err);
        return kExitBadInput;
    }
    const std::string& command = args.front();
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    if (command == "--help" || command == "-h" || command == "help") {
        std::fputs(kUsage, io.out);
        return kExitOk;
    }
    using Handler = std::function<int()>;
    const std::map<std::string, Handler> commands = {
        {"comment", [&] { return RunCommentCommand(rest, false, store, io); }},
        {"uncomment", [&] { return RunCommentCommand(rest, true, store, io); }},
        {"scan", [&] { return RunScanCommand(rest, store, io); }},
        {"add-handlers", [&] { return RunAddHandlersCommand(rest, store, io); }},
        {"new", [&] { return RunNewCommand(rest, store, io); }},
        {"library", [&] { return RunLibraryCommand(rest, io); }},
    };
    auto it = commands.find(command);
    if (it == commands.end()) {
        std::fprintf(io.err, "procvault: unknown command '%s'\n\n%s", command.c_str(), kUsage);
        return kExitBadInput;
    }
    return it->second();
}

}  // namespace pvcli
