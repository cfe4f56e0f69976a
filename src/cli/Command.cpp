#include "cli/Command.h"

#include "vbrt/VbError.h"

namespace pvcli {
namespace {

int Guarded(const std::string& path, const std::string& unchanged, const std::function<int()>& action,
            std::FILE* err) {
    try {
        return action();
    } catch (const BadInput& e) {
        std::fprintf(err, "%s: %s%s\n", path.c_str(), e.what(), unchanged.c_str());
    } catch (const vbrt::VbError& e) {
        std::fprintf(err, "%s: %s (error %ld)%s\n", path.c_str(), e.Description().c_str(), e.Number(),
                     unchanged.c_str());
    }
    return kExitBadInput;
}

}  // namespace

CLI::App& AddCommand(CLI::App& parent, const std::string& name, const std::string& description) {
    return *parent.add_subcommand(name, description)->group("Commands");
}

CLI::App& AddCommandGroup(CLI::App& parent, const std::string& name, const std::string& description) {
    return *AddCommand(parent, name, description).require_subcommand(1);
}

CLI::Option* AddOptional(CLI::App& command, const std::string& name, std::optional<std::string>& value,
                         const std::string& description) {
    return command.add_option_function<std::string>(
        name, [&value](const std::string& given) { value = given; }, description);
}

std::string CommandPath(const CLI::App& command) {
    const CLI::App* parent = command.get_parent();
    return parent ? CommandPath(*parent) + " " + command.get_name() : command.get_name();
}

void OnRun(CLI::App& command, Context& ctx, std::string unchanged, std::function<int()> action) {
    command.callback([&command, &ctx, unchanged = std::move(unchanged), action = std::move(action)] {
        ctx.exitCode = Guarded(CommandPath(command), unchanged, action, ctx.io.err);
    });
}

void PrintJson(std::FILE* out, const nlohmann::ordered_json& document) {
    const std::string text = document.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
    std::fprintf(out, "%s\n", text.c_str());
}

}  // namespace pvcli
