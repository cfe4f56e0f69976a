// The real procvault program, as a user runs it: its own settings file, real files.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>

#include "CliRun.h"

namespace {

namespace fs = std::filesystem;
using testsupport::ReadBytes;
using testsupport::WriteBytes;

std::string Quote(const fs::path& p) {
    return "'" + p.string() + "'";
}

// The built program with its settings file under `config` and stderr into `err`; -1 when it did not exit.
int Program(const std::string& shellPrefix, const fs::path& config, const std::string& args,
            const fs::path& err) {
    const std::string program = PV_BINARY_DIR "/apps/procvault/procvault";
    const int status = std::system((shellPrefix + "XDG_CONFIG_HOME=" + Quote(config) + " " + Quote(program) +
                                    " " + args + " >/dev/null 2>" + Quote(err))
                                       .c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(ProcvaultProgram, TheFirstCommandWritesThePreferencesAndTheNextReadsThemChangedOnDisk) {
    testsupport::TempDir dir;
    fs::copy(testsupport::ExamplesDir() / "Inventory", dir.Path());
    const auto run = [&](const std::string& command, const char* file, const char* lines) {
        return Program("", dir / "config", command + " " + Quote(dir / file) + " --lines " + lines,
                       dir / "err.txt");
    };
    const std::string original = ReadBytes(dir / "Module1.bas");
    ASSERT_EQ(run("comment", "Module1.bas", "3-7"), 0) << ReadBytes(dir / "err.txt");
    EXPECT_NE(ReadBytes(dir / "Module1.bas"), original);  // the range ends on an empty line
    ASSERT_EQ(run("uncomment", "Module1.bas", "3-7"), 0) << ReadBytes(dir / "err.txt");
    EXPECT_EQ(ReadBytes(dir / "Module1.bas"), original);
    const std::string ini = ReadBytes(dir / "config/Procvault/Procvault.ini");
    EXPECT_NE(ini.find("IndentLevel=0", ini.find("[Options]")), std::string::npos) << ini;
    WriteBytes(dir / "config/Procvault/Procvault.ini", "[Options]\nCommentPrefix=\"'X \"\nIndentLevel=1\n");
    ASSERT_EQ(run("comment", "modStock.bas", "15-16"), 0) << ReadBytes(dir / "err.txt");
    EXPECT_NE(ReadBytes(dir / "modStock.bas")
                  .find("\r\n    'X Select Case lngQuantity\r\n    'X     Case Is <= 0\r\n"),
              std::string::npos);
    EXPECT_EQ(run("uncomment", "Module1.bas", "1-2"), 1);  // the exit code says the work was not done
    EXPECT_NE(ReadBytes(dir / "err.txt").find("could not find any lines"), std::string::npos);
}

TEST(LibraryCompactProgram, AWriteFailingHalfwayLeavesTheLibraryWholeUnderItsName) {
    clitest::Folder f;
    daotest::FillSample(*f.library.Open());
    // About 2 MB: well past the limit below.
    f.library.Open()->Execute(
        "INSERT INTO ProcedureLine (ProcedureHeaderID, Line) WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL "
        "SELECT i+1 FROM n WHERE i<5000) SELECT 2, printf(\"%0400d\", i) FROM n");
    const auto rows = [&] {
        auto db = f.library.Open();
        return daotest::Flat(*db, "SELECT * FROM Category") +
               daotest::Flat(*db, "SELECT * FROM ProcedureHeader") +
               daotest::Flat(*db, "SELECT * FROM ProcedureLine ORDER BY ProcedureLineID");
    };
    const std::string before = rows();
    const auto files = f.Files();
    const fs::path config = f.Dir() / "config";
    fs::create_directories(config / "Procvault");
    WriteBytes(config / "Procvault/Procvault.ini", "[Options]\nProcvaultLocation=" + f.library.Path() + "\n");
    // Writes past 512 KiB fail with EFBIG instead of killing the program.
    EXPECT_EQ(Program("ulimit -f 512; trap '' XFSZ; ", config, "library compact", config / "err.txt"), 1);
    const std::string text = ReadBytes(config / "err.txt");
    EXPECT_EQ(text.rfind("cmdCompact_Click(): error: ", 0), 0u) << text;
    EXPECT_EQ(f.Files(), files);  // no copy or backup left beside it
    EXPECT_EQ(rows(), before);
}

}  // namespace
