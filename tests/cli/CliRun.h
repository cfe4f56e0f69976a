#pragma once
// Runs the procvault command line in-process with captured streams.
#include <cstdio>
#include <string>
#include <vector>

#include "cli/Cli.h"

namespace clitest {

struct Run {
    int code = -1;
    std::string out, err;
};

inline std::string Drain(std::FILE* f) {
    std::fflush(f);
    std::rewind(f);
    std::string text;
    char buffer[4096];
    while (std::size_t n = std::fread(buffer, 1, sizeof buffer, f)) text.append(buffer, n);
    std::fclose(f);
    return text;
}

inline Run Procvault(std::vector<std::string> args, vbrt::SettingsStore& store) {
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    std::FILE* in = std::tmpfile();
    Run run;
    run.code = pvcli::Run(args, store, {out, err, in});
    run.out = Drain(out);
    run.err = Drain(err);
    std::fclose(in);
    return run;
}

}  // namespace clitest
