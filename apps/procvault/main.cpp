// procvault: the command-line host of the Procvault add-in.
#include <clocale>
#include <string>
#include <vector>

#include "cli/Cli.h"
#include "qt/QtSettingsStore.h"
#include "vbrt/HugePages.h"

int main(int argc, char** argv) {
    vbrt::UseHugePagesForTheHeap(argv);
    std::setlocale(LC_TIME, "");  // month names of the user's locale in generated dates
    pvqt::QtSettingsStore store;
    return pvcli::Run(std::vector<std::string>(argv + 1, argv + argc), store);
}
