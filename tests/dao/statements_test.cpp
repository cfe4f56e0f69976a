// Every statement the library dialogs issue, as written, against a real file.
#include <gtest/gtest.h>

#include "dao/LibraryFixture.h"

namespace {

using daotest::ErrorOf;
using daotest::Rows;
using daotest::Table;

using LibraryStatements = daotest::SampleLibrary;

struct StatementRow {
    const char* name;
    std::vector<const char*> executed;  // empty: a read
    long affected;                      // by the last one executed
    const char* check;
    Table rows;
};

class AsWritten : public LibraryStatements, public testing::WithParamInterface<StatementRow> {};

TEST_P(AsWritten, GiveOrLeaveExactlyTheseRows) {
    for (const char* statement : GetParam().executed) db->Execute(statement);
    if (!GetParam().executed.empty()) {
        EXPECT_EQ(db->RecordsAffected(), GetParam().affected);
    }
    EXPECT_EQ(Rows(*db, GetParam().check), GetParam().rows);
}

INSTANTIATE_TEST_SUITE_P(
    Library, AsWritten,
    testing::Values(
        StatementRow{
            "AllHeaders",
            {},
            0,
            "SELECT ProcedureHeaderID, Name, Type, CategoryID FROM ProcedureHeader",
            {{"1", "GetValue", "Function", "1"}, {"2", "TrimAll", "Sub", "2"}, {"3", "OpenLog", "Sub", "1"}}},
        StatementRow{"CategoriesByKey",
                     {},
                     0,
                     "SELECT CategoryID, CategoryDesc FROM Category ORDER BY CategoryID",
                     {{"1", "Utilities"}, {"2", "Strings"}, {"3", "Files"}}},
        StatementRow{"ChosenHeaders",
                     {},
                     0,
                     "SELECT ProcedureHeaderID FROM ProcedureHeader WHERE ProcedureHeaderID IN (3,1)",
                     {{"1"}, {"3"}}},
        StatementRow{
            "ChosenLinesMixedCaseIn",
            {},
            0,
            "SELECT ProcedureLineID, ProcedureHeaderID, Line FROM ProcedureLine WHERE ProcedureHeaderID "
            "In (3,1) ORDER BY ProcedureLineID",
            {{"1", "1", "Public Function GetValue()"},
             {"2", "1", "End Function"},
             {"6", "3", "Sub OpenLog()"},
             {"7", "3", "End Sub"}}},
        StatementRow{"PreviewLines",
                     {},
                     0,
                     "SELECT * FROM ProcedureLine WHERE ProcedureHeaderID IN (2, 1) ORDER BY ProcedureLineID",
                     {{"1", "1", "Public Function GetValue()"},
                      {"2", "1", "End Function"},
                      {"3", "2", "Sub TrimAll()"},
                      {"4", "2", "<Null>"},
                      {"5", "2", "End Sub"}}},
        StatementRow{
            "CategoryTableWhole", {}, 0, "Category", {{"1", "Utilities"}, {"2", "Strings"}, {"3", "Files"}}},
        StatementRow{"CategoryByDescriptionAnyCase",
                     {},
                     0,
                     "SELECT * FROM Category WHERE CategoryDesc=\"sTRINGS\"",
                     {{"2", "Strings"}}},
        StatementRow{
            "DescriptionIsNoPrefix", {}, 0, "SELECT * FROM Category WHERE CategoryDesc=\"String\"", {}},
        StatementRow{"OtherCategories",
                     {},
                     0,
                     "SELECT CategoryID FROM Category WHERE CategoryID <> 2",
                     {{"1"}, {"3"}}},
        StatementRow{"CategoryByKey", {}, 0, "SELECT * FROM Category WHERE CategoryID=3", {{"3", "Files"}}},
        StatementRow{"NoMatch", {}, 0, "SELECT * FROM Category WHERE CategoryID=99", {}},
        StatementRow{"RemoveProcedures",
                     {"DELETE * FROM ProcedureLine WHERE ProcedureHeaderID IN (1, 3)",
                      "DELETE * FROM ProcedureHeader WHERE ProcedureHeaderID IN (1, 3)"},
                     2,
                     "SELECT ProcedureLineID, ProcedureHeaderID FROM ProcedureLine",
                     {{"3", "2"}, {"4", "2"}, {"5", "2"}}},
        StatementRow{"RemoveProceduresLeavesOtherHeaders",
                     {"DELETE * FROM ProcedureLine WHERE ProcedureHeaderID IN (1, 3)",
                      "DELETE * FROM ProcedureHeader WHERE ProcedureHeaderID IN (1, 3)"},
                     2,
                     "SELECT ProcedureHeaderID, Name FROM ProcedureHeader",
                     {{"2", "TrimAll"}}},
        StatementRow{"RemoveLinesCountsThem",
                     {"DELETE * FROM ProcedureLine WHERE ProcedureHeaderID IN (2)"},
                     3,
                     "SELECT ProcedureLineID FROM ProcedureLine WHERE ProcedureHeaderID=2",
                     {}},
        StatementRow{"MoveToCategory",
                     {"UPDATE ProcedureHeader SET CategoryID=3 WHERE ProcedureHeaderID IN (1, 2)"},
                     2,
                     "SELECT ProcedureHeaderID, CategoryID FROM ProcedureHeader",
                     {{"1", "3"}, {"2", "3"}, {"3", "1"}}},
        StatementRow{"RenameCategory",
                     {"UPDATE Category SET CategoryDesc=\"Tools\" WHERE CategoryID=1"},
                     1,
                     "SELECT CategoryID, CategoryDesc FROM Category ORDER BY CategoryID",
                     {{"1", "Tools"}, {"2", "Strings"}, {"3", "Files"}}}),
    [](const auto& info) { return info.param.name; });

TEST_F(LibraryStatements, DynasetDeletesAnUnusedCategoryButRefusesAUsedOneWith3200) {
    std::string description;
    auto used = db->OpenRecordset("SELECT * FROM Category WHERE CategoryID=1", dao::dbOpenDynaset);
    EXPECT_EQ(ErrorOf([&] { used->Delete(); }, &description), 3200);
    EXPECT_EQ(
        description,
        "The record cannot be deleted or changed because table 'ProcedureHeader' includes related records.");
    auto unused = db->OpenRecordset("SELECT * FROM Category WHERE CategoryID=3", dao::dbOpenDynaset);
    ASSERT_FALSE(unused->Eof());
    unused->Delete();
    unused->Close();
    EXPECT_EQ(Rows(*db, "SELECT CategoryID FROM Category"), (Table{{"1"}, {"2"}}));
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
    EXPECT_EQ(daotest::AddProcedure(*db, {"Again", "Sub", 1, {"Sub Again()", "End Sub"}}), 4);
    EXPECT_EQ(Rows(*db, "SELECT ProcedureLineID FROM ProcedureLine"), (Table{{"8"}, {"9"}}));
}

TEST_F(LibraryStatements, CancelledAddNewSavesNothingAndReleasesTheLock) {
    auto rs = db->OpenRecordset("Category", dao::dbOpenDynaset);
    rs->AddNew();
    rs->Collect("CategoryDesc", "Draft");
    rs->CancelUpdate();
    file.Open()->Execute("UPDATE Category SET CategoryDesc=\"Tools\" WHERE CategoryID=1");
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
    const char* named = "";  // a part of the description
};

class Misuse : public LibraryStatements, public testing::WithParamInterface<MisuseRow> {};

TEST_P(Misuse, RaisesJetsNumberAndChangesNothing) {
    std::string description;
    EXPECT_EQ(ErrorOf([&] { GetParam().act(*db); }, &description), GetParam().number) << description;
    EXPECT_NE(description.find(GetParam().named), std::string::npos) << description;
    if (GetParam().number != 3420) {
        EXPECT_EQ(Rows(*db, "SELECT * FROM ProcedureHeader").size(), 3u);
    }
}

using dao::Database;
INSTANTIATE_TEST_SUITE_P(
    Engine, Misuse,
    testing::Values(
        MisuseRow{"DeleteUsedCategory",
                  [](Database& db) { db.Execute("DELETE * FROM Category WHERE CategoryID=2"); }, 3200,
                  "'ProcedureHeader'"},
        MisuseRow{"MissingCategory",
                  [](Database& db) {
                      db.Execute("UPDATE ProcedureHeader SET CategoryID=42 WHERE ProcedureHeaderID=1");
                  },
                  3201, "'Category'"},
        MisuseRow{"MissingTable", [](Database& db) { db.OpenRecordset("Procedures", dao::dbOpenSnapshot); },
                  3078},
        MisuseRow{"MissingTableInStatement",
                  [](Database& db) { db.OpenRecordset("SELECT * FROM Procs", dao::dbOpenSnapshot); }, 3078},
        MisuseRow{
            "MissingField",
            [](Database& db) { db.OpenRecordset("SELECT Nme FROM ProcedureHeader", dao::dbOpenSnapshot); },
            3070},
        MisuseRow{"UnknownFieldName",
                  [](Database& db) { db.OpenRecordset("Category", dao::dbOpenSnapshot)->Fields("Nope"); },
                  3265},
        MisuseRow{"MoveNextPastEnd",
                  [](Database& db) {
                      db.OpenRecordset("SELECT * FROM Category WHERE CategoryID=99", dao::dbOpenSnapshot)
                          ->MoveNext();
                  },
                  3021},
        MisuseRow{
            "ReadAtEnd",
            [](Database& db) {
                db.OpenRecordset("SELECT * FROM Category WHERE 0", dao::dbOpenSnapshot)->Fields(0).Value();
            },
            3021},
        MisuseRow{"AddToSnapshot",
                  [](Database& db) { db.OpenRecordset("Category", dao::dbOpenSnapshot)->AddNew(); }, 3027},
        MisuseRow{"AssignWithoutAddNew",
                  [](Database& db) {
                      db.OpenRecordset("Category", dao::dbOpenDynaset)->Collect("CategoryDesc", "x");
                  },
                  3020},
        MisuseRow{"AssignTheAutoNumber",
                  [](Database& db) {
                      auto rs = db.OpenRecordset("Category", dao::dbOpenDynaset);
                      rs->AddNew();
                      rs->Collect("CategoryID", 9);
                  },
                  3164},
        MisuseRow{"ExecuteASelect", [](Database& db) { db.Execute("SELECT * FROM Category"); }, 3065},
        MisuseRow{"SecondStatement",
                  [](Database& db) {
                      db.Execute("DELETE * FROM ProcedureLine WHERE 0; DROP TABLE ProcedureHeader");
                  },
                  3142},
        MisuseRow{"SyntaxError", [](Database& db) { db.Execute("DELETE * FROM WHERE"); }, 3075},
        MisuseRow{"CommitWithoutBegin", [](Database& db) { db.CommitTrans(); }, 3034},
        MisuseRow{"UseAfterClose",
                  [](Database& db) {
                      db.Close();
                      db.Execute("DELETE * FROM ProcedureLine");
                  },
                  3420},
        MisuseRow{"RecordsetAfterDatabaseClosed",
                  [](Database& db) {
                      auto rs = db.OpenRecordset("Category", dao::dbOpenSnapshot);
                      db.Close();
                      rs->Eof();
                  },
                  3420}),
    [](const auto& info) { return info.param.name; });

}  // namespace
