#pragma once
// Test helpers: records a control's change notices; the VB error an action raises.
#include <algorithm>
#include <string>
#include <vector>

#include "forms/Controls.h"
#include "vbrt/VbError.h"

namespace formstest {

class NoticeRecorder {
public:
    explicit NoticeRecorder(forms::Control& control) {
        control.OnChanged([this](forms::Prop what) { notices.push_back(what); });
    }
    int Count(forms::Prop what) const { return static_cast<int>(std::ranges::count(notices, what)); }
    std::vector<forms::Prop> notices;
};

// The VB error an action raises, number 0 when it raises none.
template <class F>
vbrt::VbError Raised(F&& action) {
    try {
        action();
    } catch (const vbrt::VbError& e) {
        return e;
    }
    return vbrt::VbError(0, "");
}
template <class F>
long ErrorOf(F&& action) {
    return Raised(action).Number();
}

}  // namespace formstest
