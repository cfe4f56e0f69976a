// Settings values as the preferences decode them. Every decoder gives a value
// or raises error 13 (Type mismatch), nothing else; ToInteger and ToFlag agree
// with a plain reading of their contract (blanks around an optional sign and
// decimal digits; "True"/"False" in any letter case for flags); a value stored
// and read back through the store is the same text, or refused with 13 when it
// holds a line break or a NUL; and Windows-1252 text
// survives the trip through UTF-8 that a UTF-8 store makes.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "settings/Options.h"
#include "vbrt/SettingsStore.h"
#include "vbrt/Text.h"
#include "vbrt/VbError.h"

namespace {

[[noreturn]] void Fail(const char* what, const std::string& value) {
    std::fprintf(stderr, "fuzz_settings: %s for value of %zu bytes\n", what, value.size());
    std::abort();
}

// Blanks, one optional sign, decimal digits, blanks. Nothing when the text is
// not that or the number does not fit in 18 digits (then either reading is fair).
struct Reference {
    bool number = false;
    bool huge = false;
    long long value = 0;
};

Reference ReferenceNumber(const std::string& text) {
    Reference ref;
    std::size_t i = 0, end = text.size();
    while (i < end && text[i] == ' ') ++i;
    while (end > i && text[end - 1] == ' ') --end;
    bool negative = false;
    if (i < end && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    if (i == end) return ref;
    std::size_t digits = 0;
    for (std::size_t k = i; k < end; ++k) {
        if (text[k] < '0' || text[k] > '9') return ref;
        if (digits > 0 || text[k] != '0') ++digits;
        if (digits <= 18) ref.value = ref.value * 10 + (text[k] - '0');
    }
    ref.number = true;
    ref.huge = digits > 18;
    if (negative) ref.value = -ref.value;
    return ref;
}

template <typename T>
std::optional<T> Decode(T (*decode)(const std::string&), const std::string& value) {
    try {
        return decode(value);
    } catch (const vbrt::VbError& e) {
        if (e.Number() != vbrt::err::TypeMismatch) Fail("error other than 13", value);
        return std::nullopt;
    }
}

void CheckInteger(const std::string& value) {
    const Reference ref = ReferenceNumber(value);
    const auto got = Decode(pv::ToInteger, value);
    const bool fits = ref.number && !ref.huge && ref.value >= -32768 && ref.value <= 32767;
    if (got.has_value() != fits)
        Fail(fits ? "ToInteger refused a number" : "ToInteger accepted a non-number", value);
    if (got && *got != ref.value) Fail("ToInteger read another number", value);
}

void CheckFlag(const std::string& value) {
    const Reference ref = ReferenceNumber(value);
    const auto got = Decode(pv::ToFlag, value);
    if (vbrt::EqualsText(value, "True") || vbrt::EqualsText(value, "False")) {
        if (got != vbrt::EqualsText(value, "True")) Fail("ToFlag misread True/False", value);
        return;
    }
    if (ref.huge) return;
    if (got.has_value() != ref.number)
        Fail(ref.number ? "ToFlag refused a number" : "ToFlag accepted junk", value);
    if (got && *got != (ref.value != 0)) Fail("ToFlag read the wrong truth", value);
}

// A stored value that is not one line (a line break or a NUL) is refused with 13 by every read.
bool RefusedAsNotOneLine(vbrt::SettingsStore& store, const std::string& value) {
    if (value.find_first_of(std::string("\r\n\0", 3)) == std::string::npos) return false;
    for (const char* key : {pv::key::ShowPurpose, pv::key::CommentPrefix}) {
        pv::WriteOption(store, key, value);
        try {
            pv::ReadOption(store, key, "0");
            Fail("a value of more than one line was read", value);
        } catch (const vbrt::VbError& e) {
            if (e.Number() != vbrt::err::TypeMismatch)
                Fail("a value of more than one line gave other than 13", value);
        }
    }
    return true;
}

void CheckStore(const std::string& value) {
    vbrt::MemorySettingsStore store;
    if (RefusedAsNotOneLine(store, value)) return;
    pv::WriteOption(store, pv::key::ShowPurpose, value);
    if (pv::ReadOption(store, pv::key::ShowPurpose, "0") != value) Fail("store gave back other text", value);
    std::optional<bool> flag;
    try {
        flag = pv::ReadFlag(store, pv::key::ShowPurpose);
    } catch (const vbrt::VbError& e) {
        if (e.Number() != vbrt::err::TypeMismatch) Fail("ReadFlag raised other than 13", value);
    }
    if (flag != Decode(pv::ToFlag, value)) Fail("ReadFlag and ToFlag disagree", value);
    // The self-initialising reads give the stored value, or the default for an empty one.
    pv::WriteOption(store, pv::key::CommentPrefix, value);
    const std::string prefix = pv::ReadCommentPrefix(store);
    if (prefix != (value.empty() ? pv::kDefaultCommentPrefix : value)) Fail("ReadCommentPrefix", value);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string value(reinterpret_cast<const char*>(data), size);
    CheckInteger(value);
    CheckFlag(value);
    CheckStore(value);
    if (vbrt::Utf8ToCp1252(vbrt::Cp1252ToUtf8(value)) != value)
        Fail("Windows-1252 text lost through UTF-8", value);
    return 0;
}
