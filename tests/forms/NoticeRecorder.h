#pragma once
// Test helpers: records a control's change notices and counts raised events.
#include <map>
#include <string>
#include <vector>

#include "forms/Controls.h"

namespace formstest {

class NoticeRecorder {
public:
    explicit NoticeRecorder(forms::Control& control) {
        control.OnChanged([this](forms::Prop what) { notices.push_back(what); });
    }
    int Count(forms::Prop what) const {
        int n = 0;
        for (auto p : notices) n += p == what ? 1 : 0;
        return n;
    }
    std::vector<forms::Prop> notices;
};

// Appends "<name>" to a shared log whenever an event fires.
class EventLog {
public:
    template <class... Args>
    void Watch(forms::Event<Args...>& event, std::string name) {
        event.Connect([this, name](Args...) { entries.push_back(name); });
    }
    int Count(const std::string& name) const {
        int n = 0;
        for (const auto& e : entries) n += e == name ? 1 : 0;
        return n;
    }
    std::vector<std::string> entries;
};

}  // namespace formstest
