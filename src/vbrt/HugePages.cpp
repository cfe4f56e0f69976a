#include "vbrt/HugePages.h"

#include <unistd.h>

#include <cstdlib>
#include <string>

namespace vbrt {

void UseHugePagesForTheHeap(char** argv) {
    constexpr const char* kMarker = "PROCVAULT_HEAP_SET";
    constexpr const char* kTunables = "GLIBC_TUNABLES";
    if (std::getenv(kMarker) != nullptr) return;
    setenv(kMarker, "1", 1);
    std::string tunables = "glibc.malloc.hugetlb=1";
    if (const char* existing = std::getenv(kTunables)) tunables = std::string(existing) + ":" + tunables;
    setenv(kTunables, tunables.c_str(), 1);
    execv("/proc/self/exe", argv);
}

}  // namespace vbrt
