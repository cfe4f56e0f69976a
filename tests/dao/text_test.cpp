// Descriptions as users type them, Null, transactions, snapshots and the table list.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>

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
    // The same text typed again finds the row, through a dynaset as the editor opens it.
    auto rs = db->OpenRecordset("SELECT * FROM Category WHERE CategoryDesc=" + quoted, dao::dbOpenDynaset);
    ASSERT_FALSE(rs->Eof());
    EXPECT_EQ(rs->Fields("CategoryID").Value().AsLong(), 1);
    EXPECT_EQ(rs->Fields("CategoryDesc").Value().AsString(), typed);
    rs->MoveNext();
    EXPECT_TRUE(rs->Eof());
}

INSTANTIATE_TEST_SUITE_P(Typed, Descriptions,
                         testing::Values("He said \"hi\"", "\"", "\"\"", "x\" OR \"1\"=\"1",
                                         "x\"; DELETE * FROM Category", "O'Brien", "ends with \"",
                                         "[brackets]", "* FROM", "Caf\xE9 \x80uro", "  "));

TEST_F(Library, TextIsStoredAsUtf8ForOtherToolsAndNullStaysNull) {
    daotest::AddCategory(*db, "Caf\xE9");
    daotest::AddRow(*db->OpenRecordset("Category", dao::dbOpenDynaset), "CategoryID", {});
    EXPECT_EQ(Flat(*db, "SELECT CategoryDesc FROM Category WHERE CategoryID=5"), "<Null>");
    auto check =
        db->OpenRecordset("SELECT CategoryDesc FROM Category WHERE CategoryID=5", dao::dbOpenSnapshot);
    EXPECT_EQ(ErrorOf([&] { check->Fields("CategoryDesc").Value().AsString(); }), 94);
    check->Close();
    db->Close();
    sqlite3* raw = nullptr;
    sqlite3_stmt* stmt = nullptr;
    ASSERT_EQ(sqlite3_open_v2(file.Path().c_str(), &raw, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
    sqlite3_prepare_v2(raw, "SELECT CategoryDesc FROM Category WHERE CategoryID=4", -1, &stmt, nullptr);
    ASSERT_EQ(sqlite3_step(stmt), SQLITE_ROW);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0))), "Caf\xC3\xA9");
    sqlite3_finalize(stmt);
    sqlite3_close(raw);
}

struct TransactionRow {
    void (*act)(dao::Database&);
    long number;
    const char* names;  // the headers' names afterwards; every line stays
};

class Transactions : public Library, public testing::WithParamInterface<TransactionRow> {};

TEST_P(Transactions, LeaveNothingHalfDone) {
    EXPECT_EQ(ErrorOf([&] { GetParam().act(*db); }), GetParam().number);
    EXPECT_FALSE(db->InTransaction());
    EXPECT_EQ(Flat(*db, "SELECT Name FROM ProcedureHeader"), GetParam().names);
    EXPECT_EQ(Count(*db, "ProcedureLine"), 7);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Library, Transactions, testing::Values(
    TransactionRow{[](dao::Database& db) {  // rolled back after removing lines then headers
        db.BeginTrans();
        db.Execute("DELETE * FROM ProcedureLine WHERE ProcedureHeaderID IN (2)");
        db.Execute("DELETE * FROM ProcedureHeader WHERE ProcedureHeaderID IN (2)");
        db.Rollback(); }, 0, "GetValue|TrimAll|OpenLog"},
    TransactionRow{[](dao::Database& db) {  // fails half way
        dao::Transaction transaction(db);
        db.Execute("DELETE * FROM ProcedureLine WHERE ProcedureHeaderID IN (1)");
        db.Execute("DELETE * FROM Category WHERE CategoryID=1");
        transaction.Commit(); }, 3200, "GetValue|TrimAll|OpenLog"},
    TransactionRow{[](dao::Database& db) {  // a header without its lines: the scope ends as a failure would
        dao::Transaction transaction(db);
        daotest::AddRow(*db.OpenRecordset("ProcedureHeader", dao::dbOpenDynaset, dao::dbAppendOnly),
                        "ProcedureHeaderID", {{"Name", "Half"}}); }, 0, "GetValue|TrimAll|OpenLog"},
    TransactionRow{[](dao::Database& db) {  // nested
        db.BeginTrans();
        db.Execute("UPDATE ProcedureHeader SET Name=\"Outer\" WHERE ProcedureHeaderID=1");
        db.BeginTrans();
        db.Execute("UPDATE ProcedureHeader SET Name=\"Inner\" WHERE ProcedureHeaderID=2");
        db.Rollback();
        db.CommitTrans(); }, 0, "Outer|TrimAll|OpenLog"}));
