#include "MainWindow.h"
#include "addin/Connect.h"

namespace studio {

std::vector<StudioAddIn> StandardAddIns() {
    return {{pv::kProgId, "Procvault", [](pv::Env env) -> std::unique_ptr<host::IDTExtensibility> {
                 return std::make_unique<pv::Connect>(env);
             }}};
}

}  // namespace studio
