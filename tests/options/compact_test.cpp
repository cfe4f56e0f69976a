// Compact Now against real library files in a temp folder, a scripted user and
// an in-memory settings store.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "dao/LibraryFixture.h"
#include "forms/ScriptedUi.h"
#include "options/RepairCompact.h"
#include "options/frmOptions.h"
#include "settings/Options.h"

namespace {

namespace fs = std::filesystem;
using Names = std::set<std::string>;

struct NameRow {
    const char* file;
    const char* backup;
};

TEST(BackupFileName, EndsTheNameAtItsFirstDot) {
    for (const NameRow& row :
         {NameRow{"Library.mdb", "Library.bak"}, NameRow{"my.lib.mdb", "my.bak"},
          NameRow{"Library", "Library.bak"}, NameRow{".mdb", ".bak"}, NameRow{"Library.", "Library.bak"}})
        EXPECT_EQ(pv::BackupFileName(row.file), row.backup) << row.file;
}

struct CompactRow {
    const char* name;
    const char* library;    // the stored library's file name; "" stores no location
    bool exists;            // false: the stored name is left without a file
    const char* oldBackup;  // a file put under this name first; "" none
    const char* box;        // LIB the stored path, OTHER another valid library, else typed as is
    const char* title;      // of the one message shown
    const char* prompt;     // DIR stands for the folder
    bool compacted;         // else every file of the folder is left as it was
    bool held = false;      // another connection holds the library exclusively
};

class CompactNow : public testing::TestWithParam<CompactRow> {
protected:
    void SetUp() override {
        cwd = fs::current_path();
        // A relative backup name would land here.
        fs::current_path(dir.Path());
        fs::create_directory(dir / "elsewhere");
        other = (dir / "elsewhere" / "Other.mdb").string();
        MakeLibrary(other);
    }
    void TearDown() override { fs::current_path(cwd); }

    // The sample rows, and free pages left by rows deleted again for compaction to drop.
    static void MakeLibrary(const std::string& path) {
        dao::CreateLibrary(path);
        auto db = dao::DBEngine(daotest::kTestBusyTimeoutMs).OpenDatabase(path);
        daotest::FillSample(*db);
        db->Execute(
            "INSERT INTO ProcedureLine (ProcedureHeaderID, Line) WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL "
            "SELECT i+1 FROM n WHERE i<400) SELECT 1, printf(\"%0400d\", i) FROM n");
        db->Execute("DELETE * FROM ProcedureLine WHERE ProcedureLineID > 7");
    }
    static daotest::Table AllRows(const std::string& path) {
        auto db = dao::DBEngine(daotest::kTestBusyTimeoutMs).OpenDatabase(path);
        daotest::Table rows;
        for (const char* query : {"SELECT * FROM Category", "SELECT * FROM ProcedureHeader",
                                  "SELECT * FROM ProcedureLine ORDER BY ProcedureLineID"})
            for (auto& row : daotest::Rows(*db, query)) rows.push_back(std::move(row));
        return rows;
    }
    Names Files() const {
        Names names;
        for (const auto& entry : fs::directory_iterator(dir.Path()))
            if (!entry.is_directory()) names.insert(entry.path().filename().string());
        return names;
    }
    std::string Expand(std::string text) const {
        for (auto at = text.find("DIR"); at != std::string::npos; at = text.find("DIR"))
            text.replace(at, 3, dir.Path().string());
        return text;
    }

    testsupport::TempDir dir;
    fs::path cwd;
    std::string other;
    forms::ScriptedUi ui;
    vbrt::MemorySettingsStore store;
    pv::Env env{ui, store};
};

TEST_P(CompactNow, CompactsTheStoredLibraryInPlaceOrLeavesItWhole) {
    const CompactRow& row = GetParam();
    const std::string library = *row.library ? (dir / row.library).string() : "";
    if (row.exists) MakeLibrary(library);
    if (*row.library) pv::WriteOption(store, pv::key::ProcvaultLocation, library);
    if (*row.oldBackup) testsupport::WriteBytes(dir / row.oldBackup, "old backup");
    const Names before = Files();
    const daotest::Table rows = row.exists ? AllRows(library) : daotest::Table{};
    const auto size = row.exists ? fs::file_size(library) : 0;
    const std::string otherBytes = testsupport::ReadBytes(other);
    const std::string box = std::string(row.box) == "LIB"     ? library
                            : row.box == std::string("OTHER") ? other
                                                              : row.box;

    ui.OnShow("frmOptions", [&](forms::Form& form) {
        auto& dialog = static_cast<pv::frmOptions&>(form);
        auto holder = row.held ? dao::DBEngine().OpenDatabase(library, true) : nullptr;
        dialog.ctlTab.SetTab(1);
        dialog.txtProcvaultLocation.SetText(box);
        dialog.cmdCompact.Press();
    });
    pv::frmOptions dialog(env);
    ui.ShowModal(dialog);

    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_EQ(ui.Messages()[0].title, row.title);
    EXPECT_EQ(ui.Messages()[0].prompt, Expand(row.prompt));
    EXPECT_EQ(ui.GetMousePointer(), forms::vbDefault);
    Names after = before;
    if (row.compacted) after.erase(row.oldBackup);
    EXPECT_EQ(Files(), after);
    if (row.exists) {
        EXPECT_EQ(AllRows(library), rows);
        EXPECT_EQ(fs::file_size(library) < size, row.compacted);
    }
    EXPECT_EQ(testsupport::ReadBytes(other), otherBytes);
}

constexpr const char* kDone = "The Repair & Compact was completed successfully.";
constexpr const char* kHandler = "cmdCompact_Click()";

// One row per case reads better than one field per line.
// clang-format off
INSTANTIATE_TEST_SUITE_P(Libraries, CompactNow, testing::Values(
    CompactRow{"KeepsNameAndRowsAndLeavesNoBackup", "Library.mdb", true, "", "LIB", "Procvault", kDone, true},
    CompactRow{"DeletesAnOldBackup", "Library.mdb", true, "Library.bak", "LIB", "Procvault", kDone, true},
    CompactRow{"SeveralDotsBackUpUnderTheFirst", "my.lib.mdb", true, "my.bak", "LIB", "Procvault", kDone, true},
    CompactRow{"NoDotAppendsBak", "Library", true, "Library.bak", "LIB", "Procvault", kDone, true},
    CompactRow{"BoxIsOnlyCheckedTheStoredOneIsCompacted", "Library.mdb", true, "", "OTHER", "Procvault", kDone,
        true},
    CompactRow{"StoredNameWithoutAFileFailsAtTheRepair", "Gone.mdb", false, "", "OTHER", kHandler,
        "Could not find file 'DIR/Gone.bak'. 3024", false},
    CompactRow{"NothingStoredTouchesNoFileBesideIt", "", false, ".bak", "OTHER", kHandler,
        "Could not find file ''. 3024", false},
    CompactRow{"BoxRefusedDoesNothing", "Library.mdb", true, "Library.bak", "", "Procvault",
        "There is no location entered for the Procvault database. Please enter the correct location of this file.",
        false},
    CompactRow{"LibraryNamedLikeItsBackupIsNotDeleted", "Library.bak", true, "", "LIB", kHandler,
        "File already exists: the library's backup would be DIR/Library.bak itself 58", false},
    CompactRow{"HeldLibraryIsPutBackUnderItsName", "Library.mdb", true, "", "OTHER", kHandler,
        "Could not use 'DIR/Library.bak'; file already in use. 3045", false, true}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

}  // namespace
