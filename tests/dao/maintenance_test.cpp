// Repair and compaction of library files.
#include <gtest/gtest.h>

#include <filesystem>

#include "dao/LibraryFixture.h"

namespace fs = std::filesystem;

namespace {

using daotest::ErrorOf;
constexpr int kProcedures = 200;

class Maintenance : public testing::Test {
protected:
    void SetUp() override {
        auto db = file.Open();
        const long category = daotest::AddCategory(*db, "Utilities");
        for (int i = 0; i < kProcedures; ++i) {
            const std::string name = "Proc" + std::to_string(i);
            daotest::AddProcedure(
                *db,
                {name, "Sub", category, {"Sub " + name + "()", "    ' " + std::string(60, 'x'), "End Sub"}});
        }
    }
    std::string InDir(const char* name) const { return (file.Dir() / name).string(); }
    long Compact(const std::string& from, const std::string& to) {
        return ErrorOf([&] { engine.CompactDatabase(from, to); });
    }
    dao::DBEngine engine{daotest::kTestBusyTimeoutMs};
    daotest::LibraryFile file;
};

TEST_F(Maintenance, CompactRefusesWhatItCannotDoAndWritesNothing) {
    const std::string dest = InDir("Compacted.mdb");
    EXPECT_EQ(Compact(InDir("none.mdb"), dest), 3024);
    EXPECT_EQ(Compact(file.Path(), (file.Dir() / "x" / "y.mdb").string()), 3044);
    {
        auto holder = engine.OpenDatabase(file.Path(), true);
        EXPECT_EQ(Compact(file.Path(), dest), 3045);
    }
    EXPECT_FALSE(fs::exists(dest));
    testsupport::WriteBytes(dest, "keep me");
    EXPECT_EQ(Compact(file.Path(), dest), 3204);
    EXPECT_EQ(testsupport::ReadBytes(dest), "keep me");
}

TEST_F(Maintenance, CompactedCopyHoldsEverythingAndIsNoLarger) {
    {
        auto db = file.Open();
        db->Execute("DELETE * FROM ProcedureLine WHERE ProcedureHeaderID > 100");
        db->Execute("DELETE * FROM ProcedureHeader WHERE ProcedureHeaderID > 100");
    }
    const std::string dest = InDir("Compacted.mdb"), again = InDir("Again.mdb");
    ASSERT_EQ(Compact(file.Path(), dest), 0);
    EXPECT_LT(fs::file_size(dest), fs::file_size(file.Path()));
    ASSERT_EQ(Compact(dest, again), 0);
    EXPECT_LE(fs::file_size(again), fs::file_size(dest));
    auto source = file.Open();
    auto copy = engine.OpenDatabase(dest);
    for (const char* query :
         {"SELECT * FROM ProcedureHeader", "SELECT * FROM ProcedureLine ORDER BY ProcedureLineID",
          "SELECT * FROM Category"})
        EXPECT_EQ(daotest::Rows(*copy, query), daotest::Rows(*source, query)) << query;
    // Keys keep growing past the ones used before compaction.
    EXPECT_EQ(daotest::AddProcedure(*copy, {"Next", "Sub", 1, {}}), kProcedures + 1);
}

TEST_F(Maintenance, RepairOfASoundFileChangesNothingAndOfAMissingOneGives3024) {
    const std::string before = testsupport::ReadBytes(file.Path());
    engine.RepairDatabase(file.Path());
    EXPECT_EQ(testsupport::ReadBytes(file.Path()), before);
    EXPECT_EQ(ErrorOf([&] { engine.RepairDatabase(InDir("gone.mdb")); }), 3024);
}

struct DamageRow {
    const char* name;
    void (*damage)(std::string& bytes);
    long number;  // 0: salvaged
};

class Damaged : public Maintenance, public testing::WithParamInterface<DamageRow> {};

// What is salvaged opens, holds no row that was not there before, and keeps its catalogue.
TEST_P(Damaged, IsRebuiltFromWhatCanStillBeReadOrRefused) {
    std::string bytes = testsupport::ReadBytes(file.Path());
    GetParam().damage(bytes);
    testsupport::WriteBytes(file.Path(), bytes);
    ASSERT_EQ(ErrorOf([&] { engine.RepairDatabase(file.Path()); }), GetParam().number);
    if (GetParam().number != 0) return;
    auto db = engine.OpenDatabase(file.Path());
    EXPECT_LE(daotest::Count(*db, "ProcedureHeader"), kProcedures);
    EXPECT_LE(daotest::Count(*db, "ProcedureLine"), 3 * kProcedures);
    EXPECT_EQ(daotest::Rows(*db, "SELECT * FROM pragma_integrity_check"), (daotest::Table{{"ok"}}));
    EXPECT_EQ(daotest::Count(*db, "Category"), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Repair, Damaged,
    testing::Values(DamageRow{"Truncated", [](std::string& b) { b.resize(b.size() / 2 + 1000); }, 0},
                    DamageRow{"GarbageInTheLastDataPage",
                              [](std::string& b) {
                                  const std::size_t last = (b.size() / 4096 - 1) * 4096;
                                  for (std::size_t i = last; i < last + 2000; ++i)
                                      b[i] = static_cast<char>(0xFF);
                              },
                              0},
                    DamageRow{"NotADatabase", [](std::string& b) { b.replace(0, 16, "Not a database!!"); },
                              3343},
                    DamageRow{"UnreadableCatalogue",
                              [](std::string& b) {
                                  for (std::size_t i = 100; i < 4096; ++i) b[i] = static_cast<char>(0x5A);
                              },
                              3049}),
    [](const auto& info) { return info.param.name; });

}  // namespace
