// Every statement the library dialogs issue, as written, against a real file.
#include <gtest/gtest.h>

#include "dao/Errors.h"
#include "dao/JetSql.h"
#include "dao/LibraryFixture.h"

namespace {

using daotest::Rows;
using Table = std::vector<std::vector<std::string>>;

class LibraryStatements : public testing::Test {
protected:
    void SetUp() override {
        db = file.Open();
        daotest::AddCategory(*db, "Utilities");  // 1
        daotest::AddCategory(*db, "Strings");    // 2
        daotest::AddCategory(*db, "Files");      // 3
        daotest::AddProcedure(*db,
                              {"GetValue", "Function", 1, {"Public Function GetValue()", "End Function"}});
        daotest::AddProcedure(*db, {"TrimAll", "Sub", 2, {"Sub TrimAll()", "", "End Sub"}});
        daotest::AddProcedure(*db, {"OpenLog", "Sub", 1, {"Sub OpenLog()", "End Sub"}});
    }
    daotest::LibraryFile file;
    std::unique_ptr<dao::Database> db;
};

struct ReadRow {
    const char* name;
    const char* statement;
    Table rows;
};

class ReadStatements : public LibraryStatements, public testing::WithParamInterface<ReadRow> {};

TEST_P(ReadStatements, GiveExactlyTheseRows) {
    EXPECT_EQ(Rows(*db, GetParam().statement), GetParam().rows);
}

INSTANTIATE_TEST_SUITE_P(
    AsWritten, ReadStatements,
    testing::Values(
        ReadRow{
            "AllHeaders",
            "SELECT ProcedureHeaderID, Name, Type, CategoryID FROM ProcedureHeader",
            {{"1", "GetValue", "Function", "1"}, {"2", "TrimAll", "Sub", "2"}, {"3", "OpenLog", "Sub", "1"}}},
        ReadRow{"CategoriesByKey",
                "SELECT CategoryID, CategoryDesc FROM Category ORDER BY CategoryID",
                {{"1", "Utilities"}, {"2", "Strings"}, {"3", "Files"}}},
        ReadRow{"ChosenHeaders",
                "SELECT ProcedureHeaderID FROM ProcedureHeader WHERE ProcedureHeaderID IN (3,1)",
                {{"1"}, {"3"}}},
        ReadRow{"ChosenLinesMixedCaseIn",
                "SELECT ProcedureLineID, ProcedureHeaderID, Line FROM ProcedureLine WHERE ProcedureHeaderID "
                "In (3,1) "
                "ORDER BY ProcedureLineID",
                {{"1", "1", "Public Function GetValue()"},
                 {"2", "1", "End Function"},
                 {"6", "3", "Sub OpenLog()"},
                 {"7", "3", "End Sub"}}},
        ReadRow{"PreviewLines",
                "SELECT * FROM ProcedureLine WHERE ProcedureHeaderID IN (2, 1) ORDER BY ProcedureLineID",
                {{"1", "1", "Public Function GetValue()"},
                 {"2", "1", "End Function"},
                 {"3", "2", "Sub TrimAll()"},
                 {"4", "2", "<Null>"},
                 {"5", "2", "End Sub"}}},
        ReadRow{"CategoryTableWhole", "Category", {{"1", "Utilities"}, {"2", "Strings"}, {"3", "Files"}}},
        ReadRow{"CategoryByDescriptionAnyCase",
                "SELECT * FROM Category WHERE CategoryDesc=\"sTRINGS\"",
                {{"2", "Strings"}}},
        ReadRow{"OtherCategories", "SELECT CategoryID FROM Category WHERE CategoryID <> 2", {{"1"}, {"3"}}},
        ReadRow{"CategoryByKey", "SELECT * FROM Category WHERE CategoryID=3", {{"3", "Files"}}},
        ReadRow{"NoMatch", "SELECT * FROM Category WHERE CategoryID=99", {}}),
    [](const auto& info) { return info.param.name; });

struct WriteRow {
    const char* name;
    std::vector<const char*> statements;
    const char* check;
    Table rows;
};

class WriteStatements : public LibraryStatements, public testing::WithParamInterface<WriteRow> {};

TEST_P(WriteStatements, ChangeExactlyTheseRows) {
    for (const char* statement : GetParam().statements) db->Execute(statement);
    EXPECT_EQ(Rows(*db, GetParam().check), GetParam().rows);
}

INSTANTIATE_TEST_SUITE_P(
    AsWritten, WriteStatements,
    testing::Values(WriteRow{"RemoveProcedures",
                             {"DELETE * FROM ProcedureLine WHERE ProcedureHeaderID IN (1, 3)",
                              "DELETE * FROM ProcedureHeader WHERE ProcedureHeaderID IN (1, 3)"},
                             "SELECT ProcedureLineID, ProcedureHeaderID FROM ProcedureLine",
                             {{"3", "2"}, {"4", "2"}, {"5", "2"}}},
                    WriteRow{"RemoveProceduresLeavesOtherHeaders",
                             {"DELETE * FROM ProcedureLine WHERE ProcedureHeaderID IN (1, 3)",
                              "DELETE * FROM ProcedureHeader WHERE ProcedureHeaderID IN (1, 3)"},
                             "SELECT ProcedureHeaderID, Name FROM ProcedureHeader",
                             {{"2", "TrimAll"}}},
                    WriteRow{"MoveToCategory",
                             {"UPDATE ProcedureHeader SET CategoryID=3 WHERE ProcedureHeaderID IN (1, 2)"},
                             "SELECT ProcedureHeaderID, CategoryID FROM ProcedureHeader",
                             {{"1", "3"}, {"2", "3"}, {"3", "1"}}},
                    WriteRow{"RenameCategory",
                             {"UPDATE Category SET CategoryDesc=\"Tools\" WHERE CategoryID=1"},
                             "SELECT CategoryID, CategoryDesc FROM Category ORDER BY CategoryID",
                             {{"1", "Tools"}, {"2", "Strings"}, {"3", "Files"}}}),
    [](const auto& info) { return info.param.name; });

TEST_F(LibraryStatements, ExecuteCountsTheRowsItChanged) {
    db->Execute("DELETE * FROM ProcedureLine WHERE ProcedureHeaderID IN (2)");
    EXPECT_EQ(db->RecordsAffected(), 3);
}

TEST_F(LibraryStatements, DeletingAnUnusedCategoryThroughADynaset) {
    auto rs = db->OpenRecordset("SELECT * FROM Category WHERE CategoryID=3", dao::dbOpenDynaset);
    ASSERT_FALSE(rs->Eof());
    rs->Delete();
    rs->Close();
    EXPECT_EQ(Rows(*db, "SELECT CategoryID FROM Category"), (Table{{"1"}, {"2"}}));
}

TEST_F(LibraryStatements, DeletingAUsedCategoryIsRefusedWith3200) {
    auto rs = db->OpenRecordset("SELECT * FROM Category WHERE CategoryID=1", dao::dbOpenDynaset);
    try {
        rs->Delete();
        FAIL() << "deleted";
    } catch (const vbrt::VbError& e) {
        EXPECT_EQ(e.Number(), 3200);
        EXPECT_EQ(e.Description(),
                  "The record cannot be deleted or changed because table 'ProcedureHeader' includes related "
                  "records.");
    }
    EXPECT_EQ(daotest::Count(*db, "Category"), 3);
    // Statements get the same answer.
    try {
        db->Execute("DELETE * FROM Category WHERE CategoryID=2");
        FAIL() << "deleted";
    } catch (const vbrt::VbError& e) {
        EXPECT_EQ(e.Number(), 3200);
    }
}

TEST_F(LibraryStatements, AProcedureNeedsAnExistingCategory) {
    try {
        db->Execute("UPDATE ProcedureHeader SET CategoryID=42 WHERE ProcedureHeaderID=1");
        FAIL() << "updated";
    } catch (const vbrt::VbError& e) {
        EXPECT_EQ(e.Number(), 3201);
        EXPECT_NE(e.Description().find("'Category'"), std::string::npos);
    }
}

TEST_F(LibraryStatements, AutoNumberIsReadableBeforeUpdateAndIsTheSavedKey) {
    auto rs = db->OpenRecordset("SELECT * FROM Category WHERE CategoryDesc=\"Network\"", dao::dbOpenDynaset);
    EXPECT_TRUE(rs->Eof());
    rs->AddNew();
    rs->Collect("CategoryDesc", "Network");
    const long id = rs->Fields("CategoryID").Value().AsLong();
    EXPECT_EQ(rs->Fields("CategoryDesc").Value(), dao::Value("Network"));
    rs->Update();
    EXPECT_EQ(id, 4);
    EXPECT_TRUE(rs->Eof());
    EXPECT_EQ(Rows(*db, "SELECT * FROM Category WHERE CategoryID=4"), (Table{{"4", "Network"}}));
}

TEST_F(LibraryStatements, KeysOfDeletedRowsAreNeverHandedOutAgain) {
    db->Execute("DELETE * FROM ProcedureLine");
    db->Execute("DELETE * FROM ProcedureHeader");
    const long id = daotest::AddProcedure(*db, {"Again", "Sub", 1, {"Sub Again()", "End Sub"}});
    EXPECT_EQ(id, 4);
    EXPECT_EQ(Rows(*db, "SELECT ProcedureLineID FROM ProcedureLine"), (Table{{"8"}, {"9"}}));
}

TEST_F(LibraryStatements, CancelledAddNewSavesNothingAndReleasesTheLock) {
    auto rs = db->OpenRecordset("Category", dao::dbOpenDynaset);
    rs->AddNew();
    rs->Collect("CategoryDesc", "Draft");
    rs->CancelUpdate();
    auto other = file.Open();
    other->Execute("UPDATE Category SET CategoryDesc=\"Tools\" WHERE CategoryID=1");
    EXPECT_EQ(daotest::Count(*db, "Category"), 3);
}

TEST_F(LibraryStatements, EditChangesTheCurrentRow) {
    auto rs = db->OpenRecordset("SELECT * FROM ProcedureHeader WHERE Name=\"trimall\"", dao::dbOpenDynaset);
    rs->Edit();
    rs->Collect("Name", "TrimBoth");
    rs->Update();
    EXPECT_EQ(rs->Fields("Name").Value(), dao::Value("TrimBoth"));
    EXPECT_EQ(Rows(*db, "SELECT Name FROM ProcedureHeader WHERE ProcedureHeaderID=2"), (Table{{"TrimBoth"}}));
}

struct MisuseRow {
    const char* name;
    void (*act)(dao::Database&);
    long number;
};

class Misuse : public LibraryStatements, public testing::WithParamInterface<MisuseRow> {};

TEST_P(Misuse, RaisesJetsNumber) {
    try {
        GetParam().act(*db);
        FAIL() << "no error";
    } catch (const vbrt::VbError& e) {
        EXPECT_EQ(e.Number(), GetParam().number) << e.Description();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Engine, Misuse,
    testing::Values(
        MisuseRow{"MissingTable",
                  [](dao::Database& db) { db.OpenRecordset("Procedures", dao::dbOpenSnapshot); }, 3078},
        MisuseRow{"MissingTableInStatement",
                  [](dao::Database& db) { db.OpenRecordset("SELECT * FROM Procs", dao::dbOpenSnapshot); },
                  3078},
        MisuseRow{"MissingField",
                  [](dao::Database& db) {
                      db.OpenRecordset("SELECT Nme FROM ProcedureHeader", dao::dbOpenSnapshot);
                  },
                  3070},
        MisuseRow{
            "UnknownFieldName",
            [](dao::Database& db) { db.OpenRecordset("Category", dao::dbOpenSnapshot)->Fields("Nope"); },
            3265},
        MisuseRow{"MoveNextPastEnd",
                  [](dao::Database& db) {
                      auto rs =
                          db.OpenRecordset("SELECT * FROM Category WHERE CategoryID=99", dao::dbOpenSnapshot);
                      rs->MoveNext();
                  },
                  3021},
        MisuseRow{
            "ReadAtEnd",
            [](dao::Database& db) {
                db.OpenRecordset("SELECT * FROM Category WHERE 0", dao::dbOpenSnapshot)->Fields(0).Value();
            },
            3021},
        MisuseRow{"AddToSnapshot",
                  [](dao::Database& db) { db.OpenRecordset("Category", dao::dbOpenSnapshot)->AddNew(); },
                  3027},
        MisuseRow{"AssignWithoutAddNew",
                  [](dao::Database& db) {
                      db.OpenRecordset("Category", dao::dbOpenDynaset)->Collect("CategoryDesc", "x");
                  },
                  3020},
        MisuseRow{"AssignTheAutoNumber",
                  [](dao::Database& db) {
                      auto rs = db.OpenRecordset("Category", dao::dbOpenDynaset);
                      rs->AddNew();
                      rs->Collect("CategoryID", 9);
                  },
                  3164},
        MisuseRow{"ExecuteASelect", [](dao::Database& db) { db.Execute("SELECT * FROM Category"); }, 3065},
        MisuseRow{
            "SecondStatement",
            [](dao::Database& db) { db.Execute("DELETE * FROM Category WHERE 0; DROP TABLE Category"); },
            3142},
        MisuseRow{"SyntaxError", [](dao::Database& db) { db.Execute("DELETE * FROM WHERE"); }, 3075},
        MisuseRow{"CommitWithoutBegin", [](dao::Database& db) { db.CommitTrans(); }, 3034},
        MisuseRow{"UseAfterClose",
                  [](dao::Database& db) {
                      db.Close();
                      db.Execute("DELETE * FROM ProcedureLine");
                  },
                  3420},
        MisuseRow{"RecordsetAfterDatabaseClosed",
                  [](dao::Database& db) {
                      auto rs = db.OpenRecordset("Category", dao::dbOpenSnapshot);
                      db.Close();
                      rs->Eof();
                  },
                  3420}),
    [](const auto& info) { return info.param.name; });

}  // namespace
