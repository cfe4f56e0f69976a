#pragma once
// A field's value as DAO hands it out: a variant that is Null, a whole number,
// a floating number or text. Reading Null as a number or as text raises VB's
// error 94 "Invalid use of Null", as assigning a Null field to a typed variable does.
#include <cstdint>
#include <string>
#include <variant>

namespace dao {

class Value {
public:
    Value() = default;  // Null
    Value(int v) : v_(static_cast<std::int64_t>(v)) {}
    Value(long v) : v_(static_cast<std::int64_t>(v)) {}
    Value(long long v) : v_(static_cast<std::int64_t>(v)) {}
    Value(double v) : v_(v) {}
    Value(std::string v) : v_(std::move(v)) {}
    Value(const char* v) : v_(std::string(v)) {}

    static Value Null() { return Value(); }

    bool IsNull() const { return std::holds_alternative<std::monostate>(v_); }
    bool IsInteger() const { return std::holds_alternative<std::int64_t>(v_); }
    bool IsDouble() const { return std::holds_alternative<double>(v_); }
    bool IsText() const { return std::holds_alternative<std::string>(v_); }

    // Numbers: an integer as is, a double rounded as VB's CLng does (banker's
    // rounding), text that reads wholly as a number; otherwise error 13.
    std::int64_t AsInt64() const;
    // As AsInt64, error 6 "Overflow" outside the 32-bit range.
    std::int32_t AsLong() const;
    double AsDouble() const;
    // Text as is; numbers in their shortest decimal form.
    std::string AsString() const;
    // AsString, or "" for Null (VB's  value & "").
    std::string ToText() const;

    friend bool operator==(const Value& a, const Value& b) = default;

    const std::variant<std::monostate, std::int64_t, double, std::string>& Raw() const { return v_; }

private:
    std::variant<std::monostate, std::int64_t, double, std::string> v_;
};

}  // namespace dao
