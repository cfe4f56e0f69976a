// Reading Jet statements for SQLite: literals, DELETE *, and which table a
// statement is about.
#include "dao/JetSql.h"

#include <gtest/gtest.h>

#include "dao/Errors.h"

namespace {

struct TranslationRow {
    const char* name;
    const char* jet;
    const char* sqlite;
};

class Translation : public testing::TestWithParam<TranslationRow> {};

TEST_P(Translation, ReadsJetAsSqlite) {
    EXPECT_EQ(dao::TranslateJet(GetParam().jet).sql, GetParam().sqlite);
}

INSTANTIATE_TEST_SUITE_P(
    Statements, Translation,
    testing::Values(
        TranslationRow{"DeleteStar", "DELETE * FROM ProcedureLine WHERE ProcedureHeaderID IN (1, 2)",
                       "DELETE FROM ProcedureLine WHERE ProcedureHeaderID IN (1, 2)"},
        TranslationRow{"DeleteStarLowerCase", "delete  *  from X", "delete  from X"},
        TranslationRow{"PlainDelete", "DELETE FROM X WHERE a=1", "DELETE FROM X WHERE a=1"},
        TranslationRow{"SelectStarKept", "SELECT * FROM Category WHERE CategoryID=3",
                       "SELECT * FROM Category WHERE CategoryID=3"},
        TranslationRow{"DoubleQuotedLiteral", "SELECT * FROM Category WHERE CategoryDesc=\"Utilities\"",
                       "SELECT * FROM Category WHERE CategoryDesc='Utilities'"},
        TranslationRow{"DoubledQuoteInside",
                       "UPDATE Category SET CategoryDesc=\"say \"\"hi\"\"\" WHERE CategoryID=1",
                       "UPDATE Category SET CategoryDesc='say \"hi\"' WHERE CategoryID=1"},
        TranslationRow{"ApostropheInside", "SELECT 1 FROM T WHERE a=\"O'Brien\"",
                       "SELECT 1 FROM T WHERE a='O''Brien'"},
        TranslationRow{"SingleQuotedLiteral", "SELECT 1 FROM T WHERE a='it''s'",
                       "SELECT 1 FROM T WHERE a='it''s'"},
        TranslationRow{"StarInsideLiteral", "DELETE FROM T WHERE a=\"* FROM\"",
                       "DELETE FROM T WHERE a='* FROM'"},
        TranslationRow{"Brackets", "SELECT [Name] FROM [ProcedureHeader]",
                       "SELECT [Name] FROM [ProcedureHeader]"},
        TranslationRow{"EmptyLiteral", "SELECT 1 FROM T WHERE a=\"\"", "SELECT 1 FROM T WHERE a=''"}),
    [](const auto& info) { return info.param.name; });

TEST(Translation, LiteralThatTriesToEndTheStatementStaysALiteral) {
    const std::string desc = "x\" OR \"1\"=\"1";
    const auto st = dao::TranslateJet("SELECT * FROM Category WHERE CategoryDesc=" + dao::QuoteText(desc));
    EXPECT_EQ(st.sql, "SELECT * FROM Category WHERE CategoryDesc='x\" OR \"1\"=\"1'");
}

TEST(Translation, UnterminatedLiteralIsASyntaxError) {
    try {
        dao::TranslateJet("SELECT * FROM Category WHERE CategoryDesc=\"open");
        FAIL() << "no error";
    } catch (const vbrt::VbError& e) {
        EXPECT_EQ(e.Number(), dao::jet::SyntaxError);
    }
}

struct KindRow {
    const char* name;
    const char* jet;
    dao::StatementKind kind;
    const char* table;
    bool distinct;
};

class Classification : public testing::TestWithParam<KindRow> {};

TEST_P(Classification, FindsKindAndTable) {
    const auto st = dao::TranslateJet(GetParam().jet);
    EXPECT_EQ(st.kind, GetParam().kind);
    EXPECT_EQ(st.table, GetParam().table);
    EXPECT_EQ(st.distinct, GetParam().distinct);
}

INSTANTIATE_TEST_SUITE_P(
    Statements, Classification,
    testing::Values(KindRow{"SelectWhere", "SELECT * FROM Category WHERE CategoryID=1",
                            dao::StatementKind::Select, "Category", false},
                    KindRow{"SelectOrder", " select a from [ProcedureLine] order by a",
                            dao::StatementKind::Select, "ProcedureLine", false},
                    KindRow{"SelectNoClause", "SELECT CategoryID FROM Category", dao::StatementKind::Select,
                            "Category", false},
                    KindRow{"Join", "SELECT * FROM A, B", dao::StatementKind::Select, "", false},
                    KindRow{"Alias", "SELECT * FROM A AS x", dao::StatementKind::Select, "", false},
                    KindRow{"Subquery", "SELECT (SELECT 1 FROM Z) AS q FROM A WHERE 1",
                            dao::StatementKind::Select, "A", false},
                    KindRow{"Distinct", "SELECT DISTINCT Type FROM ProcedureHeader",
                            dao::StatementKind::Select, "ProcedureHeader", true},
                    KindRow{"Delete", "DELETE * FROM ProcedureHeader WHERE 1", dao::StatementKind::Delete,
                            "ProcedureHeader", false},
                    KindRow{"Update", "UPDATE ProcedureHeader SET CategoryID=2", dao::StatementKind::Update,
                            "ProcedureHeader", false},
                    KindRow{"Insert", "INSERT INTO Category (CategoryDesc) VALUES (\"a\")",
                            dao::StatementKind::Insert, "Category", false},
                    KindRow{"Other", "CREATE TABLE T (a)", dao::StatementKind::Other, "", false}),
    [](const auto& info) { return info.param.name; });

TEST(QuoteText, DoublesInnerQuotes) {
    EXPECT_EQ(dao::QuoteText("Utilities"), "\"Utilities\"");
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
