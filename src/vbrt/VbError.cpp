#include "vbrt/VbError.h"

namespace vbrt {

std::string ErrorText(long number) {
    switch (number) {
    case err::InvalidCall: return "Invalid procedure call or argument";
    case err::SubscriptOutOfRange: return "Subscript out of range";
    case err::TypeMismatch: return "Type mismatch";
    case err::SubNotDefined: return "Sub or Function not defined";
    case err::FileNotFound: return "File not found";
    case err::BadFileMode: return "Bad file mode";
    case err::FileAlreadyExists: return "File already exists";
    case err::PermissionDenied: return "Permission denied";
    case err::PathFileAccess: return "Path/File access error";
    case err::PathNotFound: return "Path not found";
    case err::ObjectNotSet: return "Object variable or With block variable not set";
    default: return "Application-defined or object-defined error";
    }
}

void Raise(long number) { throw VbError(number, ErrorText(number)); }

void Raise(long number, std::string description) { throw VbError(number, std::move(description)); }

}  // namespace vbrt
