#pragma once
// The run time's errors for bad property values and list indexes, with VB's texts,
// and the selection rule text controls share.
#include <algorithm>

#include "vbrt/VbError.h"

namespace forms::detail {

inline constexpr long kInvalidPropertyValue = 380;
inline constexpr long kInvalidArrayIndex = 381;
inline constexpr long kTextReadOnly = 383;

[[noreturn]] inline void RaiseInvalidValue() {
    vbrt::Raise(kInvalidPropertyValue, "Invalid property value");
}
[[noreturn]] inline void RaiseInvalidIndex() {
    vbrt::Raise(kInvalidArrayIndex, "Invalid property array index");
}
[[noreturn]] inline void RaiseInvalidCall() {
    vbrt::Raise(vbrt::err::InvalidCall);
}

// A text selection kept inside a text of `size` characters; false when it did not change.
inline bool ClampSelection(long size, long start, long length, long& selStart, long& selLength) {
    start = std::clamp(start, 0L, size);
    length = std::clamp(length, 0L, size - start);
    if (start == selStart && length == selLength) return false;
    selStart = start;
    selLength = length;
    return true;
}

}  // namespace forms::detail
