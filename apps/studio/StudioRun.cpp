#include "StudioRun.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>

#include "CodeWindow.h"
#include "DialogShots.h"
#include "MainWindow.h"

namespace studio {
namespace {

void Print(const QString& text, FILE* to = stdout) {
    std::fputs(text.toLocal8Bit().constData(), to);
    std::fflush(to);
}

double Ms(const QElapsedTimer& timer) {
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

// Waits (processing events) until the window has painted once.
void WaitForPaint(QApplication& app, MainWindow& window) {
    bool painted = false;
    QObject::connect(&window, &MainWindow::firstPainted, [&painted] { painted = true; });
    QElapsedTimer waited;
    waited.start();
    while (!painted && waited.elapsed() < 5000) app.processEvents(QEventLoop::AllEvents, 50);
}

QByteArray GeneratedModule(int lines) {
    QByteArray text = "Attribute VB_Name = \"Big\"\r\nOption Explicit\r\n";
    for (int n = 2, proc = 1; n < lines; ++proc) {
        text +=
            "\r\nPublic Function Proc" + QByteArray::number(proc) + "(ByVal lngValue As Long) As Long\r\n";
        text += "    ' adds one to the value it is given\r\n    Dim lngResult As Long\r\n";
        text += "    lngResult = lngValue + 1\r\n    Proc" + QByteArray::number(proc) + " = lngResult\r\n";
        text += "End Function\r\n";
        n += 7;
    }
    return text;
}

int BenchOpen(QApplication& app, int lines) {
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("Big.bas")));
    if (!file.open(QIODevice::WriteOnly) || file.write(GeneratedModule(lines)) < 0) return 1;
    file.close();
    MainWindow window({});
    window.show();
    WaitForPaint(app, window);
    host::VBProject& project = window.Vbe().OpenProject(dir.path().toStdString());
    host::VBComponent& component = project.VBComponents().Item(1);
    QElapsedTimer timer;
    timer.start();
    CodeWindow* code = window.OpenCodeWindow(component);
    window.repaint();
    const double openMs = Ms(timer);
    code->SelectLines(lines / 2, lines / 2);
    code->moveCursor(QTextCursor::StartOfBlock);
    constexpr int kKeys = 200;
    timer.restart();
    for (int i = 0; i < kKeys; ++i) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
        QApplication::sendEvent(code, &press);
        app.processEvents();
    }
    const double keyMs = Ms(timer) / kKeys;
    Print(QStringLiteral("open-%1-line-module-ms: %2\nkeystroke-in-that-module-ms: %3\n")
              .arg(component.CodeModule().CountOfLines())
              .arg(openMs, 0, 'f', 1)
              .arg(keyMs, 0, 'f', 3));
    return 0;
}

// The window with the context menu drawn over it, as the screen shows it.
void Screenshot(MainWindow& window, const QString& path) {
    CodeWindow* code = window.CurrentCodeWindow();
    if (!code) {
        Print(QStringLiteral("no code window to show a context menu in\n"), stderr);
        QApplication::exit(1);
        return;
    }
    code->setFocus();
    code->SelectLines(3, 6);
    const QPoint at = code->viewport()->mapToGlobal(code->cursorRect().bottomRight() + QPoint(40, 8));
    QMenu* menu = window.CodeWindowMenu(*code).release();
    menu->popup(at);
    QTimer::singleShot(400, &window, [&window, menu, path] {
        QPixmap shot = window.grab();
        QPainter painter(&shot);
        painter.drawPixmap(menu->pos() - window.mapToGlobal(QPoint(0, 0)), menu->grab());
        painter.end();
        const bool saved = shot.save(path, "PNG");
        Print(saved ? QStringLiteral("screenshot: %1\n").arg(path)
                    : QStringLiteral("cannot write %1\n").arg(path),
              saved ? stdout : stderr);
        menu->deleteLater();
        QApplication::exit(saved ? 0 : 1);
    });
}

void DialogScreenshots(MainWindow& window, const QString& folder) {
    if (!QDir().mkpath(folder)) {
        Print(QStringLiteral("cannot create %1\n").arg(folder), stderr);
        QApplication::exit(1);
        return;
    }
    const DialogShotsResult result = ShootDialogs(window, folder);
    for (const QString& path : result.saved) Print(QStringLiteral("screenshot: %1\n").arg(path));
    for (const QString& what : result.missing) Print(QStringLiteral("no screenshot: %1\n").arg(what), stderr);
    QApplication::exit(result.missing.isEmpty() ? 0 : 1);
}

}  // namespace

int RunStudio(QApplication& app, const StudioOptions& options, const QElapsedTimer& sinceStart) {
    if (options.help) {
        Print(UsageText());
        return 0;
    }
    if (!options.error.isEmpty()) {
        Print(options.error + QLatin1Char('\n') + UsageText(), stderr);
        return 2;
    }
    QApplication::setStyle(QStringLiteral("Fusion"));
    if (options.benchOpenLines > 0) return BenchOpen(app, options.benchOpenLines);

    MainWindow window(StandardAddIns());
    window.StartAddIns();
    if (!options.projectPath.isEmpty())
        window.OpenProject(QDir::current().absoluteFilePath(options.projectPath));
    QObject::connect(&window, &MainWindow::firstPainted, &window, [&] {
        if (options.printStartupTime)
            Print(QStringLiteral("startup-to-first-paint-ms: %1\n").arg(Ms(sinceStart), 0, 'f', 1));
        if (!options.screenshotContextMenu.isEmpty())
            QTimer::singleShot(300, &window, [&] { Screenshot(window, options.screenshotContextMenu); });
        else if (!options.screenshotDialogs.isEmpty())
            QTimer::singleShot(300, &window, [&] { DialogScreenshots(window, options.screenshotDialogs); });
        else if (options.exitAfterStartup)
            QTimer::singleShot(0, &app, [] { QApplication::exit(0); });
    });
    window.show();
    return QApplication::exec();
}

}  // namespace studio
