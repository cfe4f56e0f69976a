// The real procvault program, as a user runs it: its own settings file, real files.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>

#include "support/TempDir.h"

namespace {

namespace fs = std::filesystem;
using testsupport::ReadBytes;
using testsupport::TempDir;

const fs::path kProgram = fs::path(PV_BINARY_DIR) / "apps/procvault/procvault";

int Shell(const std::string& command) {
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string Quote(const fs::path& p) {
    return "'" + p.string() + "'";
}

class ProcvaultProgram : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(fs::exists(kProgram)) << kProgram;
        fs::copy(testsupport::ExamplesDir() / "Inventory", dir / "Inventory");
        config = dir / "config";
    }
    int Run(const std::string& args) {
        return Shell("XDG_CONFIG_HOME=" + Quote(config) + " " + Quote(kProgram) + " " + args +
                     " >/dev/null 2>" + Quote(dir / "stderr.txt"));
    }
    std::string Stderr() { return ReadBytes(dir / "stderr.txt"); }

    TempDir dir;
    fs::path config;
};

TEST_F(ProcvaultProgram, CommentThenUncommentOfTheExampleRestoresItAndKeepsThePreferences) {
    const fs::path module = dir / "Inventory/Module1.bas";
    const std::string original = ReadBytes(module);
    ASSERT_EQ(Run("comment " + Quote(module) + " --lines 3-6"), 0) << Stderr();
    EXPECT_NE(ReadBytes(module), original);
    ASSERT_EQ(Run("uncomment " + Quote(module) + " --lines 3-6"), 0) << Stderr();
    EXPECT_EQ(ReadBytes(module), original);

    // The first command initialised the preferences in the user's settings file.
    const std::string ini = ReadBytes(config / "Procvault/Procvault.ini");
    EXPECT_NE(ini.find("[Options]"), std::string::npos) << ini;
    EXPECT_NE(ini.find("IndentLevel=0"), std::string::npos) << ini;
}

TEST_F(ProcvaultProgram, APreferenceChangedBetweenCommandsIsSeenByTheNext) {
    fs::create_directories(config / "Procvault");
    testsupport::WriteBytes(config / "Procvault/Procvault.ini",
                            "[Options]\nCommentPrefix=\"'X \"\nIndentLevel=1\n");
    const fs::path module = dir / "Inventory/modStock.bas";
    ASSERT_EQ(Run("comment " + Quote(module) + " --lines 15-16"), 0) << Stderr();
    const std::string text = ReadBytes(module);
    EXPECT_NE(text.find("\r\n    'X Select Case lngQuantity\r\n    'X     Case Is <= 0\r\n"),
              std::string::npos)
        << text;
}

TEST_F(ProcvaultProgram, ExitCodesSayWhetherTheWorkWasDone) {
    const fs::path module = dir / "Inventory/Module1.bas";
    EXPECT_EQ(Run("uncomment " + Quote(module) + " --lines 1-2"), 1);
    EXPECT_NE(Stderr().find("could not find any lines"), std::string::npos);
    EXPECT_EQ(Run("comment " + Quote(module) + " --lines 500-501"), 2);
    EXPECT_EQ(Run("comment " + Quote(dir / "Inventory/None.bas") + " --lines 1"), 2);
    EXPECT_EQ(Run("--help"), 0);
}

}  // namespace
