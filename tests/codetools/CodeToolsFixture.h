#pragma once
// A module loaded from a temp folder and made the active code pane, with the
// scripted user and an in-memory preference store, for the code tools' tests.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "forms/ScriptedUi.h"
#include "host/VBE.h"
#include "settings/Env.h"
#include "settings/Options.h"
#include "support/TempDir.h"

namespace codetoolstest {

class CodeToolsTest : public ::testing::Test {
protected:
    void TearDown() override { pv::objVBE = nullptr; }

    // Loads a standard module with these visible lines and activates it.
    void Load(const std::vector<std::string>& lines) {
        std::string bytes = "Attribute VB_Name = \"Module1\"\r\n";
        for (const auto& line : lines) bytes += line + "\r\n";
        testsupport::WriteBytes(dir / "Module1.bas", bytes);
        vbe.OpenProject(dir.Path());
        component = &vbe.ActiveVBProject().VBComponents().Item("Module1");
        component->Activate();
        pv::objVBE = &vbe;
    }
    host::CodeModule& Module() { return component->CodeModule(); }
    std::vector<std::string> Lines() {
        std::vector<std::string> out;
        for (long i = 1; i <= Module().CountOfLines(); ++i) out.push_back(Module().Lines(i, 1));
        return out;
    }
    long CaretLine() { return Module().CodePane().Current().startLine; }
    void Set(const char* key, const std::string& value) { pv::WriteOption(store, key, value); }
    void HeaderFlags(bool name, bool by, bool date, bool purpose, bool parameters, bool output) {
        Set(pv::key::ShowProcedureName, name ? "1" : "0");
        Set(pv::key::ShowCreatedBy, by ? "1" : "0");
        Set(pv::key::ShowDateCreated, date ? "1" : "0");
        Set(pv::key::ShowPurpose, purpose ? "1" : "0");
        Set(pv::key::ShowParameters, parameters ? "1" : "0");
        Set(pv::key::ShowOutput, output ? "1" : "0");
    }
    std::vector<std::string> Prompts() const {
        std::vector<std::string> out;
        for (const auto& m : ui.Messages()) out.push_back(m.title + ": " + m.prompt);
        return out;
    }

    testsupport::TempDir dir;
    host::VBE vbe;
    host::VBComponent* component = nullptr;
    forms::ScriptedUi ui;
    vbrt::MemorySettingsStore store;
    pv::Env env{ui, store};
};

inline const std::string kHyphens = "'------------------------------------------------------------------";

// Module text written on one line, '|' between lines.
inline std::vector<std::string> Split(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t at = 0;
    for (auto bar = text.find('|'); bar != std::string::npos; at = bar + 1, bar = text.find('|', at))
        lines.push_back(text.substr(at, bar - at));
    lines.push_back(text.substr(at));
    return lines;
}

inline std::string DefaultMessageFor(const std::string& label) {
    return "MsgBox Err.Description & \" \" & Err.Number, vbCritical, \"" + label + "()\"";
}

}  // namespace codetoolstest
