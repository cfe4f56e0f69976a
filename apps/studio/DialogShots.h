#pragma once
// Pictures of every dialog of the add-in, reached the way a user reaches them:
// "&Procvault..." on the Add-Ins menu, then the buttons of each dialog in turn.
// Each dialog is drawn by the real binder, saved as FOLDER/<form>[-<tab>].png
// and closed with its Cancel or Close button.
#include <QString>
#include <QStringList>

namespace studio {

class MainWindow;

struct DialogShotsResult {
    QStringList saved;    // files written, in the order taken
    QStringList missing;  // dialogs that did not come up, or could not be saved
};

// Runs the tour over `window` (a project open, the add-in connected); returns
// once every dialog it opened has closed again.
DialogShotsResult ShootDialogs(MainWindow& window, const QString& folder);

}  // namespace studio
