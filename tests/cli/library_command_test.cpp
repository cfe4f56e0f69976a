#include <gtest/gtest.h>

#include <cstdio>

#include "cli/Cli.h"
#include "dao/DBEngine.h"
#include "support/TempDir.h"

namespace {

using testsupport::TempDir;

int RunQuietly(const std::vector<std::string>& args) {
    vbrt::MemorySettingsStore store;
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    const int code = pvcli::Run(args, store, {out, err, stdin});
    std::fclose(out);
    std::fclose(err);
    return code;
}

TEST(LibraryInit, CreatesALibraryTheEngineOpens) {
    TempDir dir;
    const std::string path = (dir / "Procvault.mdb").string();
    ASSERT_EQ(RunQuietly({"library", "init", path}), 0);
    auto db = dao::DBEngine().OpenDatabase(path);
    std::vector<std::string> tables;
    for (const auto& table : db->TableDefs()) tables.push_back(table.Name());
    for (const char* name : {"Category", "ProcedureHeader", "ProcedureLine"})
        EXPECT_NE(std::find(tables.begin(), tables.end(), name), tables.end()) << name;
}

TEST(LibraryInit, NeverOverwritesAnExistingFile) {
    TempDir dir;
    testsupport::WriteBytes(dir / "Mine.mdb", "precious");
    EXPECT_EQ(RunQuietly({"library", "init", (dir / "Mine.mdb").string()}), pvcli::kExitBadInput);
    EXPECT_EQ(testsupport::ReadBytes(dir / "Mine.mdb"), "precious");
}

TEST(LibraryInit, RefusesBadUsage) {
    EXPECT_EQ(RunQuietly({"library"}), pvcli::kExitBadInput);
    EXPECT_EQ(RunQuietly({"library", "drop", "x"}), pvcli::kExitBadInput);
    EXPECT_EQ(RunQuietly({"library", "--help"}), 0);
}

}  // namespace
