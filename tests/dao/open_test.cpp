// Opening library files: what is refused, with which number, and what a
// connection holding the file exclusively does to everyone else.
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "dao/LibraryFixture.h"

namespace fs = std::filesystem;

namespace {

using daotest::ErrorOf;
using Maker = std::function<void(const fs::path& target, const std::string& library)>;

Maker Contents(const std::string& bytes) {
    return [bytes](const fs::path& t, const std::string&) { testsupport::WriteBytes(t, bytes); };
}

Maker LibraryCut(std::size_t keep) {
    return [keep](const fs::path& t, const std::string& lib) {
        testsupport::WriteBytes(t, testsupport::ReadBytes(lib).substr(0, keep));
    };
}

struct BadFileRow {
    const char* name;
    Maker make;
    long number;
};

class BadFiles : public testing::TestWithParam<BadFileRow> {};

TEST_P(BadFiles, AreRefusedWithANumberAndThePathAndNeverCreated) {
    daotest::LibraryFile file;
    const fs::path target = file.Dir() / "target.mdb";
    GetParam().make(target, file.Path());
    const bool existed = fs::exists(target);
    std::string description;
    EXPECT_EQ(ErrorOf([&] { dao::DBEngine(daotest::kTestBusyTimeoutMs).OpenDatabase(target.string()); },
                      &description),
              GetParam().number);
    EXPECT_NE(description.find(target.string()), std::string::npos) << description;
    EXPECT_EQ(fs::exists(target), existed);
}

INSTANTIATE_TEST_SUITE_P(
    Open, BadFiles,
    testing::Values(
        BadFileRow{"Missing", [](const fs::path&, const std::string&) {}, 3024},
        BadFileRow{"Folder", [](const fs::path& t, const std::string&) { fs::create_directory(t); }, 3024},
        BadFileRow{"EmptyFile", Contents(""), 3343},
        BadFileRow{"TextFile", Contents(std::string(5000, 'x') + "Attribute VB_Name = \"basMain\"\r\n"),
                   3343},
        BadFileRow{"GarbageHeader",
                   [](const fs::path& t, const std::string& lib) {
                       testsupport::WriteBytes(
                           t, std::string(16, '\xA5') + testsupport::ReadBytes(lib).substr(16));
                   },
                   3343},
        BadFileRow{"TruncatedToHeader", LibraryCut(100), 3049},
        BadFileRow{"TruncatedMidPage", LibraryCut(6000), 3049},
        BadFileRow{"TruncatedAtPageBoundary", LibraryCut(4096), 3049}),
    [](const auto& info) { return info.param.name; });

TEST(Open, ReadOnlyOpenReadsButRefusesWrites) {
    daotest::LibraryFile file;
    daotest::AddCategory(*file.Open(), "Utilities");
    auto db = dao::DBEngine(daotest::kTestBusyTimeoutMs).OpenDatabase(file.Path(), false, true);
    EXPECT_EQ(daotest::Count(*db, "Category"), 1);
    EXPECT_EQ(ErrorOf([&] { db->Execute("DELETE * FROM Category"); }), 3027);
    EXPECT_EQ(ErrorOf([&] { daotest::AddCategory(*db, "More"); }), 3027);
}

TEST(Open, WriteProtectedFileRefusesWrites) {
    if (geteuid() == 0) GTEST_SKIP() << "file permissions do not bind root";
    daotest::LibraryFile file;
    ::chmod(file.Path().c_str(), 0444);
    auto db = file.Open();
    EXPECT_EQ(daotest::Count(*db, "Category"), 0);
    EXPECT_EQ(ErrorOf([&] { daotest::AddCategory(*db, "More"); }), 3027);
}

TEST(Exclusive, AnotherEngineHoldingTheFileGives3045UntilItCloses) {
    daotest::LibraryFile file;
    auto holder = dao::DBEngine(daotest::kTestBusyTimeoutMs).OpenDatabase(file.Path(), true);
    std::string description;
    EXPECT_EQ(ErrorOf([&] { file.Open(); }, &description), 3045);
    EXPECT_EQ(description, "Could not use '" + file.Path() + "'; file already in use.");
    daotest::AddCategory(*holder, "Mine");  // the holder itself works on
    holder->Close();
    EXPECT_EQ(daotest::Count(*file.Open(), "Category"), 1);
}

TEST(Exclusive, AnyProgramKeepingTheWriteLockCountsAsHoldingIt) {
    daotest::LibraryFile file;
    sqlite3* raw = nullptr;
    ASSERT_EQ(sqlite3_open_v2(file.Path().c_str(), &raw, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(raw,
                           "PRAGMA locking_mode=EXCLUSIVE; BEGIN EXCLUSIVE; "
                           "INSERT INTO Category (CategoryDesc) VALUES ('x'); COMMIT;",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    EXPECT_EQ(ErrorOf([&] { file.Open(); }), 3045);
    sqlite3_close(raw);
    EXPECT_EQ(ErrorOf([&] { file.Open(); }), 0);
}

TEST(Exclusive, AWriterThatKeepsItsLockMakesOthersWriteFailWith3218) {
    daotest::LibraryFile file;
    auto writer = file.Open();
    auto other = file.Open();
    writer->BeginTrans();
    daotest::AddCategory(*writer, "Pending");
    EXPECT_EQ(ErrorOf([&] { other->Execute("DELETE * FROM Category"); }), 3218);
    writer->CommitTrans();
    daotest::AddCategory(*other, "Two");  // shared opens write in turn
    EXPECT_EQ(daotest::Count(*writer, "Category"), 2);
}

TEST(CreateLibrary, RefusesAnExistingFileAndAMissingFolder) {
    daotest::LibraryFile file;
    const std::string before = testsupport::ReadBytes(file.Path());
    EXPECT_EQ(ErrorOf([&] { dao::CreateLibrary(file.Path()); }), 3204);
    EXPECT_EQ(testsupport::ReadBytes(file.Path()), before);
    const fs::path nowhere = file.Dir() / "no-such-folder" / "Library.mdb";
    EXPECT_EQ(ErrorOf([&] { dao::CreateLibrary(nowhere.string()); }), 3044);
    EXPECT_FALSE(fs::exists(nowhere.parent_path()));
}

TEST(CreateLibrary, GivesEmptyTablesWithTheRelation) {
    daotest::LibraryFile file;
    auto db = file.Open();
    for (const char* table : {"Category", "ProcedureHeader", "ProcedureLine"})
        EXPECT_EQ(daotest::Count(*db, table), 0);
    EXPECT_EQ(ErrorOf([&] { daotest::AddProcedure(*db, {"Orphan", "Sub", 7, {}}); }), 3201);
}

}  // namespace
