#include "cli/Command.h"

namespace pvcli {

// Not offered yet.
void AddLibraryCompactCommand(CLI::App&, Context&) {}

}  // namespace pvcli
