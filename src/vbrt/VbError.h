#pragma once
// A run-time failure with Visual Basic's shape: a number and a description.
// Host, engine, store and forms failures are all thrown as VbError, so the
// add-in's code can trap and report them the one standard way.
#include <stdexcept>
#include <string>

namespace vbrt {

class VbError : public std::runtime_error {
public:
    VbError(long number, std::string description)
        : std::runtime_error(description), number_(number), description_(std::move(description)) {}

    long Number() const noexcept { return number_; }
    const std::string& Description() const noexcept { return description_; }

private:
    long number_;
    std::string description_;
};

// The run time's own numbers, with the texts Visual Basic gives them.
namespace err {
inline constexpr long InvalidCall = 5;          // "Invalid procedure call or argument"
inline constexpr long SubscriptOutOfRange = 9;  // "Subscript out of range"
inline constexpr long TypeMismatch = 13;        // "Type mismatch"
inline constexpr long SubNotDefined = 35;       // "Sub or Function not defined"
inline constexpr long FileNotFound = 53;        // "File not found"
inline constexpr long BadFileMode = 54;         // "Bad file mode"
inline constexpr long FileAlreadyExists = 58;   // "File already exists"
inline constexpr long PermissionDenied = 70;    // "Permission denied"
inline constexpr long PathFileAccess = 75;      // "Path/File access error"
inline constexpr long PathNotFound = 76;        // "Path not found"
inline constexpr long ObjectNotSet = 91;        // "Object variable or With block variable not set"
}  // namespace err

[[noreturn]] void Raise(long number);
[[noreturn]] void Raise(long number, std::string description);
// The text Visual Basic shows for one of its own error numbers.
std::string ErrorText(long number);

}  // namespace vbrt
