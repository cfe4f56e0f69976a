// Adding handlers to every listed procedure of the example project, as a user
// would through the main dialog, then listing again.
#include <algorithm>
#include <filesystem>
#include <map>
#include <sstream>

#include "CodeToolsFixture.h"

namespace {

namespace fs = std::filesystem;

// Lines as stored, each keeping its CR.
std::vector<std::string> SplitLf(const std::string& bytes) {
    std::vector<std::string> lines;
    std::istringstream in(bytes);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

class InventoryTest : public codetoolstest::CodeToolsTest {
protected:
    // The entries the Existing Procedures tab offers for each module, by file name.
    std::map<std::string, std::string> ListAll(host::VBE& host) {
        std::map<std::string, std::string> lists;
        pv::objVBE = &host;
        for (auto& component : host.ActiveVBProject().VBComponents()) {
            if (!component->HasCodeModule()) continue;
            component->Activate();
            pv::frmProcvault dialog(env);
            dialog.BuildProcedureList();
            auto& entries = lists[component->FilePath().filename().string()];
            for (int i = 0; i < dialog.lstProcedures.ListCount(); ++i)
                entries += (i ? "|" : "") + dialog.lstProcedures.List(i);
        }
        return lists;
    }
};

TEST_F(InventoryTest, HandlersForEveryListedProcedureLeaveNothingToListAndNoOtherByteChanged) {
    std::map<std::string, std::string> original;
    for (const auto& entry : fs::directory_iterator(testsupport::ExamplesDir() / "Inventory")) {
        original[entry.path().filename().string()] = testsupport::ReadBytes(entry.path());
        fs::copy_file(entry.path(), dir / entry.path().filename().string());
    }
    vbe.OpenProject(dir / "Inventory.vbp");
    const auto listed = ListAll(vbe);
    EXPECT_EQ(listed.at("Module1.bas"), "AddItem|ElapsedSeconds|ReadSetting|ShowTotals");
    EXPECT_EQ(listed.at("clsItem.cls"), "Get Code|Get Quantity|Let Code|Let Price|Let Quantity|Value");
    ui.OnShow("frmProcvault", [](forms::Form& form) {
        auto& dialog = static_cast<pv::frmProcvault&>(form);
        dialog.cmdSelectAll.Press();
        dialog.cmdOK.Press();
    });
    for (auto& component : vbe.ActiveVBProject().VBComponents()) {
        if (!component->HasCodeModule()) continue;
        component->Activate();
        pv::frmProcvault(env).OpenProcvault();
    }
    vbe.ActiveVBProject().SaveAll();
    EXPECT_TRUE(ui.Messages().empty());
    host::VBE reopened;
    reopened.OpenProject(dir / "Inventory.vbp");
    for (const auto& [file, entries] : ListAll(reopened)) EXPECT_EQ(entries, "") << file;

    // Every original line is still there, in order; the rest is ten generated CR LF lines a procedure.
    for (const auto& [file, bytes] : original) {
        const auto before = SplitLf(bytes);
        std::size_t kept = 0, added = 0;
        for (const auto& line : SplitLf(testsupport::ReadBytes(dir / file))) {
            if (kept < before.size() && line == before[kept]) {
                ++kept;
                continue;
            }
            ++added;
            const auto starts = [&](const char* start) { return line.rfind(start, 0) == 0; };
            EXPECT_TRUE(!line.empty() && line.back() == '\r' &&
                        (line == "\r" || starts("\tOn Error Goto Err_") || starts("Exit_") ||
                         starts("\tExit ") || starts("Err_") || starts("\tMsgBox Err.Description") ||
                         starts("\tResume Exit_")))
                << file << ": " << line;
        }
        const std::string names = listed.count(file) ? listed.at(file) : "";
        EXPECT_EQ(kept, before.size()) << file;
        EXPECT_EQ(added, names.empty() ? 0 : 10 * (1 + std::count(names.begin(), names.end(), '|'))) << file;
    }
}

}  // namespace
