#include <gtest/gtest.h>

#include "vbrt/SettingsStore.h"
#include "vbrt/Text.h"
#include "vbrt/VbError.h"

namespace {

TEST(CompareText, IgnoresAsciiLetterCaseOnly) {
    struct Row {
        const char* a;
        const char* b;
        int sign;
    };
    const Row rows[] = {
        {"abc", "ABC", 0},    {"Get Total", "get total", 0}, {"(All)", "Accounts", -1}, {"a", "ab", -1},
        {"Zeta", "alpha", 1}, {"", "", 0},                   {"\xe9", "\xc9", 1},  // accented letters do not fold
    };
    for (const Row& row : rows) {
        const int result = vbrt::CompareText(row.a, row.b);
        EXPECT_EQ((result > 0) - (result < 0), row.sign) << row.a << " vs " << row.b;
    }
}

TEST(Cp1252, EveryDefinedByteSurvivesARoundTripThroughUtf8) {
    std::string all;
    for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
    EXPECT_EQ(vbrt::Utf8ToCp1252(vbrt::Cp1252ToUtf8(all)), all);
}

TEST(Cp1252, MapsTheWindowsOnlyCharacters) {
    EXPECT_EQ(vbrt::Cp1252ToUtf8("\x80"), "\xe2\x82\xac");  // euro sign
    EXPECT_EQ(vbrt::Cp1252ToUtf8("\xa3"), "\xc2\xa3");      // pound sign
    EXPECT_EQ(vbrt::Utf8ToCp1252("\xe2\x80\x9c"), "\x93");  // left double quote
    EXPECT_EQ(vbrt::Utf8ToCp1252("\xe4\xb8\xad"), "?");     // not in the code page
}

TEST(SettingsStore, UnwrittenKeysGiveTheReadersDefault) {
    vbrt::MemorySettingsStore store;
    EXPECT_EQ(vbrt::GetSetting(store, "Procvault", "Options", "CommentPrefix", "dflt"), "dflt");
    EXPECT_EQ(vbrt::GetSetting(store, "Procvault", "Options", "CommentPrefix"), "");
    vbrt::SaveSetting(store, "Procvault", "Options", "CommentPrefix", "");
    EXPECT_EQ(vbrt::GetSetting(store, "Procvault", "Options", "CommentPrefix", "dflt"), "");
    EXPECT_EQ(vbrt::GetSetting(store, "Other", "Options", "CommentPrefix", "x"), "x");
}

TEST(VbError, CarriesVisualBasicsTexts) {
    try {
        vbrt::Raise(35);
    } catch (const vbrt::VbError& e) {
        EXPECT_EQ(e.Number(), 35);
        EXPECT_EQ(e.Description(), "Sub or Function not defined");
    }
}

}  // namespace
