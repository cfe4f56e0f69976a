// Repair and compaction of library files.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "dao/Errors.h"
#include "dao/LibraryFixture.h"

namespace fs = std::filesystem;

namespace {

constexpr int kProcedures = 200;

long ErrorOf(const std::function<void()>& act) {
    try {
        act();
    } catch (const vbrt::VbError& e) {
        return e.Number();
    }
    return 0;
}

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
    std::string Destination() const { return (file.Dir() / "Compacted.mdb").string(); }
    dao::DBEngine engine{daotest::kTestBusyTimeoutMs};
    daotest::LibraryFile file;
};

TEST_F(Maintenance, CompactRefusesAnExistingDestinationAndLeavesItAlone) {
    testsupport::WriteBytes(Destination(), "keep me");
    EXPECT_EQ(ErrorOf([&] { engine.CompactDatabase(file.Path(), Destination()); }), 3204);
    EXPECT_EQ(testsupport::ReadBytes(Destination()), "keep me");
}

TEST_F(Maintenance, CompactedCopyHoldsEverythingAndIsNoLarger) {
    {
        auto db = file.Open();
        db->Execute("DELETE * FROM ProcedureLine WHERE ProcedureHeaderID > 100");
        db->Execute("DELETE * FROM ProcedureHeader WHERE ProcedureHeaderID > 100");
    }
    engine.CompactDatabase(file.Path(), Destination());
    EXPECT_LT(fs::file_size(Destination()), fs::file_size(file.Path()));
    auto source = file.Open();
    auto copy = engine.OpenDatabase(Destination());
    for (const char* source_ :
         {"SELECT * FROM ProcedureHeader", "SELECT * FROM ProcedureLine ORDER BY ProcedureLineID",
          "SELECT * FROM Category"})
        EXPECT_EQ(daotest::Rows(*copy, source_), daotest::Rows(*source, source_)) << source_;
    // Keys keep growing past the ones used before compaction.
    EXPECT_EQ(daotest::AddProcedure(*copy, {"Next", "Sub", 1, {}}), kProcedures + 1);
}

TEST_F(Maintenance, CompactOfAFreshlyCompactedFileIsNoLarger) {
    engine.CompactDatabase(file.Path(), Destination());
    const std::string again = (file.Dir() / "Again.mdb").string();
    engine.CompactDatabase(Destination(), again);
    EXPECT_LE(fs::file_size(again), fs::file_size(Destination()));
}

TEST_F(Maintenance, CompactReportsMissingSourceAndFolder) {
    EXPECT_EQ(ErrorOf([&] { engine.CompactDatabase((file.Dir() / "none.mdb").string(), Destination()); }),
              3024);
    EXPECT_FALSE(fs::exists(Destination()));
    EXPECT_EQ(ErrorOf([&] { engine.CompactDatabase(file.Path(), (file.Dir() / "x" / "y.mdb").string()); }),
              3044);
}

TEST_F(Maintenance, CompactOfAFileHeldExclusivelyGives3045) {
    auto holder = engine.OpenDatabase(file.Path(), true);
    EXPECT_EQ(ErrorOf([&] { engine.CompactDatabase(file.Path(), Destination()); }), 3045);
    EXPECT_FALSE(fs::exists(Destination()));
}

TEST_F(Maintenance, RepairOfASoundFileChangesNothing) {
    const std::string before = testsupport::ReadBytes(file.Path());
    engine.RepairDatabase(file.Path());
    EXPECT_EQ(testsupport::ReadBytes(file.Path()), before);
}

// A damaged file is rebuilt from what can still be read: afterwards it opens,
// holds no row that was not there before, and keeps its catalogue.
void ExpectSalvaged(const daotest::LibraryFile& file, dao::DBEngine& engine) {
    engine.RepairDatabase(file.Path());
    auto db = engine.OpenDatabase(file.Path());
    EXPECT_LE(daotest::Count(*db, "ProcedureHeader"), kProcedures);
    EXPECT_LE(daotest::Count(*db, "ProcedureLine"), 3 * kProcedures);
    auto check = db->OpenRecordset("SELECT * FROM pragma_integrity_check", dao::dbOpenSnapshot);
    EXPECT_EQ(check->Fields(0).Value().AsString(), "ok");
    EXPECT_EQ(daotest::Count(*db, "Category"), 1);
}

TEST_F(Maintenance, RepairSalvagesATruncatedFile) {
    const std::string bytes = testsupport::ReadBytes(file.Path());
    testsupport::WriteBytes(file.Path(), bytes.substr(0, bytes.size() / 2 + 1000));
    EXPECT_EQ(ErrorOf([&] { file.Open(); }), 3049);
    ExpectSalvaged(file, engine);
}

TEST_F(Maintenance, RepairSalvagesGarbageInADataPage) {
    std::string bytes = testsupport::ReadBytes(file.Path());
    const std::size_t page = 4096;
    const std::size_t last = bytes.size() / page - 1;
    for (std::size_t i = last * page; i < last * page + 2000; ++i) bytes[i] = static_cast<char>(0xFF);
    testsupport::WriteBytes(file.Path(), bytes);
    ExpectSalvaged(file, engine);
}

TEST_F(Maintenance, RepairReportsWhatCannotBeRepaired) {
    std::string bytes = testsupport::ReadBytes(file.Path());
    bytes.replace(0, 16, "Not a database!!");
    testsupport::WriteBytes(file.Path(), bytes);
    EXPECT_EQ(ErrorOf([&] { engine.RepairDatabase(file.Path()); }), 3343);
    EXPECT_EQ(ErrorOf([&] { engine.RepairDatabase((file.Dir() / "gone.mdb").string()); }), 3024);
}

TEST_F(Maintenance, RepairWithAnUnreadableCatalogueGives3049) {
    std::string bytes = testsupport::ReadBytes(file.Path());
    for (std::size_t i = 100; i < 4096; ++i) bytes[i] = static_cast<char>(0x5A);
    testsupport::WriteBytes(file.Path(), bytes);
    EXPECT_EQ(ErrorOf([&] { engine.RepairDatabase(file.Path()); }), 3049);
}

}  // namespace
