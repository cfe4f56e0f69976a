#pragma once
// Test helpers: records a control's change notices and names the events raised.
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

class EventLog {
public:
    template <class... Args>
    void Watch(forms::Event<Args...>& event, std::string name) {
        event.Connect([this, name](Args...) { entries.push_back(name); });
    }
    int Count(const std::string& name) const { return static_cast<int>(std::ranges::count(entries, name)); }
    std::vector<std::string> entries;
};

// The VB error number an action raises, 0 when it raises none.
template <class F>
long ErrorOf(F&& action) {
    try {
        action();
    } catch (const vbrt::VbError& e) {
        return e.Number();
    }
    return 0;
}

}  // namespace formstest
