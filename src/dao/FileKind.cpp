#include "dao/FileKind.h"

#include "dao/Errors.h"
#include "vbrt/RegularFile.h"

namespace dao {

void CheckNotSpecialFile(const std::string& path) {
    const std::string kind = vbrt::SpecialFileKind(path);
    if (!kind.empty())
        throw vbrt::VbError(jet::CannotOpenFile,
                            "Cannot open '" + path + "': it is " + kind + ", not a database file.");
}

}  // namespace dao
