#pragma once
// One command's run of the add-in: opens the project (or a lone module file),
// makes the named module the active code pane, connects pv32.Connect as the
// IDE would, lets the command click its menu items, and saves what changed.
#include <memory>
#include <optional>
#include <string>

#include "addin/Connect.h"
#include "cli/ConsoleUi.h"
#include "host/VBE.h"
#include "vbrt/SettingsStore.h"

namespace pvcli {

class Session {
public:
    Session(ConsoleUi& ui, vbrt::SettingsStore& store);
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // `module` is a module file, or with `project` a component name or file of
    // that project. Raises VbError with a clear description when it cannot be opened.
    host::VBComponent& OpenModule(const std::string& module, const std::optional<std::string>& project);
    void ConnectAddIn();
    // Runs the menu item of the given bar and caption as a click does.
    void Click(const std::string& bar, const std::string& caption);
    host::VBE& Vbe() { return vbe_; }

private:
    ConsoleUi& ui_;
    vbrt::SettingsStore& store_;
    host::VBE vbe_;
    std::unique_ptr<pv::Connect> addIn_;
    host::AddIn record_{pv::kProgId, "Procvault", false};
};

// The component of `project` named by `module`: its name, or its file (absolute or
// relative to the working folder or the project's folder).
host::VBComponent* FindModule(host::VBProject& project, const std::string& module);

}  // namespace pvcli
