// Adding handlers to every listed procedure of the example project, as a user
// would through the main dialog, then listing again.
#include <filesystem>
#include <map>
#include <optional>
#include <sstream>

#include "CodeToolsFixture.h"
#include "codetools/frmProcvault.h"

namespace {

namespace fs = std::filesystem;

std::vector<std::string> SplitCrLf(const std::string& bytes) {
    std::vector<std::string> lines;
    std::istringstream in(bytes);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

bool IsGeneratedLine(const std::string& line) {
    for (const char* start :
         {"\tOn Error Goto Err_", "Exit_", "\tExit ", "Err_", "\tMsgBox Err.Description", "\tResume Exit_"})
        if (line.rfind(start, 0) == 0) return true;
    return line.empty();
}

// The lines of `after` that are not the original's, when the original's lines
// appear in `after` in order; nullopt when some original line was changed or lost.
std::optional<std::vector<std::string>> InsertedLines(const std::vector<std::string>& before,
                                                      const std::vector<std::string>& after) {
    std::vector<std::string> inserted;
    std::size_t next = 0;
    for (const auto& line : after) {
        if (next < before.size() && line == before[next])
            ++next;
        else
            inserted.push_back(line);
    }
    if (next != before.size()) return std::nullopt;
    return inserted;
}

class InventoryTest : public codetoolstest::CodeToolsTest {
protected:
    void SetUp() override {
        for (const auto& entry : fs::directory_iterator(testsupport::ExamplesDir() / "Inventory"))
            fs::copy_file(entry.path(), dir / entry.path().filename().string());
        for (const auto& entry : fs::directory_iterator(dir.Path()))
            original[entry.path().filename().string()] = testsupport::ReadBytes(entry.path());
    }

    // The entries the Existing Procedures tab offers for each module, by file name.
    std::map<std::string, std::vector<std::string>> ListAll(host::VBE& host) {
        std::map<std::string, std::vector<std::string>> lists;
        pv::objVBE = &host;
        for (auto& component : host.ActiveVBProject().VBComponents()) {
            if (!component->HasCodeModule()) continue;
            component->Activate();
            pv::frmProcvault dialog(env);
            dialog.BuildProcedureList();
            auto& entries = lists[component->FilePath().filename().string()];
            for (int i = 0; i < dialog.lstProcedures.ListCount(); ++i)
                entries.push_back(dialog.lstProcedures.List(i));
        }
        return lists;
    }

    std::map<std::string, std::string> original;
};

TEST_F(InventoryTest, HandlersForEveryListedProcedureLeaveNothingToListAndNoOtherByteChanged) {
    vbe.OpenProject(dir / "Inventory.vbp");
    const auto listed = ListAll(vbe);
    EXPECT_EQ(listed.at("Module1.bas"),
              (std::vector<std::string>{"AddItem", "ElapsedSeconds", "ReadSetting", "ShowTotals"}));
    EXPECT_EQ(listed.at("clsItem.cls"), (std::vector<std::string>{"Get Code", "Get Quantity", "Let Code",
                                                                  "Let Price", "Let Quantity", "Value"}));
    ui.OnShow("frmProcvault", [](forms::Form& form) {
        auto& dialog = static_cast<pv::frmProcvault&>(form);
        dialog.cmdSelectAll.Press();
        dialog.cmdOK.Press();
    });
    for (auto& component : vbe.ActiveVBProject().VBComponents()) {
        if (!component->HasCodeModule()) continue;
        component->Activate();
        pv::frmProcvault dialog(env);
        dialog.OpenProcvault();
    }
    vbe.ActiveVBProject().SaveAll();
    EXPECT_TRUE(ui.Messages().empty());

    host::VBE reopened;
    reopened.OpenProject(dir / "Inventory.vbp");
    for (const auto& [file, entries] : ListAll(reopened)) EXPECT_TRUE(entries.empty()) << file;

    for (const auto& [file, bytes] : original) {
        const auto inserted = InsertedLines(SplitCrLf(bytes), SplitCrLf(testsupport::ReadBytes(dir / file)));
        ASSERT_TRUE(inserted.has_value()) << file;
        const auto count = listed.count(file) ? listed.at(file).size() : 0;
        EXPECT_EQ(inserted->size(), 10 * count) << file;
        for (const auto& line : *inserted) EXPECT_TRUE(IsGeneratedLine(line)) << file << ": " << line;
    }
}

}  // namespace
