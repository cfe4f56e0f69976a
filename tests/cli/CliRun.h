#pragma once
// The procvault command line run in-process with captured streams on real files, or as the built program.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "cli/Cli.h"
#include "dao/LibraryFixture.h"
#include "settings/Options.h"

namespace clitest {

namespace fs = std::filesystem;
using testsupport::ReadBytes;
using testsupport::WriteBytes;

struct Result {
    int code = -1;
    std::string out, err;
};

inline std::string Quote(const fs::path& p) {
    return "'" + p.string() + "'";
}

// The built program with its settings file under `config` and stderr into `err`; -1 when it did not exit.
inline int Program(const std::string& shellPrefix, const fs::path& config, const std::string& args,
                   const fs::path& err) {
    const fs::path program = fs::path(PV_BINARY_DIR) / "apps/procvault/procvault";
    const int status = std::system((shellPrefix + "XDG_CONFIG_HOME=" + Quote(config) + " " + Quote(program) +
                                    " " + args + " >/dev/null 2>" + Quote(err))
                                       .c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// An empty library with its location stored, in a folder for Module1.bas. In texts {LIB}, {FILE}, {MISSING},
// {DIR} and the names in `keys` stand for their values; an argument "X.ext" names a file in the folder.
struct Folder {
    Folder() { pv::WriteOption(store, pv::key::ProcvaultLocation, library.Path()); }
    fs::path Dir() const { return library.Dir().Path(); }
    fs::path file() const { return Dir() / "Module1.bas"; }
    std::string Expand(std::string text) const {
        std::map<std::string, std::string> marks = {{"{LIB}", library.Path()},
                                                    {"{FILE}", file().string()},
                                                    {"{MISSING}", (Dir() / "Gone.mdb").string()},
                                                    {"{DIR}", Dir().string()}};
        for (const auto& [key, id] : keys) marks[key] = std::to_string(id);
        for (const auto& [mark, value] : marks)
            for (auto at = text.find(mark); at != std::string::npos; at = text.find(mark, at + value.size()))
                text.replace(at, mark.size(), value);
        return text;
    }
    Result Do(std::vector<std::string> args) {
        for (auto& arg : args)
            arg = arg.find('.') != std::string::npos && arg.find_first_of("/{ ") == std::string::npos
                      ? (Dir() / arg).string()
                      : Expand(arg);
        std::FILE *out = std::tmpfile(), *err = std::tmpfile(), *in = std::tmpfile();
        // Braced initialisers run in order: the command first.
        Result result{pvcli::Run(args, store, {out, err, in}), Drain(out), Drain(err)};
        std::fclose(in);
        return result;
    }
    static std::string Drain(std::FILE* f) {
        std::rewind(f);
        std::string text;
        char buffer[4096];
        while (std::size_t n = std::fread(buffer, 1, sizeof buffer, f)) text.append(buffer, n);
        std::fclose(f);
        return text;
    }
    std::map<std::string, std::string> Files() const {
        std::map<std::string, std::string> files;
        for (const auto& entry : fs::directory_iterator(Dir()))
            if (!entry.is_directory()) files[entry.path().filename().string()] = ReadBytes(entry.path());
        return files;
    }

    daotest::LibraryFile library;
    vbrt::MemorySettingsStore store;
    std::map<std::string, long> keys;
};

}  // namespace clitest
