#include "settings/Options.h"

#include <gtest/gtest.h>

#include "vbrt/VbError.h"

namespace {

TEST(StoredValues, FlagsAndIntegersReadAsVbDoes) {
    const std::pair<const char*, const char*> flags[] = {
        {"True", "1"},  {"true", "1"},   {"1", "1"},    {"-1", "1"},   {"42", "1"},   {"False", "0"},
        {"FALSE", "0"}, {"0", "0"},      {" 0 ", "0"},  {"", "13"},    {"yes", "13"}, {"on", "13"},
        {"1x", "13"},   {"True1", "13"}, {"--1", "13"}, {"+-0", "13"}, {"+5", "1"}};  // 13: Type mismatch
    for (const auto& [stored, expected] : flags) {
        try {
            EXPECT_EQ(pv::ToFlag(stored) ? "1" : "0", std::string(expected)) << stored;
        } catch (const vbrt::VbError& e) {
            EXPECT_EQ(std::to_string(e.Number()) + " " + e.Description(),
                      std::string(expected) + " Type mismatch")
                << stored;
        }
    }
    EXPECT_EQ(pv::ToInteger("-1"), -1);
    EXPECT_THROW(pv::ToInteger("True"), vbrt::VbError);
    EXPECT_THROW(pv::ToInteger("+-5"), vbrt::VbError);
    EXPECT_THROW(pv::ToInteger("99999"), vbrt::VbError);  // outside a 16-bit Integer
}

TEST(SelfInitialisingReads, MissingOrEmptyValuesGetTheirDefaultsWrittenBackOthersAreKept) {
    vbrt::MemorySettingsStore store;
    EXPECT_EQ(pv::ReadCommentPrefix(store) + "|" + pv::ReadIndentLevel(store), "' |0");
    EXPECT_EQ(
        pv::ReadOption(store, "CommentPrefix", "unset") + "|" + pv::ReadOption(store, "IndentLevel", "unset"),
        "' |0");
    pv::WriteOption(store, "CommentPrefix", "");
    pv::WriteOption(store, "IndentLevel", "2");
    pv::WriteOption(store, "ErrorMessage", "");
    EXPECT_EQ(pv::ReadCommentPrefix(store) + "|" + pv::ReadIndentLevel(store), "' |2");
    EXPECT_EQ(pv::ReadOption(store, "CommentPrefix", "unset"), "' ");
    EXPECT_EQ(pv::ReadErrorMessageForEditing(store),
              "MsgBox Err.Description & \" \" & Err.Number, vbCritical, \"<NAME>()\"");
}

// A value edited into the file with a line break would be pasted into code as a statement of its own.
TEST(StoredValues, ALineBreakOrNulInAnySettingIsType13AndNothingIsWritten) {
    const std::pair<const char*, std::string> rows[] = {
        {"CommentPrefix", "'\r\nX = 1"}, {"CreatedByName", "Ann\nKill \"C:\\x\""},
        {"ErrorMessage", std::string("MsgBox 1\0", 10)}, {"ShowCommentStubs", "1\r"}};
    for (const auto& [key, value] : rows) {
        vbrt::MemorySettingsStore store;
        pv::WriteOption(store, key, value);
        std::string said;
        try {
            key == std::string("CommentPrefix") ? pv::ReadCommentPrefix(store) : pv::ReadOption(store, key);
        } catch (const vbrt::VbError& e) {
            said = std::to_string(e.Number()) + " " + e.Description();
        }
        EXPECT_EQ(said.find("13 Type mismatch: the setting " + std::string(key) + " holds a line break"), 0u)
            << said;
        EXPECT_EQ(store.WriteCount(), 1) << key;
    }
}

// What a showing command's dialogs initialise is seen by them and never reaches the store beneath.
TEST(ReadOnlyView, KeepsWritesToItselfAndReadsThroughOtherwise) {
    vbrt::MemorySettingsStore store;
    pv::WriteOption(store, "IndentLevel", "1");
    vbrt::ReadOnlySettingsView view(store);
    EXPECT_EQ(pv::ReadCommentPrefix(view) + "|" + pv::ReadIndentLevel(view), "' |1");
    pv::InitialiseHeaderKeys(view);
    EXPECT_EQ(pv::ReadOption(view, "ShowOutput", "unset") + pv::ReadOption(store, "CommentPrefix", "unset"),
              "0unset");
    EXPECT_EQ(store.WriteCount(), 1);
}

TEST(HeaderKeys, InitialisationWritesTheEightKeysOnce) {
    vbrt::MemorySettingsStore store;
    pv::WriteOption(store, "CreatedByName", "Ann");
    pv::InitialiseHeaderKeys(store);
    EXPECT_EQ(store.WriteCount(), 9);
    for (const char* key : {"ShowCommentStubs", "ShowProcedureName", "ShowCreatedBy", "ShowDateCreated",
                            "ShowParameters", "ShowOutput", "ShowPurpose"})
        EXPECT_EQ(pv::ReadOption(store, key, "unset"), "0") << key;
    EXPECT_EQ(pv::ReadOption(store, "CreatedByName", "unset"), "");
}

}  // namespace
