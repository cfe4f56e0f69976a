// The real procvault program, as a user runs it: its own settings file, real files.
#include <gtest/gtest.h>

#include "CliRun.h"

namespace {

using clitest::Quote;
using clitest::ReadBytes;

TEST(ProcvaultProgram, TheFirstCommandWritesThePreferencesAndTheNextReadsThemChangedOnDisk) {
    testsupport::TempDir dir;
    clitest::fs::copy(testsupport::ExamplesDir() / "Inventory", dir.Path());
    const auto run = [&](const std::string& args) {
        return clitest::Program("", dir / "config", args, dir / "stderr.txt");
    };
    const std::string module = Quote(dir / "Module1.bas"), original = ReadBytes(dir / "Module1.bas");
    ASSERT_EQ(run("comment " + module + " --lines 3-7"), 0) << ReadBytes(dir / "stderr.txt");
    EXPECT_NE(ReadBytes(dir / "Module1.bas"), original);  // the range ends on an empty line
    ASSERT_EQ(run("uncomment " + module + " --lines 3-7"), 0) << ReadBytes(dir / "stderr.txt");
    EXPECT_EQ(ReadBytes(dir / "Module1.bas"), original);
    const std::string ini = ReadBytes(dir / "config/Procvault/Procvault.ini");
    EXPECT_NE(ini.find("[Options]"), std::string::npos) << ini;
    EXPECT_NE(ini.find("IndentLevel=0"), std::string::npos) << ini;

    clitest::WriteBytes(dir / "config/Procvault/Procvault.ini",
                        "[Options]\nCommentPrefix=\"'X \"\nIndentLevel=1\n");
    ASSERT_EQ(run("comment " + Quote(dir / "modStock.bas") + " --lines 15-16"), 0)
        << ReadBytes(dir / "stderr.txt");
    const std::string text = ReadBytes(dir / "modStock.bas");
    EXPECT_NE(text.find("\r\n    'X Select Case lngQuantity\r\n    'X     Case Is <= 0\r\n"),
              std::string::npos)
        << text;
    EXPECT_EQ(run("uncomment " + module + " --lines 1-2"), 1);  // the exit code says the work was not done
    EXPECT_NE(ReadBytes(dir / "stderr.txt").find("could not find any lines"), std::string::npos);
    EXPECT_EQ(run("comment " + Quote(dir / "None.bas") + " --lines 1"), 2);
}

}  // namespace
