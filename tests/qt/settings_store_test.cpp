#include <gtest/gtest.h>

#include "qt/QtSettingsStore.h"
#include "support/TempDir.h"

namespace {

using testsupport::TempDir;

class QtSettingsStoreTest : public ::testing::Test {
protected:
    TempDir dir;
    pvqt::QtSettingsStore store{QString::fromStdString(dir.Path().string())};
};

TEST_F(QtSettingsStoreTest, KeepsValuesExactlyIncludingBlanksAndQuotes) {
    const std::vector<std::string> values = {
        "' ", "", "  lead", "MsgBox Err.Description & \" \" & Err.Number", "a;b=c", "caf\xe9"};
    for (std::size_t i = 0; i < values.size(); ++i)
        store.Write("Procvault", "Options", "K" + std::to_string(i), values[i]);
    pvqt::QtSettingsStore fresh{QString::fromStdString(dir.Path().string())};
    for (std::size_t i = 0; i < values.size(); ++i)
        EXPECT_EQ(fresh.Read("Procvault", "Options", "K" + std::to_string(i)), values[i]) << i;
}

TEST_F(QtSettingsStoreTest, NeverWrittenIsDistinctFromEmpty) {
    EXPECT_FALSE(store.Read("Procvault", "Options", "CommentPrefix").has_value());
    store.Write("Procvault", "Options", "CommentPrefix", "");
    EXPECT_EQ(store.Read("Procvault", "Options", "CommentPrefix"), std::optional<std::string>(""));
}

TEST_F(QtSettingsStoreTest, SeesAChangeMadeToTheFileByAnotherProgram) {
    store.Write("Procvault", "Options", "IndentLevel", "0");
    EXPECT_EQ(store.Read("Procvault", "Options", "IndentLevel"), std::optional<std::string>("0"));
    testsupport::WriteBytes(dir / "Procvault/Procvault.ini",
                            "[Options]\nIndentLevel=1\nCommentPrefix=\"'X \"\n");
    EXPECT_EQ(store.Read("Procvault", "Options", "IndentLevel"), std::optional<std::string>("1"));
    EXPECT_EQ(store.Read("Procvault", "Options", "CommentPrefix"), std::optional<std::string>("'X "));
}

TEST_F(QtSettingsStoreTest, UsesOneSectionPerGroupAndOneFilePerApplication) {
    store.Write("Procvault", "Options", "CommentPrefix", "' ");
    store.Write("Other", "Options", "CommentPrefix", "Rem ");
    EXPECT_EQ(store.Read("Procvault", "Options", "CommentPrefix"), std::optional<std::string>("' "));
    EXPECT_FALSE(store.Read("Procvault", "Other", "CommentPrefix").has_value());
    const std::string ini = testsupport::ReadBytes(dir / "Procvault/Procvault.ini");
    EXPECT_NE(ini.find("[Options]"), std::string::npos) << ini;
}

}  // namespace
