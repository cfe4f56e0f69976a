// Searching the library by words: matching and ranking, the word index kept by the transactions that change
// lines, libraries made before the index, and a repaired file.
#include "library/LibrarySearch.h"

#include <gtest/gtest.h>

#include "dao/LibraryFixture.h"

namespace {

using daotest::AddProcedure;

// "key:lines" per hit, "*" after a key whose name holds every word; "|" after each.
std::string Found(dao::Database& db, const std::string& text) {
    std::string out;
    for (const pv::SearchHit& hit : pv::SearchLibrary(db, text, 0))
        out += std::to_string(hit.key) + (hit.nameMatch ? "*" : "") + ":" + std::to_string(hit.lines) + "|";
    return out;
}

// The sample's procedures 1-3, then 4 LogValue and 5 Report.
class Search : public daotest::SampleLibrary {
protected:
    void SetUp() override {
        SampleLibrary::SetUp();
        AddProcedure(*db, {"LogValue", "Sub", 3, {"Sub LogValue()", "End Sub"}});
        const std::vector<std::string> report = {"Function Report()",
                                                 "  Report = GetValue() & OpenLog(\"Gr\xF6\xDF\x65\")",
                                                 "  x = GetValue_Twice", "End Function"};
        AddProcedure(*db, {"Report", "Function", 3, report});
    }
    void Forget() {
        for (const char* name : {"ProcedureSearchInsert", "ProcedureSearchDelete", "ProcedureSearchUpdate"})
            db->QueryNative(std::string("DROP TRIGGER ") + name);
        db->QueryNative("DROP TABLE ProcedureSearch");
    }
    bool Indexed() {
        return !db->QueryNative("SELECT 1 FROM sqlite_master WHERE name='ProcedureSearch'").empty();
    }
};

TEST_F(Search, FindsEveryWordAsAWordStartOrInTheNameAndRanksNamesFirst) {
    // clang-format off
    struct Row { const char* name; std::string text, found; };
    const Row rows[] = {
        {"prefix of a line's word, and of a name", "GetVal", "1*:1|5:2|"},
        {"names holding the word first, then by matching lines", "log", "4*:1|3*:0|"},
        {"every word, in lines or the name", "Trim end", "2:2|"},
        {"one word missing: nothing", "GetValue nowhere", ""},
        {"underscore separates words; lines holding any word count", "getvalue_twi", "5:2|"},
        {"Windows-1252 letters, either case", "gr\xD6", "5:1|"},
        {"no letters or digits", " ()_ ", ""}};
    // clang-format on
    for (const Row& row : rows) EXPECT_EQ(Found(*db, row.text), row.found) << row.name;
}

TEST_F(Search, ForgetsWhatARemovalCommittedAndNothingElse) {
    for (bool commit : {false, true}) {
        {
            dao::Transaction transaction(*db);
            db->Execute("DELETE * FROM ProcedureLine WHERE ProcedureHeaderID IN (5)");
            db->Execute("DELETE * FROM ProcedureHeader WHERE ProcedureHeaderID IN (5)");
            if (commit) transaction.Commit();
        }
        EXPECT_EQ(Found(*db, "Twice"), commit ? "" : "5:1|") << commit;
    }
}

TEST_F(Search, GivesAnOlderLibraryTheIndexAtItsFirstSearchOrReadsALockedOneLineByLine) {
    PV_FILE_LIBRARY_ONLY();
    Forget();
    db = dao::DBEngine().OpenDatabase(file.Path(), false, true);
    EXPECT_EQ(Found(*db, "twice"), "5:1|");
    EXPECT_FALSE(Indexed());
    db = file.Open();
    EXPECT_EQ(Found(*db, "twice"), "5:1|");
    EXPECT_TRUE(Indexed());
    AddProcedure(*db, {"Twice", "Sub", 1, {"Sub Twice()"}});
    EXPECT_EQ(Found(*db, "twice"), "6*:1|5:1|");
    for (const dao::TableDef& table : db->TableDefs())
        EXPECT_EQ(table.Name().find("ProcedureSearch"), std::string::npos);
}

TEST_F(Search, RepairRebuildsADamagedIndexFromTheLines) {
    PV_FILE_LIBRARY_ONLY();
    const std::string before = Found(*db, "getvalue end");
    const long page = db->QueryNative("SELECT rootpage FROM sqlite_master WHERE name='ProcedureSearch_data'")
                          .at(0)
                          .at(0)
                          .AsLong();
    db->Close();
    std::string bytes = testsupport::ReadBytes(file.Path());
    bytes.replace((page - 1) * 4096, 4096, std::string(4096, '\xFF'));
    testsupport::WriteBytes(file.Path(), bytes);
    dao::DBEngine().RepairDatabase(file.Path());
    db = file.Open();
    EXPECT_EQ(Found(*db, "getvalue end"), before);
    EXPECT_NO_THROW(
        db->QueryNative("INSERT INTO ProcedureSearch (ProcedureSearch) VALUES ('integrity-check')"));
    AddProcedure(*db, {"Later", "Sub", 1, {"Sub Later()"}});
    EXPECT_EQ(Found(*db, "later"), "6*:1|");
}

}  // namespace
