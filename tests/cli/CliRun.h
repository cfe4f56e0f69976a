#pragma once
// The procvault command line run in-process with captured streams on real files.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>

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

// An empty library with its location stored, in a folder for Module1.bas. In texts {LIB}, {FILE} and {DIR}
// stand for their paths; an argument "X.ext" names a file in the folder.
struct Folder {
    Folder() { pv::WriteOption(store, pv::key::ProcvaultLocation, library.Path()); }
    fs::path Dir() const { return library.Dir().Path(); }
    fs::path file() const { return Dir() / "Module1.bas"; }
    std::string Expand(std::string text) const {
        const std::map<std::string, std::string> marks = {
            {"{LIB}", library.Path()}, {"{FILE}", file().string()}, {"{DIR}", Dir().string()}};
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
        std::string text(std::ftell(f), '\0');
        std::rewind(f);
        text.resize(std::fread(text.data(), 1, text.size(), f));
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
};

}  // namespace clitest
