// Descriptions as typed, Null, transactions, snapshots, and what the engine refuses with which number.
#include <gtest/gtest.h>

#include "dao/JetSql.h"
#include "dao/LibraryFixture.h"

namespace {

using daotest::Count;
using daotest::ErrorOf;
using daotest::Flat;
using Library = daotest::SampleLibrary;

class Descriptions : public Library, public testing::WithParamInterface<const char*> {};

TEST_P(Descriptions, RoundTripThroughStatementsMeanWhatWasTyped) {
    const std::string typed = GetParam(), quoted = dao::QuoteText(typed);
    db->Execute("UPDATE Category SET CategoryDesc=" + quoted + " WHERE CategoryID=1");
    EXPECT_EQ(Flat(*db, "SELECT CategoryDesc FROM Category ORDER BY CategoryID"), typed + "|Strings|Files");
    EXPECT_EQ(Flat(*db, "SELECT CategoryID FROM Category WHERE CategoryDesc=" + quoted), "1");  // typed again
}

INSTANTIATE_TEST_SUITE_P(Typed, Descriptions,
                         testing::Values("He said \"hi\"", "\"", "\"\"", "x\" OR \"1\"=\"1",
                                         "x\"; DELETE * FROM Category", "O'Brien", "ends with \"",
                                         "[brackets]", "* FROM", "Caf\xE9 \x80uro", "  "));

// Other tools read the text as UTF-8.
TEST_F(Library, TextIsStoredAsUtf8AndNullStaysNull) {
    PV_FILE_LIBRARY_ONLY();
    daotest::AddCategory(*db, "Caf\xE9");
    daotest::AddRow(*db->OpenRecordset("Category", dao::dbOpenDynaset), "CategoryID", {});
    EXPECT_EQ(Flat(*db, "SELECT hex(CategoryDesc), CategoryDesc FROM Category WHERE CategoryID>3"),
              "436166C3A9,Caf\xE9|,<Null>");
}

// A failure half way, or a scope left without Commit, undoes the whole transaction; so does closing.
TEST_F(Library, TransactionsLeaveNothingHalfDone) {
    EXPECT_EQ(ErrorOf([&] {
                  dao::Transaction transaction(*db);
                  db->Execute("DELETE * FROM ProcedureLine WHERE ProcedureHeaderID IN (1)");
                  db->Execute("DELETE * FROM Category WHERE CategoryID=1");
                  transaction.Commit();
              }),
              3200);
    {
        dao::Transaction transaction(*db);
        daotest::AddRow(*db->OpenRecordset("ProcedureHeader", dao::dbOpenDynaset, dao::dbAppendOnly),
                        "ProcedureHeaderID", {{"Name", "Half"}});
    }
    EXPECT_FALSE(db->InTransaction());
    EXPECT_EQ(
        Flat(*db, "SELECT Name FROM ProcedureHeader") + " " + std::to_string(Count(*db, "ProcedureLine")),
        "GetValue|TrimAll|OpenLog 7");
    db->BeginTrans();
    db->Execute("DELETE * FROM ProcedureLine");
    db->Close();
    auto other = file.Open();  // and can write again
    other->Execute("DELETE * FROM ProcedureLine WHERE ProcedureHeaderID=2");
    EXPECT_EQ(Count(*other, "ProcedureLine"), 4);
}

TEST_F(Library, SnapshotsHoldTheFileWhileHalfReadAndReleaseItWhenClosedOrReadToTheEnd) {
    PV_FILE_LIBRARY_ONLY();
    db->Execute(  // more rows than a snapshot reads ahead
        "INSERT INTO ProcedureHeader (Name, Type, CategoryID) WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL "
        "SELECT i+1 FROM n WHERE i<1000) SELECT printf(\"P%04d\", i), \"Sub\", 1 FROM n");
    auto other = file.Open();
    const auto write = [&] {
        return ErrorOf([&] { other->Execute("UPDATE ProcedureHeader SET Type=\"Sub\""); });
    };
    for (const bool close : {true, false}) {
        auto rs = db->OpenRecordset("SELECT * FROM ProcedureHeader", dao::dbOpenSnapshot);
        rs->MoveNext();
        EXPECT_EQ(write(), 3218);
        while (!close && !rs->Eof()) rs->MoveNext();
        if (close) rs->Close();
        EXPECT_EQ(write(), 0) << (close ? "closed" : "read to the end");
    }
}

struct MisuseRow {
    void (*act)(dao::Database&);
    long number;
    const char* named = "";  // a part of the description
};

class Misuse : public Library, public testing::WithParamInterface<MisuseRow> {};

TEST_P(Misuse, RaisesJetsNumberAndChangesNothing) {
    std::string description;
    EXPECT_EQ(ErrorOf([&] { GetParam().act(*db); }, &description), GetParam().number) << description;
    EXPECT_NE(description.find(GetParam().named), std::string::npos) << description;
    EXPECT_EQ(GetParam().number == 3420 ? 3 : daotest::Count(*db, "ProcedureHeader"), 3);  // 3420: closed
}

using dao::Database;
std::unique_ptr<dao::Recordset> Snap(Database& db, const char* source) {
    return db.OpenRecordset(source, dao::dbOpenSnapshot);
}
// clang-format off
INSTANTIATE_TEST_SUITE_P(Engine, Misuse, testing::Values(
    MisuseRow{[](Database& db) { db.Execute("DELETE * FROM Category WHERE CategoryID=2"); }, 3200, "'ProcedureHeader'"},
    MisuseRow{[](Database& db) { db.OpenRecordset("SELECT * FROM Category WHERE CategoryID=1", dao::dbOpenDynaset)->Delete(); }, 3200,
              "The record cannot be deleted or changed because table 'ProcedureHeader' includes related records."},
    MisuseRow{[](Database& db) { db.Execute("UPDATE ProcedureHeader SET CategoryID=42"); }, 3201, "'Category'"},
    MisuseRow{[](Database& db) { Snap(db, "SELECT * FROM Procs"); }, 3078},
    MisuseRow{[](Database& db) { Snap(db, "SELECT Nme FROM ProcedureHeader"); }, 3070},
    MisuseRow{[](Database& db) { Snap(db, "Category")->Fields("Nope"); }, 3265},
    MisuseRow{[](Database& db) { Snap(db, "SELECT * FROM Category WHERE 1=0")->Fields(0).Value(); }, 3021},
    MisuseRow{[](Database& db) { Snap(db, "Category")->AddNew(); }, 3027},
    MisuseRow{[](Database& db) { db.OpenRecordset("Category", dao::dbOpenDynaset)->Collect("CategoryDesc", "x"); }, 3020},
    MisuseRow{[](Database& db) { daotest::AddRow(*db.OpenRecordset("Category", dao::dbOpenDynaset), "CategoryID", {{"CategoryID", 9}}); },
              3164},
    MisuseRow{[](Database& db) { db.Execute("SELECT * FROM Category"); }, 3065},
    MisuseRow{[](Database& db) { db.Execute("DELETE * FROM ProcedureLine WHERE 1=0; DROP TABLE ProcedureHeader"); }, 3142},
    MisuseRow{[](Database& db) { db.Execute("DELETE * FROM WHERE"); }, 3075},
    MisuseRow{[](Database& db) { db.CommitTrans(); }, 3034},
    MisuseRow{[](Database& db) { auto rs = Snap(db, "Category"); db.Close(); rs->Eof(); }, 3420}));
// clang-format on

}  // namespace
