#include "vbrt/RegularFile.h"

#include <sys/stat.h>

namespace vbrt {

std::string SpecialFileKind(const std::filesystem::path& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || S_ISREG(st.st_mode) || S_ISDIR(st.st_mode)) return {};
    if (S_ISFIFO(st.st_mode)) return "a pipe";
    if (S_ISSOCK(st.st_mode)) return "a socket";
    return "a device";
}

}  // namespace vbrt
