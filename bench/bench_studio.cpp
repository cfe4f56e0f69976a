// The main dialog's library tab as the Studio draws it: 100,000 stored
// procedures read, their categories and sorted entries filled into the real Qt
// widgets (offscreen unless a display is chosen), and the page painted.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QListWidget>
#include <QTabWidget>

#include "BenchLibrary.h"
#include "codetools/frmProcvault.h"
#include "forms/ScriptedUi.h"
#include "library/basConnect.h"
#include "qt/FormDialog.h"
#include "settings/Options.h"
#include "vbrt/SettingsStore.h"

namespace {

QApplication& App() {
    static int argc = 1;
    static char name[] = "bench-studio";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication app(argc, argv);
    return app;
}

void BM_StudioLibraryTabFirstShow(benchmark::State& state) {
    App();
    forms::ScriptedUi ui;
    vbrt::MemorySettingsStore store;
    pv::WriteOption(store, pv::key::ProcvaultLocation, benchlib::Library());
    pv::frmProcvault form(pv::Env{ui, store});
    form.BeginShow();
    pvqt::FormDialog dialog(form);
    dialog.show();
    auto* tabs = dialog.Widget<QTabWidget>("ctlTab");
    auto* list = dialog.Widget<QListWidget>("lstAvailableProcedures");
    for (auto _ : state) {
        pv::ResetLibraryProcedures();  // as at a fresh opening of the dialog
        tabs->setCurrentIndex(2);
        dialog.repaint();
        QApplication::processEvents();
        state.PauseTiming();
        if (list->count() != benchlib::kProcedures) state.SkipWithError("entries missing");
        tabs->setCurrentIndex(0);
        QApplication::processEvents();
        state.ResumeTiming();
    }
    state.counters["entries"] = list->count();
    form.Unload();
}
BENCHMARK(BM_StudioLibraryTabFirstShow)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
