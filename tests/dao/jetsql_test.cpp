// Reading Jet statements for SQLite: literals, DELETE *, and which table a
// statement is about.
#include "dao/JetSql.h"

#include <gtest/gtest.h>

#include "dao/Errors.h"
#include "dao/LibraryFixture.h"

namespace {

using dao::StatementKind;

struct JetRow {
    const char* name;
    const char* jet;
    const char* sqlite;  // nullptr: the statement as written
    StatementKind kind;
    const char* table;
    bool distinct = false;
};

class Translation : public testing::TestWithParam<JetRow> {};

TEST_P(Translation, ReadsJetAsSqliteAndFindsKindAndTable) {
    const JetRow& row = GetParam();
    const auto st = dao::TranslateJet(row.jet);
    EXPECT_EQ(st.sql, row.sqlite ? row.sqlite : row.jet);
    EXPECT_EQ(st.kind, row.kind);
    EXPECT_EQ(st.table, row.table);
    EXPECT_EQ(st.distinct, row.distinct);
}

INSTANTIATE_TEST_SUITE_P(
    Statements, Translation,
    testing::Values(
        JetRow{"DeleteStar", "DELETE * FROM ProcedureLine WHERE ProcedureHeaderID IN (1, 2)",
               "DELETE FROM ProcedureLine WHERE ProcedureHeaderID IN (1, 2)", StatementKind::Delete,
               "ProcedureLine"},
        JetRow{"DeleteStarLowerCase", "delete  *  from X", "delete  from X", StatementKind::Delete, "X"},
        JetRow{"PlainDelete", "DELETE FROM X WHERE a=1", nullptr, StatementKind::Delete, "X"},
        JetRow{"SelectStarKept", "SELECT * FROM Category WHERE CategoryID=3", nullptr, StatementKind::Select,
               "Category"},
        JetRow{"SelectNoClause", "SELECT CategoryID FROM Category", nullptr, StatementKind::Select,
               "Category"},
        JetRow{"BracketsAndOrder", " select a from [ProcedureLine] order by a", nullptr,
               StatementKind::Select, "ProcedureLine"},
        JetRow{"DoubleQuotedLiteral", "SELECT * FROM Category WHERE CategoryDesc=\"Utilities\"",
               "SELECT * FROM Category WHERE CategoryDesc='Utilities'", StatementKind::Select, "Category"},
        JetRow{"DoubledQuoteInside", "UPDATE Category SET CategoryDesc=\"say \"\"hi\"\"\" WHERE CategoryID=1",
               "UPDATE Category SET CategoryDesc='say \"hi\"' WHERE CategoryID=1", StatementKind::Update,
               "Category"},
        JetRow{"LiteralThatTriesToEndTheStatement",
               "SELECT * FROM Category WHERE CategoryDesc=\"x\"\" OR \"\"1\"\"=\"\"1\"",
               "SELECT * FROM Category WHERE CategoryDesc='x\" OR \"1\"=\"1'", StatementKind::Select,
               "Category"},
        JetRow{"ApostropheInside", "SELECT 1 FROM T WHERE a=\"O'Brien\"",
               "SELECT 1 FROM T WHERE a='O''Brien'", StatementKind::Select, "T"},
        JetRow{"SingleQuotedLiteral", "SELECT 1 FROM T WHERE a='it''s'", nullptr, StatementKind::Select, "T"},
        JetRow{"StarInsideLiteral", "DELETE FROM T WHERE a=\"* FROM\"", "DELETE FROM T WHERE a='* FROM'",
               StatementKind::Delete, "T"},
        JetRow{"EmptyLiteral", "SELECT 1 FROM T WHERE a=\"\"", "SELECT 1 FROM T WHERE a=''",
               StatementKind::Select, "T"},
        JetRow{"Join", "SELECT * FROM A, B", nullptr, StatementKind::Select, ""},
        JetRow{"Alias", "SELECT * FROM A AS x", nullptr, StatementKind::Select, ""},
        JetRow{"Subquery", "SELECT (SELECT 1 FROM Z) AS q FROM A WHERE 1", nullptr, StatementKind::Select,
               "A"},
        JetRow{"Distinct", "SELECT DISTINCT Type FROM ProcedureHeader", nullptr, StatementKind::Select,
               "ProcedureHeader", true},
        JetRow{"Insert", "INSERT INTO Category (CategoryDesc) VALUES (\"a\")",
               "INSERT INTO Category (CategoryDesc) VALUES ('a')", StatementKind::Insert, "Category"},
        JetRow{"Other", "CREATE TABLE T (a)", nullptr, StatementKind::Other, ""}),
    [](const auto& info) { return info.param.name; });

TEST(Translation, UnterminatedLiteralIsASyntaxError) {
    EXPECT_EQ(daotest::ErrorOf([] { dao::TranslateJet("SELECT * FROM Category WHERE CategoryDesc=\"open"); }),
              dao::jet::SyntaxError);
}

TEST(QuoteText, DoublesInnerQuotes) {
    EXPECT_EQ(dao::QuoteText(""), "\"\"");
    EXPECT_EQ(dao::QuoteText("\""), "\"\"\"\"");
    EXPECT_EQ(dao::QuoteText("a \"b\" c"), "\"a \"\"b\"\" c\"");
}

TEST(TableName, TellsNamesFromStatements) {
    EXPECT_TRUE(dao::IsTableName("ProcedureHeader"));
    EXPECT_TRUE(dao::IsTableName("[Procedure Header]"));
    EXPECT_FALSE(dao::IsTableName("SELECT * FROM Category"));
    EXPECT_FALSE(dao::IsTableName(""));
    EXPECT_EQ(dao::BareName("[Procedure Header]"), "Procedure Header");
}

}  // namespace
