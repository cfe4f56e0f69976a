#include "vbrt/Text.h"

#include <gtest/gtest.h>

#include "vbrt/SettingsStore.h"

namespace {

TEST(CompareText, IgnoresAsciiLetterCaseOnly) {
    const std::tuple<const char*, const char*, int> rows[] = {
        {"abc", "ABC", 0},  {"Get Total", "get total", 0}, {"(All)", "Accounts", -1},
        {"a", "ab", -1},    {"Zeta", "alpha", 1},          {"", "", 0},
        {"\xe9", "\xc9", 1}};  // accented letters do not fold
    for (const auto& [a, b, sign] : rows) {
        const int result = vbrt::CompareText(a, b);
        EXPECT_EQ((result > 0) - (result < 0), sign) << a << " vs " << b;
    }
}

TEST(Cp1252, EveryByteSurvivesARoundTripAndTheWindowsOnlyCharactersMap) {
    std::string all;
    for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
    EXPECT_EQ(vbrt::Utf8ToCp1252(vbrt::Cp1252ToUtf8(all)), all);
    EXPECT_EQ(vbrt::Cp1252ToUtf8("\x80\xa3"), "\xe2\x82\xac\xc2\xa3");   // euro and pound signs
    EXPECT_EQ(vbrt::Utf8ToCp1252("\xe2\x80\x9c\xe4\xb8\xad"), "\x93?");  // a left quote; one not in the page
}

// A file name is bytes: shown in a message, UTF-8 becomes the message's code page, anything else stays.
TEST(FileNameText, ConvertsUtf8NamesAndKeepsOtherBytes) {
    const std::tuple<const char*, std::string, std::string> rows[] = {
        {"Utf8NameConverted", "/tmp/c\xc3\xb8\xc3\xa9 \xc3\xbc/l.mdb", "/tmp/c\xf8\xe9 \xfc/l.mdb"},
        {"Latin1NameKept", "/tmp/\xfcn\xef.mdb", "/tmp/\xfcn\xef.mdb"},
        {"CutSequenceKept", "lib\xc3", "lib\xc3"},
        {"OverlongFormKept", "\xc0\xaf.mdb", "\xc0\xaf.mdb"}};
    for (const auto& [name, bytes, shown] : rows) EXPECT_EQ(vbrt::FileNameText(bytes), shown) << name;
}

TEST(SettingsStore, UnwrittenKeysGiveTheReadersDefault) {
    vbrt::MemorySettingsStore store;
    EXPECT_EQ(vbrt::GetSetting(store, "Procvault", "Options", "CommentPrefix", "dflt"), "dflt");
    EXPECT_EQ(vbrt::GetSetting(store, "Procvault", "Options", "CommentPrefix"), "");
    vbrt::SaveSetting(store, "Procvault", "Options", "CommentPrefix", "");
    EXPECT_EQ(vbrt::GetSetting(store, "Procvault", "Options", "CommentPrefix", "dflt"), "");
    EXPECT_EQ(vbrt::GetSetting(store, "Other", "Options", "CommentPrefix", "x"), "x");
}

}  // namespace
