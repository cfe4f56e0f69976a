#include "dao/Value.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "vbrt/VbError.h"

namespace dao {
namespace {

constexpr long kInvalidUseOfNull = 94;
constexpr long kOverflow = 6;

[[noreturn]] void RaiseNull() {
    throw vbrt::VbError(kInvalidUseOfNull, "Invalid use of Null");
}

std::string_view Trimmed(const std::string& s) {
    const auto first = s.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    const auto last = s.find_last_not_of(' ');
    return std::string_view(s).substr(first, last - first + 1);
}

double ParseNumber(const std::string& text) {
    std::string_view digits = Trimmed(text);
    if (!digits.empty() && digits.front() == '+') digits.remove_prefix(1);
    double out = 0;
    auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), out);
    if (digits.empty() || ec != std::errc() || end != digits.data() + digits.size())
        vbrt::Raise(vbrt::err::TypeMismatch);
    return out;
}

}  // namespace

std::int64_t Value::AsInt64() const {
    if (IsNull()) RaiseNull();
    if (const auto* i = std::get_if<std::int64_t>(&v_)) return *i;
    const double d = IsDouble() ? std::get<double>(v_) : ParseNumber(std::get<std::string>(v_));
    const double rounded = std::nearbyint(d);  // default rounding mode: to even
    if (!(rounded >= -9.2e18 && rounded <= 9.2e18)) throw vbrt::VbError(kOverflow, "Overflow");
    return static_cast<std::int64_t>(rounded);
}

std::int32_t Value::AsLong() const {
    const std::int64_t v = AsInt64();
    if (v < std::numeric_limits<std::int32_t>::min() || v > std::numeric_limits<std::int32_t>::max())
        throw vbrt::VbError(kOverflow, "Overflow");
    return static_cast<std::int32_t>(v);
}

double Value::AsDouble() const {
    if (IsNull()) RaiseNull();
    if (const auto* i = std::get_if<std::int64_t>(&v_)) return static_cast<double>(*i);
    if (const auto* d = std::get_if<double>(&v_)) return *d;
    return ParseNumber(std::get<std::string>(v_));
}

std::string Value::AsString() const {
    if (IsNull()) RaiseNull();
    return ToText();
}

std::string Value::ToText() const {
    if (IsNull()) return {};
    if (const auto* s = std::get_if<std::string>(&v_)) return *s;
    char buffer[32];
    const auto result = IsInteger()
                            ? std::to_chars(buffer, buffer + sizeof buffer, std::get<std::int64_t>(v_))
                            : std::to_chars(buffer, buffer + sizeof buffer, std::get<double>(v_));
    return std::string(buffer, result.ptr);
}

}  // namespace dao
