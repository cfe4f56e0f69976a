#include "settings/Options.h"

#include <charconv>
#include <string_view>

#include "vbrt/Text.h"
#include "vbrt/VbError.h"

namespace pv {
namespace {

bool ParseInteger(const std::string& value, long long& out) {
    // CBool/CInt accept surrounding blanks and a leading sign.
    std::size_t first = value.find_first_not_of(' ');
    std::size_t last = value.find_last_not_of(' ');
    if (first == std::string::npos) return false;
    std::string_view digits(value.data() + first, last - first + 1);
    if (!digits.empty() && digits.front() == '+') digits.remove_prefix(1);
    // One sign at most: from_chars would take the "-" of "+-5".
    if (digits.empty() || (value[first] == '+' && digits.front() == '-')) return false;
    auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), out);
    return ec == std::errc() && end == digits.data() + digits.size();
}

}  // namespace

bool IsOneLine(const std::string& text) {
    return text.find_first_of(std::string_view("\r\n\0", 3)) == std::string::npos;
}

std::string ReadOption(vbrt::SettingsStore& store, const std::string& key, const std::string& defaultValue) {
    std::string value = vbrt::GetSetting(store, kAppName, kSection, key, defaultValue);
    if (!IsOneLine(value))
        vbrt::Raise(vbrt::err::TypeMismatch,
                    "Type mismatch: the setting " + key +
                        " holds a line break or a NUL character; it must be one line of text");
    return value;
}

void WriteOption(vbrt::SettingsStore& store, const std::string& key, const std::string& value) {
    vbrt::SaveSetting(store, kAppName, kSection, key, value);
}

bool ToFlag(const std::string& value) {
    if (vbrt::EqualsText(value, "True")) return true;
    if (vbrt::EqualsText(value, "False")) return false;
    long long number = 0;
    if (!ParseInteger(value, number)) vbrt::Raise(vbrt::err::TypeMismatch);
    return number != 0;
}

int ToInteger(const std::string& value) {
    long long number = 0;
    if (!ParseInteger(value, number) || number < -32768 || number > 32767)
        vbrt::Raise(vbrt::err::TypeMismatch);
    return static_cast<int>(number);
}

bool ReadFlag(vbrt::SettingsStore& store, const std::string& key, const std::string& defaultValue) {
    return ToFlag(ReadOption(store, key, defaultValue));
}

namespace {
std::string ReadOrInitialise(vbrt::SettingsStore& store, const char* key, const char* initial) {
    std::string value = ReadOption(store, key, "");
    if (value.empty()) {
        WriteOption(store, key, initial);
        value = initial;
    }
    return value;
}
}  // namespace

std::string ReadCommentPrefix(vbrt::SettingsStore& store) {
    return ReadOrInitialise(store, key::CommentPrefix, kDefaultCommentPrefix);
}

std::string ReadIndentLevel(vbrt::SettingsStore& store) {
    return ReadOrInitialise(store, key::IndentLevel, kDefaultIndentLevel);
}

std::string ReadErrorMessageForEditing(vbrt::SettingsStore& store) {
    return ReadOrInitialise(store, key::ErrorMessage, kDefaultErrorMessage);
}

void InitialiseHeaderKeys(vbrt::SettingsStore& store) {
    WriteOption(store, key::ShowCommentStubs, "0");
    WriteOption(store, key::ShowProcedureName, "0");
    WriteOption(store, key::ShowCreatedBy, "0");
    WriteOption(store, key::CreatedByName, "");
    WriteOption(store, key::ShowDateCreated, "0");
    WriteOption(store, key::ShowParameters, "0");
    WriteOption(store, key::ShowOutput, "0");
    WriteOption(store, key::ShowPurpose, "0");
}

}  // namespace pv
