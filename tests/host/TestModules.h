#pragma once
// A standard module in memory for tests that need a CodeModule but no file.
#include <initializer_list>
#include <string>

#include "host/VBE.h"

namespace hosttest {

// Lines joined with CR LF, no ending after the last one (the host's text form).
inline std::string Text(std::initializer_list<std::string> lines) {
    std::string out;
    for (const auto& line : lines) {
        if (!out.empty() || &line != lines.begin()) out += "\r\n";
        out += line;
    }
    return out;
}

class MemoryModule {
public:
    explicit MemoryModule(const std::string& code) {
        component_ = &project_.VBComponents().Add(host::vbext_ct_StdModule);
        if (!code.empty()) component_->CodeModule().InsertLines(1, code);
    }
    host::CodeModule& Code() { return component_->CodeModule(); }
    host::VBComponent& Component() { return *component_; }

private:
    host::VBE vbe_;
    host::VBProject project_{vbe_};
    host::VBComponent* component_ = nullptr;
};

}  // namespace hosttest
