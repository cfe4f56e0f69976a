// Comment Selection through the add-in over big blocks: DeleteLines/InsertLines
// per line must stay linear in the block's size.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "codetools/basComment.h"
#include "forms/ScriptedUi.h"
#include "host/VBE.h"
#include "settings/Options.h"

namespace {

namespace fs = std::filesystem;

fs::path WriteModule(long lines) {
    const fs::path dir = fs::temp_directory_path() / ("procvault-bench-comment-" + std::to_string(lines));
    fs::create_directories(dir);
    std::ofstream out(dir / "Big.bas", std::ios::binary | std::ios::trunc);
    out << "Attribute VB_Name = \"Big\"\r\n";
    for (long i = 0; i < lines; ++i) {
        if (i % 25 == 0) out << "Public Sub P" << i << "()\r\n";
        else if (i % 25 == 24) out << "End Sub\r\n";
        else if (i % 7 == 0) out << "\r\n";
        else out << "    x = x + " << i << " ' running total\r\n";
    }
    return dir;
}

void BM_CommentSelection(benchmark::State& state) {
    const long lines = state.range(0);
    const fs::path dir = WriteModule(lines);
    host::VBE vbe;
    vbe.OpenProject(dir);
    host::VBComponent& component = vbe.ActiveVBProject().VBComponents().Item("Big");
    component.Activate();
    pv::objVBE = &vbe;
    forms::ScriptedUi ui;
    vbrt::MemorySettingsStore store;
    pv::Env env{ui, store};
    pv::WriteOption(store, pv::key::IndentLevel, "1");
    host::CodePane& pane = component.CodeModule().CodePane();
    for (auto _ : state) {
        pane.SetSelection(1, 1, lines, 2);
        pv::CommentSelection(env);
        state.PauseTiming();
        pane.SetSelection(1, 1, lines, 2);
        pv::UncommentSelection(env);
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * lines);
    pv::objVBE = nullptr;
    fs::remove_all(dir);
}
BENCHMARK(BM_CommentSelection)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond);

}  // namespace
