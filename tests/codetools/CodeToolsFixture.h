#pragma once
// A module loaded from a temp folder as the active code pane, the scripted user, in-memory preferences.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "codetools/frmProcvault.h"
#include "forms/ScriptedUi.h"
#include "host/VBE.h"
#include "settings/Env.h"
#include "settings/Options.h"
#include "support/TempDir.h"

namespace codetoolstest {

using Strings = std::vector<std::string>;

// Module text written on one line, '|' between lines.
inline Strings Split(const std::string& text) {
    Strings lines;
    std::size_t at = 0;
    for (auto bar = text.find('|'); bar != std::string::npos; at = bar + 1, bar = text.find('|', at))
        lines.push_back(text.substr(at, bar - at));
    lines.push_back(text.substr(at));
    return lines;
}

// A module after the tools ran, in shorthand: {E:x} the entry statement for label x and
// its two empty lines, {B:x:Kind} the exit and handler block, {H:x} the header naming x
// (only the hyphen line when x is empty). With `before`, the module without them.
inline Strings Expand(std::string text, bool before = false) {
    for (auto at = text.find('{'); at != std::string::npos; at = text.find('{')) {
        const auto close = text.find('}', at);
        const std::string tag = text.substr(at + 1, close - at - 1),
                          name = tag.substr(2, tag.find(':', 2) - 2);
        std::string by = "\tOn Error Goto Err_" + name + "||";
        if (tag[0] == 'H')
            by = "'------------------------------------------------------------------" +
                 (tag.size() == 2 ? "" : "|' Procedure: " + tag.substr(2));
        if (tag[0] == 'B')
            by = "Exit_" + name + ":|\tExit " + tag.substr(tag.rfind(':') + 1) + "||Err_" + name +
                 ":|\tMsgBox Err.Description & \" \" & Err.Number, vbCritical, \"" + name +
                 "()\"|\tResume Exit_" + name + "|";
        text.replace(at, close - at + (before ? 2 : 1), before ? "" : by);
    }
    return Split(text);
}

class CodeToolsTest : public ::testing::Test {
protected:
    void TearDown() override { pv::objVBE = nullptr; }
    void LoadFile(const std::string& file, const std::string& bytes) {
        testsupport::WriteBytes(dir / file, bytes);
        vbe.OpenProject(dir.Path());
        component = &vbe.ActiveVBProject().VBComponents().Item("Module1");
        component->Activate();
        pv::objVBE = &vbe;
    }
    void Load(const Strings& lines) {
        std::string bytes = "Attribute VB_Name = \"Module1\"\r\n";
        for (const auto& line : lines) bytes += line + "\r\n";
        LoadFile("Module1.bas", bytes);
    }
    host::CodeModule& Module() { return component->CodeModule(); }
    Strings Lines() {
        Strings out;
        for (long i = 1; i <= Module().CountOfLines(); ++i) out.push_back(Module().Lines(i, 1));
        return out;
    }
    long CaretLine() { return Module().CodePane().Current().startLine; }
    void Set(const char* key, const std::string& value) { pv::WriteOption(store, key, value); }
    // One digit per header line: name, created by, date, purpose, parameters, output.
    void HeaderFlags(const std::string& digits) {
        const char* keys[] = {pv::key::ShowProcedureName, pv::key::ShowCreatedBy,  pv::key::ShowDateCreated,
                              pv::key::ShowPurpose,       pv::key::ShowParameters, pv::key::ShowOutput};
        for (std::size_t i = 0; i < 6; ++i) Set(keys[i], digits.substr(i, 1));
    }
    Strings Prompts() const {
        Strings out;
        for (const auto& m : ui.Messages()) out.push_back(m.title + ": " + m.prompt);
        return out;
    }
    // Opens the main dialog on the active module; `play` acts as the user once it is up.
    void OpenDialog(const std::function<void(pv::frmProcvault&)>& play) {
        ui.OnShow("frmProcvault", [&](forms::Form& form) {
            auto& dialog = static_cast<pv::frmProcvault&>(form);
            play(dialog);
            shown = dialog.IsShown();
        });
        pv::frmProcvault(env).OpenProcvault();
    }

    testsupport::TempDir dir;
    host::VBE vbe;
    host::VBComponent* component = nullptr;
    forms::ScriptedUi ui;
    vbrt::MemorySettingsStore store;
    pv::Env env{ui, store};
    bool shown = false;  // the dialog was still up when `play` finished
};

}  // namespace codetoolstest