// clang-format on

TEST_F(Library, ClosingRollsBackAndOthersCanWriteAgain) {
    db->BeginTrans();
    db->Execute("DELETE * FROM ProcedureLine");
    db->Close();
    auto other = file.Open();
    EXPECT_EQ(Count(*other, "ProcedureLine"), 7);
    other->Execute("DELETE * FROM ProcedureLine WHERE ProcedureHeaderID=2");
    EXPECT_EQ(Count(*other, "ProcedureLine"), 4);
}

class Snapshots : public Library {
protected:
    static constexpr int kRows = 1000;  // more than are read ahead
    void SetUp() override {
        Library::SetUp();
        db->Execute(
            "INSERT INTO ProcedureHeader (Name, Type, CategoryID) WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL "
            "SELECT i+1 FROM n WHERE i<1000) SELECT printf(\"P%04d\", i), \"Sub\", 1 FROM n");
    }
};

TEST_F(Snapshots, StayCopiesWhenTheSameDatabaseWritesWhileTheyAreRead) {
    auto rs = db->OpenRecordset("SELECT Name FROM ProcedureHeader WHERE ProcedureHeaderID > 3",
                                dao::dbOpenSnapshot);
    for (int i = 0; i < 10; ++i) rs->MoveNext();
    db->Execute("DELETE * FROM ProcedureHeader WHERE ProcedureHeaderID > 5");
    db->Execute("UPDATE ProcedureHeader SET Name=\"Changed\"");
    long seen = 10;
    for (; !rs->Eof(); rs->MoveNext(), ++seen) EXPECT_EQ(rs->Fields("Name").Value().AsString()[0], 'P');
    EXPECT_EQ(seen, kRows);
    EXPECT_EQ(rs->RecordCount(), kRows);
    EXPECT_EQ(Count(*db, "ProcedureHeader"), 5);
}

TEST_F(Snapshots, HoldTheFileWhileHalfReadAndReleaseItWhenClosedOrReadToTheEnd) {
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

TEST(TableDefs, ListTheLibraryTablesTheSystemOnesAndForeignOnes) {
    daotest::LibraryFile file;
    auto db = file.Open();
    const auto names = [&] {
        std::vector<std::string> out;
        for (const dao::TableDef& def : db->TableDefs()) out.push_back(def.Name());
        std::sort(out.begin(), out.end());
        return out;
    };
    const std::vector<std::string> fresh = names();
    EXPECT_EQ(fresh, (std::vector<std::string>{"Category", "MSysObjects", "MSysSequence", "ProcedureHeader",
                                               "ProcedureLine"}));
    db->Execute("CREATE TABLE Invoices (InvoiceID INTEGER PRIMARY KEY, Total REAL)");
    const std::vector<std::string> after = names();
    EXPECT_EQ(after.size(), fresh.size() + 1);
    EXPECT_TRUE(std::binary_search(after.begin(), after.end(), "Invoices"));
    // System tables read by their Jet names.
    EXPECT_NO_THROW(db->OpenRecordset("MSysObjects", dao::dbOpenSnapshot)->Fields("name"));
}

}  // namespace
