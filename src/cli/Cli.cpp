#include "cli/Cli.h"

#include <sstream>

#include "cli/Command.h"

namespace pvcli {
namespace {

constexpr const char* kDescription =
    "Procvault works on Visual Basic 6 modules (.bas, .cls, .frm...) and projects (.vbp)\n"
    "through the same add-in commands as Procvault Studio's menus.";
constexpr const char* kFooter =
    "Run 'procvault COMMAND --help' for a command's options.\n"
    "Preferences (comment prefix, alignment...) come from $XDG_CONFIG_HOME/Procvault/Procvault.ini.\n"
    "Exit status: 0 done, 1 the command ran but did not do its work, 2 bad input.";

// Help as procvault prints it: a command list shows each command's first line,
// and an option shows only its value's name (its description says what it excludes).
class HelpFormatter : public CLI::Formatter {
public:
    std::string make_subcommand(const CLI::App* sub) const override {
        std::ostringstream out;
        const std::string& description = sub->get_description();
        CLI::detail::format_help(out, sub->get_name(), description.substr(0, description.find('\n')),
                                 get_column_width());
        return out.str();
    }
    std::string make_description(const CLI::App* app) const override {
        const std::string text = CLI::Formatter::make_description(app);
        return text.empty() ? text : text + "\n";
    }
    std::string make_option_opts(const CLI::Option* opt) const override {
        const std::string value = opt->get_type_name().empty() ? "" : " " + opt->get_type_name();
        return opt->get_expected_max() == CLI::detail::expected_max_vector_size ? value + " ..." : value;
    }
};

// The innermost command the words named.
const CLI::App& Reached(const CLI::App& app) {
    const auto chosen = app.get_subcommands();
    return chosen.empty() ? app : Reached(*chosen.front());
}

std::string FailureMessage(const CLI::App* app, const CLI::Error& error) {
    const CLI::App& command = Reached(*app);
    const std::string path = CommandPath(command);
    std::string what = error.what();
    // A group missing its command because the word given is none of them.
    const auto rest = command.remaining();
    if (command.get_require_subcommand_min() > 0 && !rest.empty() && rest.front().rfind('-', 0) != 0)
        what = "unknown command '" + rest.front() + "'";
    return path + ": " + what + "\n(see '" + path + " --help')\n";
}

// "procvault help" as well as "procvault --help".
void AddHelpWord(CLI::App& app, Context& ctx) {
    app.add_subcommand("help")->group("")->callback([&app, &ctx] {
        std::fputs(app.get_formatter()->make_help(&app, "procvault", CLI::AppFormatMode::Normal).c_str(),
                   ctx.io.out);
    });
}

void Register(CLI::App& app, Context& ctx) {
    app.require_subcommand(1);
    auto formatter = std::make_shared<HelpFormatter>();
    formatter->label("SUBCOMMAND", "COMMAND");
    formatter->column_width(24);
    app.formatter(formatter);
    app.failure_message(FailureMessage);
    AddCommentCommands(app, ctx);
    AddScanCommand(app, ctx);
    AddAddHandlersCommand(app, ctx);
    AddNewCommand(app, ctx);
    AddLibraryCommands(app, ctx);
    AddOptionsCommands(app, ctx);
    AddHelpWord(app, ctx);
    app.footer(kFooter);  // after the commands, which would inherit it
}

}  // namespace

int Run(const std::vector<std::string>& args, vbrt::SettingsStore& store, Streams io) {
    Context ctx{store, io};
    CLI::App app(kDescription, "procvault");
    Register(app, ctx);
    if (args.empty()) {
        std::fputs(app.help().c_str(), io.err);
        return kExitBadInput;
    }
    try {
        app.parse(std::vector<std::string>(args.rbegin(), args.rend()));  // CLI11 reads them from the back
    } catch (const CLI::ParseError& e) {
        std::ostringstream out, err;
        const int code = app.exit(e, out, err);
        std::fputs(out.str().c_str(), io.out);
        std::fputs(err.str().c_str(), io.err);
        return code == 0 ? kExitOk : kExitBadInput;
    }
    return ctx.exitCode;
}

}  // namespace pvcli
