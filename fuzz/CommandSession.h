#pragma once
// The add-in's main dialog over one in-memory module, with the scripted user and
// an in-memory preference store, for the fuzz targets that drive its commands.
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "codetools/frmProcvault.h"
#include "forms/ScriptedUi.h"
#include "host/ModuleText.h"
#include "host/VBE.h"
#include "settings/Env.h"
#include "vbrt/SettingsStore.h"

namespace fuzzsession {

using Lines = std::vector<std::string>;

// The module being worked on, printed with a failure to make it readable.
inline const host::CodeModule* current = nullptr;

[[noreturn]] inline void Fail(const char* target, const char* what) {
    std::fprintf(stderr, "%s: %s\n", target, what);
    if (current)
        for (long i = 0; i < current->CountOfLines(); ++i)
            std::fprintf(stderr, "%4ld|%s\n", i + 1, current->Text().Line(i).c_str());
    std::abort();
}

inline Lines ModuleLines(const host::CodeModule& code) {
    Lines out;
    for (long i = 0; i < code.CountOfLines(); ++i) out.push_back(code.Text().Line(i));
    return out;
}

// The critical message boxes shown: failure reports, not the command talking to the user.
inline std::vector<std::string> FailureReports(const forms::ScriptedUi& ui) {
    std::vector<std::string> reports;
    for (const auto& message : ui.Messages())
        if (message.Icon() == forms::vbCritical) reports.push_back(message.title + ": " + message.prompt);
    return reports;
}

struct Session {
    host::VBE vbe;
    host::CodeModule* code = nullptr;
    forms::ScriptedUi ui;
    vbrt::MemorySettingsStore store;
    pv::Env env{ui, store};

    explicit Session(host::ModuleText text) {
        auto& project = vbe.VBProjects().Add(std::make_unique<host::VBProject>(vbe));
        vbe.SetActiveProject(&project);
        host::VBComponent& component = project.VBComponents().Add(host::vbext_ct_StdModule);
        code = &component.CodeModule();
        code->Text() = std::move(text);
        component.Activate();
        pv::objVBE = &vbe;
        current = code;
    }
    ~Session() {
        pv::objVBE = nullptr;
        current = nullptr;
    }
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // Opens the main dialog; `play` acts as the user while it is up. The entries it listed.
    Lines DialogList(const std::function<void(pv::frmProcvault&)>& play) {
        Lines listed;
        ui.OnShow("frmProcvault", [&](forms::Form& form) {
            auto& dialog = static_cast<pv::frmProcvault&>(form);
            for (int i = 0; i < dialog.lstProcedures.ListCount(); ++i)
                listed.push_back(dialog.lstProcedures.List(i));
            play(dialog);
            if (dialog.IsShown()) dialog.cmdCancel.Press();
        });
        pv::frmProcvault(env).OpenProcvault();
        return listed;
    }

    // Every listed entry through the Existing Procedures tab; the entries listed.
    Lines AddHandlersToAll(bool stubs) {
        return DialogList([&](pv::frmProcvault& d) {
            d.ctlTab.SetTab(1);
            if (d.lstProcedures.ListCount() == 0) return;
            d.cmdSelectAll.Press();
            if (stubs != (d.chkShowCommentStubs.Value() != 0)) d.chkShowCommentStubs.Press();
            d.cmdOK.Press();
        });
    }
};

}  // namespace fuzzsession
