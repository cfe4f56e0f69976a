#include "CommandBarMenu.h"

#include <QMessageBox>

#include "host/CommandBars.h"
#include "qt/QtText.h"
#include "vbrt/VbError.h"

namespace studio {

void FillMenu(QMenu& menu, host::CommandBar& bar, const HostActionRunner& run,
              const HostActionEnabled& enabled) {
    menu.clear();
    for (const auto& item : bar.Items()) {
        if (item->BeginGroup() && !menu.isEmpty()) menu.addSeparator();
        QAction* action = menu.addAction(pvqt::ToQt(item->Caption()));
        const std::string hostAction = item->HostAction();
        if (!hostAction.empty()) {
            if (enabled) action->setEnabled(enabled(hostAction));
            QObject::connect(action, &QAction::triggered, &menu, [run, hostAction] { run(hostAction); });
            continue;
        }
        // The model item may be deleted while the menu is open; a weak reference
        // makes such a click do nothing instead of touching a dead item.
        const std::weak_ptr<host::CommandBarControl> weak = item;
        QObject::connect(action, &QAction::triggered, &menu, [weak] {
            const auto control = weak.lock();
            if (!control || control->IsDeleted()) return;
            try {
                control->Execute();
            } catch (const vbrt::VbError& e) {
                QMessageBox::critical(
                    nullptr, QStringLiteral("Procvault Studio"),
                    pvqt::ToQt(e.Description()) + QStringLiteral(" ") + QString::number(e.Number()));
            }
        });
    }
}

}  // namespace studio
