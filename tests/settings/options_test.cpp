#include <gtest/gtest.h>

#include "settings/Options.h"
#include "vbrt/VbError.h"

namespace {

using pv::ToFlag;

struct FlagRow {
    const char* name;
    const char* stored;
    bool expected;
};

class FlagDecoding : public ::testing::TestWithParam<FlagRow> {};

TEST_P(FlagDecoding, ReadsAsVbDoes) { EXPECT_EQ(ToFlag(GetParam().stored), GetParam().expected); }

INSTANTIATE_TEST_SUITE_P(Values, FlagDecoding,
                         ::testing::Values(FlagRow{"TrueWord", "True", true}, FlagRow{"LowerTrue", "true", true},
                                           FlagRow{"One", "1", true}, FlagRow{"MinusOne", "-1", true},
                                           FlagRow{"AnyNumber", "42", true}, FlagRow{"FalseWord", "False", false},
                                           FlagRow{"UpperFalse", "FALSE", false}, FlagRow{"Zero", "0", false},
                                           FlagRow{"PaddedZero", " 0 ", false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(FlagDecoding, TextThatIsNeitherWordNorNumberIsATypeMismatch) {
    for (const char* bad : {"", "yes", "on", "1x", "True1", "--1"}) {
        try {
            ToFlag(bad);
            ADD_FAILURE() << "accepted '" << bad << "'";
        } catch (const vbrt::VbError& e) {
            EXPECT_EQ(e.Number(), 13) << bad;
            EXPECT_EQ(e.Description(), "Type mismatch");
        }
    }
}

TEST(IntegerDecoding, AcceptsDecimalNumbersOnly) {
    EXPECT_EQ(pv::ToInteger("1"), 1);
    EXPECT_EQ(pv::ToInteger("-1"), -1);
    EXPECT_THROW(pv::ToInteger("True"), vbrt::VbError);
    EXPECT_THROW(pv::ToInteger("99999"), vbrt::VbError);  // outside a 16-bit Integer
}

TEST(SelfInitialisingReads, EmptyStoreGetsTheDefaultsWrittenBack) {
    vbrt::MemorySettingsStore store;
    EXPECT_EQ(pv::ReadCommentPrefix(store), "' ");
    EXPECT_EQ(pv::ReadIndentLevel(store), "0");
    EXPECT_EQ(pv::ReadOption(store, "CommentPrefix", "unset"), "' ");
    EXPECT_EQ(pv::ReadOption(store, "IndentLevel", "unset"), "0");
}

TEST(SelfInitialisingReads, StoredEmptyPrefixIsReplacedButOthersAreKept) {
    vbrt::MemorySettingsStore store;
    pv::WriteOption(store, "CommentPrefix", "");
    pv::WriteOption(store, "IndentLevel", "2");
    EXPECT_EQ(pv::ReadCommentPrefix(store), "' ");
    EXPECT_EQ(pv::ReadIndentLevel(store), "2");
    EXPECT_EQ(store.Values().at({"Procvault", "Options", "IndentLevel"}), "2");
}

TEST(SelfInitialisingReads, EmptyErrorMessageBecomesTheDefaultTemplate) {
    vbrt::MemorySettingsStore store;
    pv::WriteOption(store, "ErrorMessage", "");
    const std::string message = pv::ReadErrorMessageForEditing(store);
    EXPECT_EQ(message, "MsgBox Err.Description & \" \" & Err.Number, vbCritical, \"<NAME>()\"");
    EXPECT_EQ(message.size(), 65u);
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
