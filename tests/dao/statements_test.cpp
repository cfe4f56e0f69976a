// Every statement the library dialogs issue, as written, against a real file.
#include <gtest/gtest.h>

#include "dao/LibraryFixture.h"

namespace {

using daotest::ErrorOf;
using daotest::Flat;
using Library = daotest::SampleLibrary;

struct StatementRow {
    std::vector<const char*> executed;  // empty: a read
    long affected;                      // by the last one executed
    const char* check;
    const char* rows;  // as Flat() gives them
};

class AsWritten : public Library, public testing::WithParamInterface<StatementRow> {};

TEST_P(AsWritten, GiveOrLeaveExactlyTheseRows) {
    for (const char* statement : GetParam().executed) db->Execute(statement);
    EXPECT_EQ(GetParam().executed.empty() ? 0 : db->RecordsAffected(), GetParam().affected);
    EXPECT_EQ(Flat(*db, GetParam().check), GetParam().rows);
}

constexpr const char* kRemove[] = {"DELETE * FROM ProcedureLine WHERE ProcedureHeaderID IN (1, 3)",
                                   "DELETE * FROM ProcedureHeader WHERE ProcedureHeaderID IN (1, 3)"};

// Reads at edges the dialogs' tests do not reach, and how many rows each change touched.
// clang-format off
INSTANTIATE_TEST_SUITE_P(Library, AsWritten, testing::Values(
    StatementRow{{}, 0, "SELECT ProcedureLineID, ProcedureHeaderID, Line FROM ProcedureLine WHERE "
                 "ProcedureHeaderID In (3,1) ORDER BY ProcedureLineID",
                 "1,1,Public Function GetValue()|2,1,End Function|6,3,Sub OpenLog()|7,3,End Sub"},
    StatementRow{{}, 0, "SELECT * FROM ProcedureLine WHERE ProcedureHeaderID IN (2, 1) ORDER BY ProcedureLineID",
                 "1,1,Public Function GetValue()|2,1,End Function|3,2,Sub TrimAll()|4,2,<Null>|5,2,End Sub"},
    StatementRow{{}, 0, "SELECT * FROM Category WHERE CategoryDesc=\"sTRINGS\"", "2,Strings"},
    StatementRow{{}, 0, "SELECT * FROM Category WHERE CategoryDesc=\"String\"", ""},
    StatementRow{{}, 0, "SELECT CategoryID FROM Category WHERE CategoryID <> 2", "1|3"},
    StatementRow{{kRemove[0], kRemove[1]}, 2, "SELECT ProcedureLineID, ProcedureHeaderID FROM ProcedureLine",
                 "3,2|4,2|5,2"},
    StatementRow{{"DELETE * FROM ProcedureLine WHERE ProcedureHeaderID IN (2)"}, 3, "ProcedureHeader",
                 "1,GetValue,Function,1|2,TrimAll,Sub,2|3,OpenLog,Sub,1"},
    StatementRow{{"UPDATE ProcedureHeader SET CategoryID=3 WHERE ProcedureHeaderID IN (1, 2)"}, 2,
                 "SELECT ProcedureHeaderID, CategoryID FROM ProcedureHeader", "1,3|2,3|3,1"}));
// clang-format on

TEST_F(Library, DynasetDeletesAnUnusedCategoryButRefusesAUsedOneWith3200) {
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
    EXPECT_EQ(Flat(*db, "SELECT CategoryID FROM Category"), "1|2");
}

TEST_F(Library, AutoNumberIsReadableBeforeUpdateAndIsTheSavedKey) {
    auto rs = db->OpenRecordset("SELECT * FROM Category WHERE CategoryDesc=\"Network\"", dao::dbOpenDynaset);
    EXPECT_TRUE(rs->Eof());
    EXPECT_EQ(daotest::AddRow(*rs, "CategoryID", {{"CategoryDesc", "Network"}}), 4);
    EXPECT_TRUE(rs->Eof());
    EXPECT_EQ(Flat(*db, "SELECT * FROM Category WHERE CategoryID=4"), "4,Network");
}

TEST_F(Library, KeysOfDeletedRowsAreNeverHandedOutAgain) {
    db->Execute("DELETE * FROM ProcedureLine");
    db->Execute("DELETE * FROM ProcedureHeader");
    EXPECT_EQ(daotest::AddProcedure(*db, {"Again", "Sub", 1, {"Sub Again()", "End Sub"}}), 4);
    EXPECT_EQ(Flat(*db, "SELECT ProcedureLineID FROM ProcedureLine"), "8|9");
}

TEST_F(Library, CancelledAddNewSavesNothingAndReleasesTheLock) {
    auto rs = db->OpenRecordset("Category", dao::dbOpenDynaset);
    rs->AddNew();
    rs->Collect("CategoryDesc", "Draft");
    rs->CancelUpdate();
    file.Open()->Execute("UPDATE Category SET CategoryDesc=\"Tools\" WHERE CategoryID=1");
    EXPECT_EQ(Flat(*db, "Category"), "1,Tools|2,Strings|3,Files");
}

TEST_F(Library, EditChangesTheCurrentRow) {
    auto rs = db->OpenRecordset("SELECT * FROM ProcedureHeader WHERE Name=\"trimall\"", dao::dbOpenDynaset);
    rs->Edit();
    rs->Collect("Name", "TrimBoth");
    rs->Update();
    EXPECT_EQ(rs->Fields("Name").Value(), dao::Value("TrimBoth"));
    EXPECT_EQ(Flat(*db, "SELECT Name FROM ProcedureHeader"), "GetValue|TrimBoth|OpenLog");
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
    MisuseRow{[](Database& db) { db.Execute("UPDATE ProcedureHeader SET CategoryID=42"); }, 3201, "'Category'"},
    MisuseRow{[](Database& db) { Snap(db, "Procedures"); }, 3078},
    MisuseRow{[](Database& db) { Snap(db, "SELECT * FROM Procs"); }, 3078},
    MisuseRow{[](Database& db) { Snap(db, "SELECT Nme FROM ProcedureHeader"); }, 3070},
    MisuseRow{[](Database& db) { Snap(db, "Category")->Fields("Nope"); }, 3265},
    MisuseRow{[](Database& db) { Snap(db, "SELECT * FROM Category WHERE 0")->MoveNext(); }, 3021},
    MisuseRow{[](Database& db) { Snap(db, "SELECT * FROM Category WHERE 0")->Fields(0).Value(); }, 3021},
    MisuseRow{[](Database& db) { Snap(db, "Category")->AddNew(); }, 3027},
    MisuseRow{[](Database& db) { db.OpenRecordset("Category", dao::dbOpenDynaset)->Collect("CategoryDesc", "x"); }, 3020},
    MisuseRow{[](Database& db) { daotest::AddRow(*db.OpenRecordset("Category", dao::dbOpenDynaset), "CategoryID", {{"CategoryID", 9}}); },
              3164},
    MisuseRow{[](Database& db) { db.Execute("SELECT * FROM Category"); }, 3065},
    MisuseRow{[](Database& db) { db.Execute("DELETE * FROM ProcedureLine WHERE 0; DROP TABLE ProcedureHeader"); }, 3142},
    MisuseRow{[](Database& db) { db.Execute("DELETE * FROM WHERE"); }, 3075},
    MisuseRow{[](Database& db) { db.CommitTrans(); }, 3034},
    MisuseRow{[](Database& db) { db.Close(); db.Execute("DELETE * FROM ProcedureLine"); }, 3420},
    MisuseRow{[](Database& db) { auto rs = Snap(db, "Category"); db.Close(); rs->Eof(); }, 3420}));
// clang-format on

}  // namespace
