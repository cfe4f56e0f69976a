#pragma once
// Qt menus drawn from the host's CommandBars model: one action per item, a
// separator above items with BeginGroup, host items run by their HostAction,
// add-in items by CommandBarControl::Execute (which raises their Click).
#include <QMenu>
#include <functional>
#include <string>

namespace host {
class CommandBar;
}

namespace studio {

// Runs a host item ("cut", "copy", "paste", "select-all", "addin-manager").
using HostActionRunner = std::function<void(const std::string& action)>;
// Tells whether a host item can run now (e.g. Copy needs a selection).
using HostActionEnabled = std::function<bool(const std::string& action)>;

// Clears `menu` and fills it from `bar`.
void FillMenu(QMenu& menu, host::CommandBar& bar, const HostActionRunner& run,
              const HostActionEnabled& enabled = {});

}  // namespace studio
