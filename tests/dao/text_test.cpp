// Descriptions as users type them, letter case, Null, transactions and the
// table list.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>

#include "dao/Errors.h"
#include "dao/JetSql.h"
#include "dao/LibraryFixture.h"

namespace {

using daotest::Rows;
using Table = std::vector<std::vector<std::string>>;

class Descriptions : public testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        db = file.Open();
        daotest::AddCategory(*db, "Utilities");
        daotest::AddCategory(*db, "Other");
    }
    daotest::LibraryFile file;
    std::unique_ptr<dao::Database> db;
};

TEST_P(Descriptions, RoundTripThroughStatementsMeanWhatWasTyped) {
    const std::string typed = GetParam();
    db->Execute("UPDATE Category SET CategoryDesc=" + dao::QuoteText(typed) + " WHERE CategoryID=1");
    EXPECT_EQ(Rows(*db, "SELECT CategoryID, CategoryDesc FROM Category ORDER BY CategoryID"),
              (Table{{"1", typed}, {"2", "Other"}}));
    EXPECT_EQ(Rows(*db, "SELECT CategoryID FROM Category WHERE CategoryDesc=" + dao::QuoteText(typed)),
              (Table{{"1"}}));
    // The same text typed again finds the row, through a dynaset as the editor opens it.
    auto rs = db->OpenRecordset("SELECT * FROM Category WHERE CategoryDesc=" + dao::QuoteText(typed),
                                dao::dbOpenDynaset);
    ASSERT_FALSE(rs->Eof());
    EXPECT_EQ(rs->Fields("CategoryDesc").Value().AsString(), typed);
}

INSTANTIATE_TEST_SUITE_P(Typed, Descriptions,
                         testing::Values("He said \"hi\"", "\"", "\"\"", "x\" OR \"1\"=\"1",
                                         "x\"; DELETE * FROM Category", "O'Brien", "ends with \"",
                                         "[brackets]", "* FROM", "Caf\xE9 \x80uro", "  "));

TEST_F(Descriptions, ComparisonIgnoresLetterCase) {
    EXPECT_EQ(Rows(*db, "SELECT CategoryID FROM Category WHERE CategoryDesc=\"UTILITIES\""), (Table{{"1"}}));
    EXPECT_EQ(Rows(*db, "SELECT CategoryID FROM Category WHERE CategoryDesc=\"utilities\""), (Table{{"1"}}));
    EXPECT_EQ(Rows(*db, "SELECT CategoryID FROM Category WHERE CategoryDesc=\"utility\""), Table{});
}

TEST_F(Descriptions, TextIsStoredAsUtf8ForOtherTools) {
    daotest::AddCategory(*db, "Caf\xE9");
    db->Close();
    sqlite3* raw = nullptr;
    ASSERT_EQ(sqlite3_open_v2(file.Path().c_str(), &raw, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(raw, "SELECT CategoryDesc FROM Category WHERE CategoryID=3", -1, &stmt, nullptr);
    ASSERT_EQ(sqlite3_step(stmt), SQLITE_ROW);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0))), "Caf\xC3\xA9");
    sqlite3_finalize(stmt);
    sqlite3_close(raw);
}

TEST_F(Descriptions, NullStaysNull) {
    auto rs = db->OpenRecordset("Category", dao::dbOpenDynaset);
    rs->AddNew();
    rs->Update();
    EXPECT_EQ(Rows(*db, "SELECT CategoryDesc FROM Category WHERE CategoryID=3"), (Table{{"<Null>"}}));
    auto check =
        db->OpenRecordset("SELECT CategoryDesc FROM Category WHERE CategoryID=3", dao::dbOpenSnapshot);
    try {
        check->Fields("CategoryDesc").Value().AsString();
        FAIL() << "Null read as text";
    } catch (const vbrt::VbError& e) {
        EXPECT_EQ(e.Number(), 94);
    }
}

class Transactions : public testing::Test {
protected:
    void SetUp() override {
        db = file.Open();
        daotest::AddCategory(*db, "Utilities");
        daotest::AddProcedure(*db, {"Keep", "Sub", 1, {"Sub Keep()", "End Sub"}});
        daotest::AddProcedure(*db, {"Drop", "Sub", 1, {"Sub Drop()", "End Sub"}});
    }
    daotest::LibraryFile file;
    std::unique_ptr<dao::Database> db;
};

TEST_F(Transactions, RollbackUndoesRemovingLinesThenHeaders) {
    db->BeginTrans();
    db->Execute("DELETE * FROM ProcedureLine WHERE ProcedureHeaderID IN (2)");
    db->Execute("DELETE * FROM ProcedureHeader WHERE ProcedureHeaderID IN (2)");
    db->Rollback();
    EXPECT_EQ(daotest::Count(*db, "ProcedureLine"), 4);
    EXPECT_EQ(daotest::Count(*db, "ProcedureHeader"), 2);
}

TEST_F(Transactions, AFailureInsideLeavesNothingHalfDone) {
    try {
        dao::Transaction transaction(*db);
        db->Execute("DELETE * FROM ProcedureLine WHERE ProcedureHeaderID IN (1)");
        db->Execute("DELETE * FROM Category WHERE CategoryID=1");  // 3200
        transaction.Commit();
        FAIL() << "committed";
    } catch (const vbrt::VbError& e) {
        EXPECT_EQ(e.Number(), 3200);
    }
    EXPECT_EQ(daotest::Count(*db, "ProcedureLine"), 4);
}

