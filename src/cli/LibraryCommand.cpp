// procvault library: the procedure library's own commands.
#include <memory>

#include "cli/Command.h"
#include "dao/Schema.h"

namespace pvcli {

void AddLibraryCommands(CLI::App& app, Context& ctx) {
    CLI::App& library = AddCommandGroup(app, "library", "Work on procedure library files");
    AddLibraryInitCommand(library, ctx);
    AddLibraryBrowseCommands(library, ctx);
    AddLibraryEditCommands(library, ctx);
    AddLibraryInsertCommand(library, ctx);
    AddLibraryCategoriesCommand(library, ctx);
    AddLibraryCompactCommand(library, ctx);
}

void AddLibraryInitCommand(CLI::App& library, Context& ctx) {
    auto path = std::make_shared<std::string>();
    CLI::App& command =
        AddCommand(library, "init",
                   "Create an empty procedure library\n"
                   "Creates an empty procedure library at PATH with the tables Category,\n"
                   "ProcedureHeader and ProcedureLine. An existing file is never overwritten.");
    command.add_option("PATH", *path, "the library file to create")->required()->type_name("");
    command.footer("Point Procvault at it with the ProcvaultLocation preference (Options dialog).");
    OnRun(command, ctx, "", [path, &ctx] {
        dao::CreateLibrary(*path);
        std::fprintf(ctx.io.err, "procvault: created an empty library at %s\n", path->c_str());
        return kExitOk;
    });
}

}  // namespace pvcli
