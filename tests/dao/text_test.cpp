// Descriptions as users type them, Null, transactions, snapshots and the table list.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>

#include "dao/JetSql.h"
#include "dao/LibraryFixture.h"

namespace {

using daotest::Count;
using daotest::ErrorOf;
using daotest::Rows;
using daotest::Table;

using Library = daotest::SampleLibrary;

class Descriptions : public Library, public testing::WithParamInterface<const char*> {};

TEST_P(Descriptions, RoundTripThroughStatementsMeanWhatWasTyped) {
    const std::string typed = GetParam(), quoted = dao::QuoteText(typed);
    db->Execute("UPDATE Category SET CategoryDesc=" + quoted + " WHERE CategoryID=1");
    EXPECT_EQ(Rows(*db, "SELECT CategoryID, CategoryDesc FROM Category ORDER BY CategoryID"),
              (Table{{"1", typed}, {"2", "Strings"}, {"3", "Files"}}));
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

TEST_F(Library, TextIsStoredAsUtf8ForOtherTools) {
    daotest::AddCategory(*db, "Caf\xE9");
    db->Close();
    sqlite3* raw = nullptr;
    ASSERT_EQ(sqlite3_open_v2(file.Path().c_str(), &raw, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(raw, "SELECT CategoryDesc FROM Category WHERE CategoryID=4", -1, &stmt, nullptr);
    ASSERT_EQ(sqlite3_step(stmt), SQLITE_ROW);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0))), "Caf\xC3\xA9");
    sqlite3_finalize(stmt);
    sqlite3_close(raw);
}

TEST_F(Library, NullStaysNullAndIsNoText) {
    auto rs = db->OpenRecordset("Category", dao::dbOpenDynaset);
    rs->AddNew();
    rs->Update();
    const std::string query = "SELECT CategoryDesc FROM Category WHERE CategoryID=4";
    EXPECT_EQ(Rows(*db, query), (Table{{"<Null>"}}));
    auto check = db->OpenRecordset(query, dao::dbOpenSnapshot);
    EXPECT_EQ(ErrorOf([&] { check->Fields("CategoryDesc").Value().AsString(); }), 94);
}

TEST_F(Library, RollbackUndoesRemovingLinesThenHeaders) {
    db->BeginTrans();
    db->Execute("DELETE * FROM ProcedureLine WHERE ProcedureHeaderID IN (2)");
    db->Execute("DELETE * FROM ProcedureHeader WHERE ProcedureHeaderID IN (2)");
    db->Rollback();
    EXPECT_EQ(Count(*db, "ProcedureLine"), 7);
    EXPECT_EQ(Count(*db, "ProcedureHeader"), 3);
}

TEST_F(Library, AFailureInsideATransactionLeavesNothingHalfDone) {
    EXPECT_EQ(ErrorOf([&] {
                  dao::Transaction transaction(*db);
                  db->Execute("DELETE * FROM ProcedureLine WHERE ProcedureHeaderID IN (1)");
                  db->Execute("DELETE * FROM Category WHERE CategoryID=1");
                  transaction.Commit();
              }),
              3200);
    EXPECT_EQ(Count(*db, "ProcedureLine"), 7);
}

TEST_F(Library, HeaderWithoutItsLinesIsNeverStored) {
    {
        dao::Transaction transaction(*db);
        auto headers = db->OpenRecordset("ProcedureHeader", dao::dbOpenDynaset, dao::dbAppendOnly);
        headers->AddNew();
        headers->Collect("Name", "Half");
        headers->Update();
    }  // no Commit: the scope ends as a failure would end it
    EXPECT_EQ(Count(*db, "ProcedureHeader"), 3);
}

TEST_F(Library, NestedTransactionsCommitAndRollBackSeparately) {
    db->BeginTrans();
    db->Execute("UPDATE ProcedureHeader SET Name=\"Outer\" WHERE ProcedureHeaderID=1");
    db->BeginTrans();
    db->Execute("UPDATE ProcedureHeader SET Name=\"Inner\" WHERE ProcedureHeaderID=2");
    db->Rollback();
    db->CommitTrans();
    EXPECT_FALSE(db->InTransaction());
    EXPECT_EQ(Rows(*db, "SELECT Name FROM ProcedureHeader"), (Table{{"Outer"}, {"TrimAll"}, {"OpenLog"}}));
}

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
    auto rs =
        db->OpenRecordset("SELECT ProcedureHeaderID, Name FROM ProcedureHeader WHERE ProcedureHeaderID > 3",
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
    const char* write = "UPDATE ProcedureHeader SET Type=\"Function\"";
    auto closed = db->OpenRecordset("SELECT * FROM ProcedureHeader", dao::dbOpenSnapshot);
    closed->MoveNext();
    EXPECT_EQ(ErrorOf([&] { other->Execute(write); }), 3218);
    closed->Close();
    EXPECT_EQ(ErrorOf([&] { other->Execute(write); }), 0);
    auto finished = db->OpenRecordset("SELECT * FROM ProcedureHeader", dao::dbOpenSnapshot);
    finished->MoveNext();
    EXPECT_EQ(ErrorOf([&] { other->Execute(write); }), 3218);
    while (!finished->Eof()) finished->MoveNext();
    EXPECT_EQ(ErrorOf([&] { other->Execute(write); }), 0);
}

TEST(TableDefs, ListTheLibraryTablesTheSystemOnesAndForeignOnes) {
    daotest::LibraryFile file;
    auto db = file.Open();
    const auto names = [&] {
        std::vector<std::string> out;
        for (const dao::TableDef& def : db->TableDefs()) out.push_back(def.Name());
        return out;
    };
    const std::vector<std::string> fresh = names();
    for (const char* table : {"Category", "ProcedureHeader", "ProcedureLine", "MSysObjects", "MSysSequence"})
        EXPECT_NE(std::find(fresh.begin(), fresh.end(), table), fresh.end()) << table;
    for (const std::string& name : fresh) {
        const bool library = name == "Category" || name == "ProcedureHeader" || name == "ProcedureLine";
        EXPECT_TRUE(library || name.rfind("MSys", 0) == 0) << name;
    }
    db->Execute("CREATE TABLE Invoices (InvoiceID INTEGER PRIMARY KEY, Total REAL)");
    const std::vector<std::string> after = names();
    EXPECT_EQ(after.size(), fresh.size() + 1);
    EXPECT_NE(std::find(after.begin(), after.end(), "Invoices"), after.end());
    // System tables read by their Jet names.
    auto rs = db->OpenRecordset("MSysObjects", dao::dbOpenSnapshot);
    EXPECT_FALSE(rs->Eof());
    EXPECT_NO_THROW(rs->Fields("name"));
}

}  // namespace
