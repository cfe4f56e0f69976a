// procvault library compact: the Options dialog's "Compact No&w", pressed as a
// user would. On a terminal a large library shows how far its compacted copy
// has been written.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <optional>
#include <stop_token>
#include <string>
#include <thread>

#include "cli/Command.h"
#include "cli/LibraryRun.h"
#include "library/basConnect.h"
#include "options/RepairCompact.h"
#include "options/frmOptions.h"

namespace pvcli {
namespace {

namespace fs = std::filesystem;

constexpr auto kPoll = std::chrono::milliseconds(250);
constexpr int kStepPercent = 10;

// Polls the size of the compacted copy being written against the library it
// is written from, and prints a line at every tenth passed; the repair on the
// backup before it gets one line.
class CompactProgress {
public:
    CompactProgress(std::FILE* err, std::string library, std::string backup)
        : err_(err),
          library_(std::move(library)),
          backup_(std::move(backup)),
          copy_(pv::CompactCopyName(library_)),
          thread_([this](std::stop_token stop) { Watch(stop); }) {}

private:
    void Watch(std::stop_token stop) {
        int printed = 0;
        bool repairing = false;
        std::mutex mutex;
        std::condition_variable_any wake;
        std::unique_lock lock(mutex);
        while (!wake.wait_for(lock, stop, kPoll, [&stop] { return stop.stop_requested(); })) {
            std::error_code ec;
            if (!repairing && fs::exists(backup_, ec) && !fs::exists(copy_, ec)) {
                repairing = true;
                Print("checking and repairing");
            }
            const int percent = Percent();
            if (percent < printed + kStepPercent) continue;
            printed = percent - percent % kStepPercent;
            Print(std::to_string(printed) + "% written");
        }
    }
    void Print(const std::string& text) const {
        std::fprintf(err_, "procvault library compact: %s\n", text.c_str());
        std::fflush(err_);
    }
    // 0 while there is no copy yet (the repair runs) or no copy any more (done).
    int Percent() const {
        std::error_code ec;
        const auto total = fs::file_size(library_, ec);
        if (ec || total == 0) return 0;
        const auto written = fs::file_size(copy_, ec);
        if (ec) return 0;
        return static_cast<int>(std::min<std::uintmax_t>(99, written * 100 / total));
    }

    std::FILE* err_;
    std::string library_, backup_, copy_;
    std::jthread thread_;  // last: stopped and joined before the rest goes
};

std::string BackupOf(const std::string& library) {
    return pv::ExtractFilePath(library) + pv::BackupFileName(pv::ExtractFileName(library));
}

int Compact(Context& ctx) {
    LibraryRun run(ctx);
    bool done = false;
    run.InOptions([&](pv::frmOptions& dialog) {
        dialog.ctlTab.SetTab(1);
        std::optional<CompactProgress> progress;
        if (isatty(fileno(ctx.io.err))) {
            pv::Env env = run.Env();
            const std::string library = pv::LibraryFileOf(pv::ProcvaultLocation(env));
            progress.emplace(ctx.io.err, library, BackupOf(library));
        }
        const int before = run.Ui().Messages();
        dialog.cmdCompact.Press();
        // The success note is the only message that is not a problem.
        done = run.Ui().Messages() > before;
    });
    return run.ExitCode(done);
}

}  // namespace

void AddLibraryCompactCommand(CLI::App& library, Context& ctx) {
    CLI::App& command = AddCommand(library, "compact",
                                   "Repair and compact the library\n"
                                   "Presses \"Compact Now\" in the Options dialog: the library named by the\n"
                                   "ProcvaultLocation preference gets its backup name beside its own\n"
                                   "(Library.mdb: Library.bak), is repaired there, and a compacted copy\n"
                                   "replaces it under its own name. When a step fails, or the process is\n"
                                   "killed, the library stays as it was under its name.");
    OnRun(command, ctx, "", [&ctx] { return Compact(ctx); });
}

}  // namespace pvcli