TEST_F(Transactions, HeaderWithoutItsLinesIsNeverStored) {
    {
        dao::Transaction transaction(*db);
        auto headers = db->OpenRecordset("ProcedureHeader", dao::dbOpenDynaset, dao::dbAppendOnly);
        headers->AddNew();
        headers->Collect("Name", "Half");
        headers->Update();
        // No Commit: the scope ends as a failure would end it.
    }
    EXPECT_EQ(daotest::Count(*db, "ProcedureHeader"), 2);
}

TEST_F(Transactions, NestedLevelsCommitAndRollBackSeparately) {
    db->BeginTrans();
    db->Execute("UPDATE ProcedureHeader SET Name=\"Outer\" WHERE ProcedureHeaderID=1");
    db->BeginTrans();
    db->Execute("UPDATE ProcedureHeader SET Name=\"Inner\" WHERE ProcedureHeaderID=2");
    db->Rollback();
    db->CommitTrans();
    EXPECT_FALSE(db->InTransaction());
    EXPECT_EQ(Rows(*db, "SELECT Name FROM ProcedureHeader"), (Table{{"Outer"}, {"Drop"}}));
}

TEST_F(Transactions, ClosingRollsBackAndOthersCanWriteAgain) {
    db->BeginTrans();
    db->Execute("DELETE * FROM ProcedureLine");
    db->Close();
    auto other = file.Open();
    EXPECT_EQ(daotest::Count(*other, "ProcedureLine"), 4);
    other->Execute("DELETE * FROM ProcedureLine WHERE ProcedureHeaderID=2");
    EXPECT_EQ(daotest::Count(*other, "ProcedureLine"), 2);
}

class Snapshots : public testing::Test {
protected:
    static constexpr int kRows = 1000;  // more than are read ahead
    void SetUp() override {
        db = file.Open();
        daotest::AddCategory(*db, "Utilities");
        db->Execute(
            "INSERT INTO ProcedureHeader (Name, Type, CategoryID) WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL "
            "SELECT i+1 FROM n WHERE i<1000) SELECT printf(\"P%04d\", i), \"Sub\", 1 FROM n");
    }
    daotest::LibraryFile file;
    std::unique_ptr<dao::Database> db;
};

TEST_F(Snapshots, StayCopiesWhenTheSameDatabaseWritesWhileTheyAreRead) {
    auto rs = db->OpenRecordset("SELECT ProcedureHeaderID, Name FROM ProcedureHeader", dao::dbOpenSnapshot);
    for (int i = 0; i < 10; ++i) rs->MoveNext();
    db->Execute("DELETE * FROM ProcedureHeader WHERE ProcedureHeaderID > 5");
    db->Execute("UPDATE ProcedureHeader SET Name=\"Changed\"");
    long seen = 10;
    for (; !rs->Eof(); rs->MoveNext()) {
        ++seen;
        EXPECT_EQ(rs->Fields("Name").Value().AsString().substr(0, 1), "P");
    }
    EXPECT_EQ(seen, kRows);
    EXPECT_EQ(rs->RecordCount(), kRows);
    EXPECT_EQ(daotest::Count(*db, "ProcedureHeader"), 5);
}

TEST_F(Snapshots, AClosedHalfReadSnapshotLetsOthersWrite) {
    auto rs = db->OpenRecordset("SELECT * FROM ProcedureHeader", dao::dbOpenSnapshot);
    rs->MoveNext();
    auto other = file.Open();
    try {
        other->Execute("DELETE * FROM ProcedureHeader");
        FAIL() << "wrote while the snapshot was being read";
    } catch (const vbrt::VbError& e) {
        EXPECT_EQ(e.Number(), 3218);
    }
    rs->Close();
    other->Execute("DELETE * FROM ProcedureHeader");
    EXPECT_EQ(daotest::Count(*other, "ProcedureHeader"), 0);
}

TEST_F(Snapshots, ReadToTheEndReleaseTheFile) {
    auto rs = db->OpenRecordset("SELECT * FROM ProcedureHeader", dao::dbOpenSnapshot);
    while (!rs->Eof()) rs->MoveNext();
    auto other = file.Open();
    other->Execute("DELETE * FROM ProcedureHeader");
    EXPECT_TRUE(rs->Eof());
}

std::vector<std::string> TableNames(dao::Database& db) {
    std::vector<std::string> names;
    for (const dao::TableDef& def : db.TableDefs()) names.push_back(def.Name());
    return names;
}

TEST(TableDefs, ListTheLibraryTablesTheSystemOnesAndForeignOnes) {
    daotest::LibraryFile file;
    auto db = file.Open();
    const std::vector<std::string> fresh = TableNames(*db);
    for (const char* table : {"Category", "ProcedureHeader", "ProcedureLine", "MSysObjects", "MSysSequence"})
        EXPECT_NE(std::find(fresh.begin(), fresh.end(), table), fresh.end()) << table;
    for (const std::string& name : fresh) {
        const bool library = name == "Category" || name == "ProcedureHeader" || name == "ProcedureLine";
        EXPECT_TRUE(library || name.rfind("MSys", 0) == 0) << name;
    }
    db->Execute("CREATE TABLE Invoices (InvoiceID INTEGER PRIMARY KEY, Total REAL)");
    const std::vector<std::string> after = TableNames(*db);
    EXPECT_EQ(after.size(), fresh.size() + 1);
    EXPECT_NE(std::find(after.begin(), after.end(), "Invoices"), after.end());
}

TEST(TableDefs, SystemTablesCanBeReadByTheirJetNames) {
    daotest::LibraryFile file;
    auto db = file.Open();
    auto rs = db->OpenRecordset("MSysObjects", dao::dbOpenSnapshot);
    EXPECT_FALSE(rs->Eof());
    EXPECT_NO_THROW(rs->Fields("name"));
}

}  // namespace
