#pragma once
// The procvault command line: every command acts through the add-in's own menu
// commands and dialogs, as a scripted user of them. Exit codes: 0 when the
// command did its work, 1 when it ran but did not (a message says why), 2 for
// bad input (usage, a file that cannot be opened, lines out of range).
#include <cstdio>
#include <string>
#include <vector>

#include "vbrt/SettingsStore.h"

namespace pvcli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitNotDone = 1;
inline constexpr int kExitBadInput = 2;

struct Streams {
    std::FILE* out = stdout;
    std::FILE* err = stderr;
    std::FILE* in = stdin;
};

// `args` are the words after the program's name; help goes to `io.out`, usage errors to `io.err`.
int Run(const std::vector<std::string>& args, vbrt::SettingsStore& store, Streams io = {});

}  // namespace pvcli
