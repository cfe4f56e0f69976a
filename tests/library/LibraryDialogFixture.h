#pragma once
// The library dialogs against a real library file holding the sample rows,
// with the example project open in the host, a scripted user and an
// in-memory settings store pointing at the library.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "dao/LibraryFixture.h"
#include "forms/Form.h"
#include "forms/ScriptedUi.h"
#include "host/VBE.h"
#include "library/basConnect.h"
#include "settings/Options.h"

namespace librarytest {

class LibraryDialogTest : public testing::Test {
protected:
    void SetUp() override {
        pv::ResetLibraryProcedures();
        daotest::FillSample(*file.Open());
        pv::WriteOption(store, pv::key::ProcvaultLocation, file.Path());
        vbe.OpenProject(std::string(PV_SOURCE_DIR) + "/examples/Inventory/Inventory.vbp");
        pv::objVBE = &vbe;
    }
    void TearDown() override {
        pv::objVBE = nullptr;
        pv::ResetLibraryProcedures();
    }
    // Plays the user in the next showing of `formName`.
    template <class Dialog>
    void When(const std::string& formName, std::function<void(Dialog&)> script) {
        ui.OnShow(formName, [script](forms::Form& form) { script(static_cast<Dialog&>(form)); });
    }
    std::vector<std::string> Prompts() const {
        std::vector<std::string> out;
        for (const auto& m : ui.Messages()) out.push_back(m.prompt);
        return out;
    }
    daotest::Table Rows(const std::string& sql) { return daotest::Rows(*file.Open(), sql); }
    std::vector<std::string> Items(const forms::ListControl& list) const {
        std::vector<std::string> out;
        for (int i = 0; i < list.ListCount(); ++i) out.push_back(list.List(i));
        return out;
    }

    daotest::LibraryFile file;
    host::VBE vbe;
    forms::ScriptedUi ui;
    vbrt::MemorySettingsStore store;
    pv::Env env{ui, store};
};

}  // namespace librarytest
