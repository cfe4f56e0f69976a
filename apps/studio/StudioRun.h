#pragma once
// What procvault-studio does with its command line: open the project given,
// connect the add-ins, and the measuring modes the scripts use (start-up time,
// opening a large module, a screenshot with the context menu open, one of
// every dialog).
#include <QElapsedTimer>
#include <QString>
#include <QStringList>

class QApplication;

namespace studio {

struct StudioOptions {
    QString projectPath;
    bool printStartupTime = false;
    bool exitAfterStartup = false;
    QString screenshotContextMenu;  // PNG to write, then exit
    QString screenshotDialogs;      // folder for a PNG of every dialog, then exit
    int benchOpenLines = 0;         // open a generated module of this many lines, print the time, exit
    bool help = false;
    QString error;
};

StudioOptions ParseOptions(const QStringList& arguments);
QString UsageText();

// Runs the Studio; `sinceStart` was started first thing in main().
int RunStudio(QApplication& app, const StudioOptions& options, const QElapsedTimer& sinceStart);

}  // namespace studio
