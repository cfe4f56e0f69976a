// procvault library compact, in-process and as the real program with a file
// size limit that makes the compacted copy's writing fail halfway.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <set>

#include "CliRun.h"
#include "dao/LibraryFixture.h"
#include "settings/Options.h"

namespace {

namespace fs = std::filesystem;
using Names = std::set<std::string>;

Names Files(const fs::path& folder) {
    Names names;
    for (const auto& entry : fs::directory_iterator(folder))
        if (!entry.is_directory()) names.insert(entry.path().filename().string());
    return names;
}

daotest::Table AllRows(const daotest::LibraryFile& library) {
    auto db = library.Open();
    daotest::Table rows;
    for (const char* query : {"SELECT * FROM Category", "SELECT * FROM ProcedureHeader",
                              "SELECT * FROM ProcedureLine ORDER BY ProcedureLineID"})
        for (auto& row : daotest::Rows(*db, query)) rows.push_back(std::move(row));
    return rows;
}

struct Row {
    const char* name;
    const char* stored;  // LIB the library, MISSING a name without a file, "" nothing stored
    int code;
    const char* err;  // the whole of stderr; PATH stands for the missing file's path
};

class LibraryCompact : public testing::TestWithParam<Row> {
protected:
    void SetUp() override { daotest::FillSample(*library.Open()); }
    std::string Expand(std::string text) const {
        if (const auto at = text.find("PATH"); at != std::string::npos)
            text.replace(at, 4, Stored("MISSING"));
        return text;
    }
    std::string Stored(const std::string& what) const {
        if (what == "LIB") return library.Path();
        return what == "MISSING" ? (library.Dir() / "Gone.mdb").string() : what;
    }

    daotest::LibraryFile library;
    vbrt::MemorySettingsStore store;
};

TEST_P(LibraryCompact, ExitsZeroOnlyWhenTheLibraryWasCompacted) {
    const Row& row = GetParam();
    if (*row.stored) pv::WriteOption(store, pv::key::ProcvaultLocation, Stored(row.stored));
    const daotest::Table rows = AllRows(library);
    const auto run = clitest::Procvault({"library", "compact"}, store);
    EXPECT_EQ(run.code, row.code);
    EXPECT_EQ(run.err, Expand(row.err));
    EXPECT_EQ(Files(library.Dir().Path()), Names{"Library.mdb"});
    EXPECT_EQ(AllRows(library), rows);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Cli, LibraryCompact, testing::Values(
    // Not a terminal: no progress lines.
    Row{"Compacted", "LIB", 0, "Procvault: note: The Repair & Compact was completed successfully.\n"},
    Row{"NoLocation", "", 1, "Procvault: error: There is no location entered for the Procvault database. "
        "Please enter the correct location of this file.\n"},
    Row{"StoredFileMissing", "MISSING", 1, "Procvault: error: PATH:\nThis file was not found. Please enter "
        "the correct location of the Procvault database.\n"}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

std::string Quote(const fs::path& p) {
    return "'" + p.string() + "'";
}

TEST(LibraryCompactProgram, AWriteFailingHalfwayLeavesTheLibraryWholeUnderItsName) {
    const fs::path program = fs::path(PV_BINARY_DIR) / "apps/procvault/procvault";
    ASSERT_TRUE(fs::exists(program)) << program;
    daotest::LibraryFile library;
    {
        auto db = library.Open();
        daotest::FillSample(*db);
        // About 2 MB: well past the limit below.
        db->Execute(
            "INSERT INTO ProcedureLine (ProcedureHeaderID, Line) WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL "
            "SELECT i+1 FROM n WHERE i<5000) SELECT 2, printf(\"%0400d\", i) FROM n");
    }
    const daotest::Table rows = AllRows(library);
    const fs::path config = library.Dir() / "config";
    fs::create_directories(config / "Procvault");
    testsupport::WriteBytes(config / "Procvault/Procvault.ini",
                            "[Options]\nProcvaultLocation=" + library.Path() + "\n");
    const fs::path err = config / "stderr.txt";
    // Writes past 512 KiB fail with EFBIG instead of killing the program.
    const std::string command = "ulimit -f 512; trap '' XFSZ; XDG_CONFIG_HOME=" + Quote(config) + " " +
                                Quote(program) + " library compact >/dev/null 2>" + Quote(err);
    const int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1);
    const std::string text = testsupport::ReadBytes(err);
    EXPECT_EQ(text.rfind("cmdCompact_Click(): error: ", 0), 0u) << text;
    EXPECT_EQ(Files(library.Dir().Path()), Names{"Library.mdb"});
    EXPECT_EQ(AllRows(library), rows);
}

}  // namespace
