// procvault-studio: the Qt host. Everything but the clock's start lives in pv_studio.
#include <QApplication>
#include <QElapsedTimer>

#include "StudioRun.h"
#include "vbrt/HugePages.h"

int main(int argc, char** argv) {
    vbrt::UseHugePagesForTheHeap(argv);
    QElapsedTimer sinceStart;
    sinceStart.start();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Procvault Studio"));
    return studio::RunStudio(app, studio::ParseOptions(QApplication::arguments()), sinceStart);
}
