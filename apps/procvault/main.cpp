// procvault: the command-line host of the Procvault add-in.
#include <unistd.h>

#include <clocale>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "cli/Cli.h"
#include "qt/QtSettingsStore.h"

namespace {

// A module of a million lines is a million small heap blocks; on virtual
// machines the page faults for them cost more than the work itself. glibc backs
// its heap with transparent huge pages only when told so before the program
// starts, so the program restarts itself once with that setting.
void UseHugePagesForTheHeap(char** argv) {
    constexpr const char* kTunables = "GLIBC_TUNABLES";
    if (std::getenv("PROCVAULT_HEAP_SET") != nullptr) return;
    setenv("PROCVAULT_HEAP_SET", "1", 1);
    std::string tunables = "glibc.malloc.hugetlb=1";
    if (const char* existing = std::getenv(kTunables)) tunables = std::string(existing) + ":" + tunables;
    setenv(kTunables, tunables.c_str(), 1);
    execv("/proc/self/exe", argv);  // on failure simply go on with the ordinary heap
}

}  // namespace

int main(int argc, char** argv) {
    UseHugePagesForTheHeap(argv);
    std::setlocale(LC_TIME, "");  // month names of the user's locale in generated dates
    pvqt::QtSettingsStore store;
    return pvcli::Run(std::vector<std::string>(argv + 1, argv + argc), store);
}
