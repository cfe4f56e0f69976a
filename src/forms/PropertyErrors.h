#pragma once
// The run time's errors for bad property values and list indexes, with VB's texts.
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

}  // namespace forms::detail
