#pragma once
// Helpers the host tests share: a standard module in memory, the error a call raises, split text.
#include <functional>
#include <string>
#include <vector>

#include "host/VBE.h"
#include "vbrt/VbError.h"

namespace hosttest {

// The pieces of text between separators ("" is one empty piece).
inline std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> pieces;
    for (std::size_t at = 0, next = 0; next != std::string::npos; at = next + 1)
        pieces.push_back(text.substr(at, (next = text.find(separator, at)) - at));
    return pieces;
}

// The error the call raised, or number 0 when it raised none.
inline vbrt::VbError ErrorOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const vbrt::VbError& e) {
        return e;
    }
    return vbrt::VbError(0, "");
}

class MemoryModule {
public:
    explicit MemoryModule(const std::string& code) {
        component_ = &project_.VBComponents().Add(host::vbext_ct_StdModule);
        if (!code.empty()) component_->CodeModule().InsertLines(1, code);
    }
    host::CodeModule& Code() { return component_->CodeModule(); }

private:
    host::VBE vbe_;
    host::VBProject project_{vbe_};
    host::VBComponent* component_ = nullptr;
};

}  // namespace hosttest
