#include "forms/Collation.h"

#include <unicode/ucol.h>

#include <array>
#include <memory>
#include <stdexcept>
#include <vector>

namespace forms {
namespace {

struct CollatorClose {
    void operator()(UCollator* collator) const { ucol_close(collator); }
};

// Secondary strength: accents count, letter case does not. Punctuation stays
// significant (non-ignorable), so "N_2" keeps its place before "N2".
UCollator* OpenCollator() {
    UErrorCode status = U_ZERO_ERROR;
    UCollator* collator = ucol_open("en_US", &status);
    if (U_FAILURE(status)) throw std::runtime_error("The list collation is not available");
    ucol_setStrength(collator, UCOL_SECONDARY);
    ucol_setAttribute(collator, UCOL_ALTERNATE_HANDLING, UCOL_NON_IGNORABLE, &status);
    return collator;
}

const UCollator& Collator() {
    static const std::unique_ptr<UCollator, CollatorClose> collator(OpenCollator());
    return *collator;
}

// Windows-1252 0x80..0x9F; the five unassigned bytes keep their C1 values.
constexpr std::array<char16_t, 32> kHigh{0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                         0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                         0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                         0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void ToUtf16(std::string_view text, std::vector<UChar>& out) {
    out.resize(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        out[i] = byte >= 0x80 && byte < 0xA0 ? kHigh[byte - 0x80] : static_cast<UChar>(byte);
    }
}

}  // namespace

std::string ListSortKey(std::string_view text) {
    thread_local std::vector<UChar> utf16;
    ToUtf16(text, utf16);
    const auto length = static_cast<int32_t>(utf16.size());
    std::string key(text.size() * 2 + 16, '\0');
    auto fill = [&] {
        return ucol_getSortKey(&Collator(), utf16.data(), length, reinterpret_cast<uint8_t*>(key.data()),
                               static_cast<int32_t>(key.size()));
    };
    int32_t needed = fill();
    if (needed > static_cast<int32_t>(key.size())) {
        key.resize(static_cast<std::size_t>(needed));
        needed = fill();
    }
    key.resize(needed > 0 ? static_cast<std::size_t>(needed - 1) : 0);  // without the closing zero
    return key;
}

int CompareListText(std::string_view a, std::string_view b) {
    // The collator's own comparison (with its fast path for Latin text) costs
    // a fraction of two sort keys: one call per entry when a list is filled in order.
    thread_local std::vector<UChar> left, right;
    ToUtf16(a, left);
    ToUtf16(b, right);
    return ucol_strcoll(&Collator(), left.data(), static_cast<int32_t>(left.size()), right.data(),
                        static_cast<int32_t>(right.size()));
}

}  // namespace forms
