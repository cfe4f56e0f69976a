// procvault library compact as the real program, with a file size limit that makes the compacted copy's
// writing fail halfway.
#include <gtest/gtest.h>

#include "CliRun.h"

namespace {

TEST(LibraryCompactProgram, AWriteFailingHalfwayLeavesTheLibraryWholeUnderItsName) {
    clitest::Folder f;
    daotest::FillSample(*f.library.Open());
    // About 2 MB: well past the limit below.
    f.library.Open()->Execute(
        "INSERT INTO ProcedureLine (ProcedureHeaderID, Line) WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL "
        "SELECT i+1 FROM n WHERE i<5000) SELECT 2, printf(\"%0400d\", i) FROM n");
    const auto rows = [&] {
        daotest::Table all;
        auto db = f.library.Open();
        for (const char* query : {"SELECT * FROM Category", "SELECT * FROM ProcedureHeader",
                                  "SELECT * FROM ProcedureLine ORDER BY ProcedureLineID"})
            for (auto& row : daotest::Rows(*db, query)) all.push_back(std::move(row));
        return all;
    };
    const daotest::Table before = rows();
    const auto files = f.Files();
    const clitest::fs::path config = f.library.Dir() / "config";
    clitest::fs::create_directories(config / "Procvault");
    clitest::WriteBytes(config / "Procvault/Procvault.ini",
                        "[Options]\nProcvaultLocation=" + f.library.Path() + "\n");
    // Writes past 512 KiB fail with EFBIG instead of killing the program.
    EXPECT_EQ(
        clitest::Program("ulimit -f 512; trap '' XFSZ; ", config, "library compact", config / "err.txt"), 1);
    const std::string text = clitest::ReadBytes(config / "err.txt");
    EXPECT_EQ(text.rfind("cmdCompact_Click(): error: ", 0), 0u) << text;
    EXPECT_EQ(f.Files(), files);  // no copy or backup left beside it
    EXPECT_EQ(rows(), before);
}

}  // namespace
