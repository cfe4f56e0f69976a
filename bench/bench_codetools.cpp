// The main dialog on a big module: building the list of procedures without
// error handling, and adding handlers to all of them in one OK.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>

#include "codetools/frmProcvault.h"
#include "forms/ScriptedUi.h"
#include "host/VBE.h"
#include "vbrt/SettingsStore.h"

namespace {

namespace fs = std::filesystem;

constexpr long kProcedures = 2000;
constexpr long kLinesPerProcedure = 25;  // 50,000 lines

fs::path WriteModule() {
    const fs::path dir = fs::temp_directory_path() / "procvault-bench-codetools";
    fs::create_directories(dir);
    std::ofstream out(dir / "Big.bas", std::ios::binary | std::ios::trunc);
    out << "Attribute VB_Name = \"Big\"\r\n";
    for (long p = 0; p < kProcedures; ++p) {
        out << "' Procedure " << p << " keeps a running total.\r\n";
        out << (p % 2 ? "Public Function F" : "Private Sub S") << p << "(ByVal a As Long)\r\n";
        for (long i = 3; i < kLinesPerProcedure; ++i) out << "    x = x + " << i << " ' step\r\n";
        out << (p % 2 ? "End Function" : "End Sub") << "\r\n";
    }
    return dir;
}

class BigModule {
public:
    BigModule() {
        vbe_.OpenProject(WriteModule());
        Reload();
        pv::objVBE = &vbe_;
    }
    ~BigModule() { pv::objVBE = nullptr; }
    void Reload() {
        host::VBComponent& component = vbe_.ActiveVBProject().VBComponents().Item("Big");
        component.LoadFromDisk();
        component.Activate();
    }
    host::CodeModule& Module() { return vbe_.ActiveVBProject().VBComponents().Item("Big").CodeModule(); }
    forms::ScriptedUi ui;
    vbrt::MemorySettingsStore store;
    pv::Env env{ui, store};

private:
    host::VBE vbe_;
};

// Opening: a fresh scan of the module (an edit came before) and the full list.
void BM_OpenDialogList(benchmark::State& state) {
    BigModule big;
    for (auto _ : state) {
        state.PauseTiming();
        big.Module().ReplaceLine(1, "' touched");
        state.ResumeTiming();
        pv::frmProcvault dialog(big.env);
        dialog.BuildProcedureList();
        if (dialog.lstProcedures.ListCount() != kProcedures) state.SkipWithError("wrong entry count");
        benchmark::DoNotOptimize(dialog.lstProcedures.ListCount());
    }
}
BENCHMARK(BM_OpenDialogList)->Unit(benchmark::kMillisecond);

// One OK on the Existing Procedures tab with every entry selected.
void BM_AddHandlersToAll(benchmark::State& state) {
    BigModule big;
    big.ui.OnShow("frmProcvault", [](forms::Form& form) {
        auto& dialog = static_cast<pv::frmProcvault&>(form);
        dialog.cmdSelectAll.Press();
        dialog.cmdOK.Press();
    });
    for (auto _ : state) {
        state.PauseTiming();
        big.Reload();
        state.ResumeTiming();
        pv::frmProcvault dialog(big.env);
        dialog.OpenProcvault();
        state.PauseTiming();
        if (big.Module().CountOfLines() != kProcedures * (kLinesPerProcedure + 10))
            state.SkipWithError("handlers missing");
        state.ResumeTiming();
    }
}
BENCHMARK(BM_AddHandlersToAll)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace
