#include "StudioRun.h"

namespace studio {

StudioOptions ParseOptions(const QStringList& arguments) {
    StudioOptions options;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& arg = arguments[i];
        if (arg == QLatin1String("--print-startup-time")) {
            options.printStartupTime = true;
        } else if (arg == QLatin1String("--exit-after-startup")) {
            options.exitAfterStartup = true;
        } else if (arg.startsWith(QLatin1String("--screenshot-context-menu="))) {
            options.screenshotContextMenu = arg.section(QLatin1Char('='), 1);
        } else if (arg.startsWith(QLatin1String("--screenshot-dialogs="))) {
            options.screenshotDialogs = arg.section(QLatin1Char('='), 1);
            if (options.screenshotDialogs.isEmpty())
                options.error = QStringLiteral("no folder given: ") + arg;
        } else if (arg.startsWith(QLatin1String("--bench-open-lines="))) {
            bool ok = false;
            options.benchOpenLines = arg.section(QLatin1Char('='), 1).toInt(&ok);
            if (!ok || options.benchOpenLines <= 0) options.error = QStringLiteral("bad line count: ") + arg;
        } else if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            options.help = true;
        } else if (arg.startsWith(QLatin1String("--"))) {
            options.error = QStringLiteral("unknown option: ") + arg;
        } else if (options.projectPath.isEmpty()) {
            options.projectPath = arg;
        } else {
            options.error = QStringLiteral("more than one project given: ") + arg;
        }
    }
    return options;
}

QString UsageText() {
    return QStringLiteral(
        "Usage: procvault-studio [PROJECT.vbp | FOLDER] [options]\n"
        "Opens a Visual Basic 6 project (or a folder of modules) with the Procvault add-in loaded.\n\n"
        "Options:\n"
        "  --print-startup-time            print the time from start to the first paint of the window\n"
        "  --exit-after-startup            quit right after the first paint\n"
        "  --screenshot-context-menu=FILE  open a code window's context menu, save a PNG, quit\n"
        "  --screenshot-dialogs=DIR        open every dialog of the add-in in turn, save each as\n"
        "                                  DIR/<form>[-<tab>].png, quit\n"
        "  --bench-open-lines=N            time opening a generated N-line module, print it, quit\n"
        "  -h, --help                      show this text\n");
}

}  // namespace studio
