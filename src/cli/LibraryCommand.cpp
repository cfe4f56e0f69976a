// procvault library: the procedure library's own commands.
#include <memory>

#include "cli/Command.h"
#include "dao/Location.h"
#include "dao/Schema.h"

namespace pvcli {

void AddLibraryCommands(CLI::App& app, Context& ctx) {
    CLI::App& library = AddCommandGroup(app, "library", "Work on procedure libraries (files or databases)");
    AddLibraryInitCommand(library, ctx);
    AddLibraryBrowseCommands(library, ctx);
    AddLibraryEditCommands(library, ctx);
    AddLibraryInsertCommand(library, ctx);
    AddLibraryCategoriesCommand(library, ctx);
    AddLibraryCompactCommand(library, ctx);
    AddLibraryCopyCommand(library, ctx);
}

void AddLibraryInitCommand(CLI::App& library, Context& ctx) {
    auto location = std::make_shared<std::string>();
    CLI::App& command =
        AddCommand(library, "init",
                   "Create an empty procedure library\n"
                   "Creates an empty procedure library at LOCATION, a new file or a\n"
                   "postgresql:// URI of an empty database, with the tables Category,\n"
                   "ProcedureHeader and ProcedureLine. An existing file is never overwritten,\n"
                   "nor a database that has tables.");
    command.add_option("LOCATION", *location, "the library file to create, or the database")
        ->required()
        ->type_name("");
    command.footer("Point Procvault at it with the ProcvaultLocation preference (Options dialog).");
    OnRun(command, ctx, "", [location, &ctx] {
        dao::CreateLibrary(*location);
        std::fprintf(ctx.io.err, "procvault: created an empty library at %s\n",
                     dao::MaskedLocation(*location).c_str());
        return kExitOk;
    });
}

}  // namespace pvcli
