// Library files: what opening refuses, what a connection holding the file does to everyone else, repair and
// compaction.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>

#include "dao/LibraryFixture.h"

namespace fs = std::filesystem;

namespace {

using daotest::Count;
using daotest::ErrorOf;
using testsupport::ReadBytes;
using testsupport::WriteBytes;

struct BadFileRow {
    void (*make)(const fs::path& target, const std::string& library);
    long number;
};

class BadFiles : public testing::TestWithParam<BadFileRow> {};

TEST_P(BadFiles, AreRefusedWithANumberAndThePathAndNeverCreated) {
    PV_FILE_LIBRARY_ONLY();
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

using P = const fs::path&;
using L = const std::string&;
// clang-format off
INSTANTIATE_TEST_SUITE_P(Open, BadFiles, testing::Values(
    BadFileRow{[](P, L) {}, 3024},
    BadFileRow{[](P t, L) { fs::create_directory(t); }, 3024},
    BadFileRow{[](P t, L) { WriteBytes(t, ""); }, 3343},
    BadFileRow{[](P t, L) { WriteBytes(t, std::string(5000, 'x') + "Attribute VB_Name = \"basMain\"\r\n"); }, 3343},
    BadFileRow{[](P t, L lib) { WriteBytes(t, std::string(16, '\xA5') + ReadBytes(lib).substr(16)); }, 3343},
    BadFileRow{[](P t, L lib) { WriteBytes(t, ReadBytes(lib).substr(0, 100)); }, 3049},
    BadFileRow{[](P t, L lib) { WriteBytes(t, ReadBytes(lib).substr(0, 4096)); }, 3049}));
// clang-format on

TEST(Exclusive, AnotherProgramHoldingTheFileGives3045UntilItCloses) {
    PV_FILE_LIBRARY_ONLY();
    daotest::LibraryFile file;
    auto holder = dao::DBEngine(daotest::kTestBusyTimeoutMs).OpenDatabase(file.Path(), true);
    std::string description;
    EXPECT_EQ(ErrorOf([&] { file.Open(); }, &description), 3045);
    EXPECT_EQ(description, "Could not use '" + file.Path() + "'; file already in use.");
    daotest::AddCategory(*holder, "Mine");  // the holder itself works on
    holder->Close();
    EXPECT_EQ(Count(*file.Open(), "Category"), 1);
    // Any program keeping the write lock counts as holding the file.
    sqlite3* raw = nullptr;
    ASSERT_EQ(sqlite3_open_v2(file.Path().c_str(), &raw, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(raw, "PRAGMA locking_mode=EXCLUSIVE; BEGIN EXCLUSIVE; COMMIT;", nullptr, nullptr,
                           nullptr),
              SQLITE_OK);
    EXPECT_EQ(ErrorOf([&] { file.Open(); }), 3045);
    sqlite3_close(raw);
    EXPECT_EQ(ErrorOf([&] { file.Open(); }), 0);
}

// An existing file (3204): the library init command's refusal, tests/cli.
TEST(CreateLibrary, GivesEmptyTablesAndRefusesAMissingFolder) {
    PV_FILE_LIBRARY_ONLY();
    daotest::LibraryFile file;
    auto db = file.Open();
    EXPECT_EQ(Count(*db, "Category") + Count(*db, "ProcedureHeader") + Count(*db, "ProcedureLine"), 0);
    const fs::path nowhere = file.Dir() / "no-such-folder" / "Library.mdb";
    EXPECT_EQ(ErrorOf([&] { dao::CreateLibrary(nowhere.string()); }), 3044);
    EXPECT_FALSE(fs::exists(nowhere.parent_path()));
}

constexpr int kProcedures = 200;

class Maintenance : public testing::Test {
protected:
    void SetUp() override {
        auto db = file.Open();
        daotest::AddCategory(*db, "Utilities");
        for (int i = 0; i < kProcedures; ++i)
            daotest::AddProcedure(
                *db, {"P" + std::to_string(i), "Sub", 1, {"Sub P()", std::string(60, 'x'), "End Sub"}});
    }
    std::string InDir(const char* name) const { return (file.Dir() / name).string(); }
    long Compact(const std::string& from, const std::string& to) {
        return ErrorOf([&] { engine.CompactDatabase(from, to); });
    }
    dao::DBEngine engine{daotest::kTestBusyTimeoutMs};
    daotest::LibraryFile file;
};

TEST_F(Maintenance, CompactRefusesWhatItCannotDoAndWritesNothing) {
    PV_FILE_LIBRARY_ONLY();
    const std::string dest = InDir("Compacted.mdb");
    EXPECT_EQ(Compact(InDir("none.mdb"), dest), 3024);
    EXPECT_EQ(Compact(file.Path(), (file.Dir() / "x" / "y.mdb").string()), 3044);
    {
        auto holder = engine.OpenDatabase(file.Path(), true);
        EXPECT_EQ(Compact(file.Path(), dest), 3045);
    }
    EXPECT_FALSE(fs::exists(dest));
    WriteBytes(dest, "keep me");
    EXPECT_EQ(Compact(file.Path(), dest), 3204);
    EXPECT_EQ(ReadBytes(dest), "keep me");
}

TEST_F(Maintenance, CompactedCopyHoldsEverythingAndIsNoLarger) {
    PV_FILE_LIBRARY_ONLY();
    file.Open()->Execute("DELETE * FROM ProcedureLine WHERE ProcedureHeaderID > 100");
    file.Open()->Execute("DELETE * FROM ProcedureHeader WHERE ProcedureHeaderID > 100");
    const std::string dest = InDir("Compacted.mdb");
    ASSERT_EQ(Compact(file.Path(), dest), 0);
    EXPECT_LT(fs::file_size(dest), fs::file_size(file.Path()));
    auto source = file.Open(), copy = engine.OpenDatabase(dest);
    for (const char* query :
         {"ProcedureHeader", "SELECT * FROM ProcedureLine ORDER BY ProcedureLineID", "Category"})
        EXPECT_EQ(daotest::Rows(*copy, query), daotest::Rows(*source, query)) << query;
    // Keys keep growing past the ones used before compaction.
    EXPECT_EQ(daotest::AddProcedure(*copy, {"Next", "Sub", 1, {}}), kProcedures + 1);
}

TEST_F(Maintenance, RepairOfASoundFileChangesNothingAndOfAMissingOneGives3024) {
    PV_FILE_LIBRARY_ONLY();
    const std::string before = ReadBytes(file.Path());
    engine.RepairDatabase(file.Path());
    EXPECT_EQ(ReadBytes(file.Path()), before);
    EXPECT_EQ(ErrorOf([&] { engine.RepairDatabase(InDir("gone.mdb")); }), 3024);
}

struct DamageRow {
    std::size_t at, count;  // bytes overwritten with `with`, at 0 the last data page; no `with`: cut in half
    char with;
    long number;  // 0: salvaged
};

class Damaged : public Maintenance, public testing::WithParamInterface<DamageRow> {};

// What is salvaged opens, holds no row that was not there before, and keeps its catalogue.
TEST_P(Damaged, IsRebuiltFromWhatCanStillBeReadOrRefused) {
    PV_FILE_LIBRARY_ONLY();
    const DamageRow& row = GetParam();
    std::string bytes = ReadBytes(file.Path());
    const std::size_t at = row.at ? row.at : (bytes.size() / 4096 - 1) * 4096;  // 0: the last data page
    bytes = row.with ? bytes.replace(at, row.count, std::string(row.count, row.with))
                     : bytes.substr(0, bytes.size() / 2 + 1000);
    WriteBytes(file.Path(), bytes);
    ASSERT_EQ(ErrorOf([&] { engine.RepairDatabase(file.Path()); }), row.number);
    if (row.number != 0) return;
    auto db = engine.OpenDatabase(file.Path());
    EXPECT_LE(Count(*db, "ProcedureHeader") + Count(*db, "ProcedureLine"), 4 * kProcedures);
    EXPECT_EQ(daotest::Flat(*db, "SELECT * FROM pragma_integrity_check"), "ok");
    EXPECT_EQ(daotest::Flat(*db, "Category"), "1,Utilities");
}

// A server that cannot be used says why, with the numbers the dialogs read as "not found" and "refused".
TEST(ServerLocation, SaysWhatTheServerAnsweredAndNeverShowsThePassword) {
    if (!daotest::OnServer()) GTEST_SKIP() << "needs the test cluster (ctest -L server)";
    const std::string uri = daotest::ServerAdmin::Get().Uri();
    const std::string latin1 = "pvt_latin1_" + std::to_string(::getpid());
    PGconn* admin = PQconnectdb(uri.c_str());
    PQclear(PQexec(admin, ("CREATE DATABASE " + latin1 + " TEMPLATE template0 ENCODING 'LATIN1' LC_COLLATE "
                           "'C' LC_CTYPE 'C'").c_str()));
    const std::string more = uri.find('?') == std::string::npos ? "?" : "&";
    // clang-format off
    struct Row { std::string location; long number; const char* said; };
    const Row rows[] = {
        {daotest::WithDatabase(uri, "nosuch"), 3024, "There is no such database for '"},
        {uri + more + "host=/nonexistent", 3024, "is not reachable: "},
        {uri + more + "user=nosuchrole&password=s3cret", 3051, "The server refused the login to '"},
        {uri + more + "nosuch=s3cret", 3024, "is not a postgresql:// location the server's client can read"},
        {daotest::WithDatabase(uri, latin1), 3343, "uses the encoding LATIN1; a Procvault library database must be UTF8"}};
    // clang-format on
    for (const Row& row : rows) {
        std::string description;
        EXPECT_EQ(ErrorOf([&] { dao::CreateLibrary(row.location); }, &description), row.number) << row.location;
        EXPECT_NE(description.find(row.said), std::string::npos) << description;
        EXPECT_EQ(description.find("s3cret"), std::string::npos) << description;
    }
    PQclear(PQexec(admin, ("DROP DATABASE " + latin1).c_str()));
    PQfinish(admin);
}

// Cut to half, garbage in the last data page, a foreign header, an unreadable catalogue.
INSTANTIATE_TEST_SUITE_P(Repair, Damaged,
                         testing::Values(DamageRow{0, 0, 0, 0}, DamageRow{0, 2000, '\xFF', 0},
                                         DamageRow{1, 15, '!', 3343}, DamageRow{100, 3996, 'Z', 3049}));

}  // namespace
