// Two processes storing procedures in one library at the same time: nothing is lost, no key is handed out
// twice, and the key each one read before saving is the key its row got.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>

#include "dao/LibraryFixture.h"

namespace {

// One writer: header then lines, keys read before Update and logged as "H key name" and "L key header".
void Write(const std::string& path, std::ostream& out, int writer, bool transactions, int count) {
    auto db = dao::DBEngine(20000).OpenDatabase(path);
    auto headers = db->OpenRecordset("ProcedureHeader", dao::dbOpenDynaset, dao::dbAppendOnly);
    auto lines = db->OpenRecordset("ProcedureLine", dao::dbOpenDynaset, dao::dbAppendOnly);
    for (int i = 0; i < count; ++i) {
        const std::string name = "W" + std::to_string(writer) + "P" + std::to_string(i);
        if (transactions) db->BeginTrans();
        const long id = daotest::AddRow(*headers, "ProcedureHeaderID",
                                        {{"Name", name}, {"Type", "Sub"}, {"CategoryID", 1}});
        out << "H " << id << ' ' << name << '\n';
        for (int n = 0; n < 1 + (writer + i) % 5; ++n)
            out << "L "
                << daotest::AddRow(*lines, "ProcedureLineID", {{"ProcedureHeaderID", id}, {"Line", "x"}})
                << ' ' << id << '\n';
        if (transactions) db->CommitTrans();
    }
}

class TwoWriters : public testing::TestWithParam<bool> {};

TEST_P(TwoWriters, LoseNothingAndNeverShareAKey) {
    const bool transactions = GetParam();
    const int count = transactions ? 40 : 15;  // row by row costs one durable commit per row
    daotest::LibraryFile file;
    daotest::AddCategory(*file.Open(), "Shared");
    const auto log = [&](int writer) {
        return (file.Dir() / ("w" + std::to_string(writer) + ".log")).string();
    };
    for (int writer = 0; writer < 2; ++writer) {
        if (fork() != 0) continue;
        std::ofstream out(log(writer));
        try {
            Write(file.Path(), out, writer, transactions, count);
        } catch (const std::exception& e) {
            out << "error " << e.what() << std::endl;  // fails the comparison below
        }
        out.close();
        _exit(0);
    }
    for (int status = 0; wait(&status) > 0;) EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    // What the writers were told (a key told twice shows up as a duplicate) is what the library holds.
    std::vector<std::string> told, held;
    for (int writer = 0; writer < 2; ++writer)
        for (std::ifstream in(log(writer)); in.good();)
            if (std::string entry; std::getline(in, entry) && !entry.empty()) told.push_back(entry);
    auto db = file.Open();
    for (const auto& r : daotest::Rows(*db, "SELECT ProcedureHeaderID, Name FROM ProcedureHeader"))
        held.push_back("H " + r[0] + " " + r[1]);
    std::set<std::string> finished;  // with transactions, each procedure's lines come in one run
    std::string owner;
    for (const auto& r : daotest::Rows(*db, "SELECT * FROM ProcedureLine ORDER BY ProcedureLineID")) {
        held.push_back("L " + r[0] + " " + r[1]);
        EXPECT_TRUE(!transactions || r[1] == std::exchange(owner, r[1]) || finished.insert(r[1]).second)
            << r[1] << " interleaved";
    }
    std::sort(told.begin(), told.end());
    std::sort(held.begin(), held.end());
    EXPECT_EQ(told, held);
    EXPECT_EQ(daotest::Count(*db, "ProcedureHeader"), 2 * count);
}

INSTANTIATE_TEST_SUITE_P(Library, TwoWriters, testing::Values(true, false));

// A writer that opened the library before another file took its name (Repair & Compact renames its compacted
// copy in) must not write into the old file, which nobody will see again, however it starts writing, nor read
// it.
TEST(ReplacedLibrary, WritersRefuseTheOldFileNotTheNewOne) {
    if (daotest::OnServer()) GTEST_SKIP() << "a server library has no file to replace";
    constexpr const char* kRefused =
        "Could not update; currently locked. (the library file was replaced while it was open; try again)";
    // clang-format off
    struct Row { const char* name; bool replaced, relative; std::function<void(dao::Database&)> write; };
    const Row rows[] = {
        {"transaction", true, false, [](dao::Database& db) { db.BeginTrans(); }},
        {"statement", true, false, [](dao::Database& db) { db.Execute("DELETE * FROM Category"); }},
        {"new row", true, false, [](dao::Database& db) {
            daotest::AddRow(*db.OpenRecordset("Category", dao::dbOpenDynaset, dao::dbAppendOnly), "CategoryID",
                            {{"CategoryDesc", "Late"}}); }},
        // Reading the old file would play back a journal of the new one as if it were its own.
        {"read", true, false, [](dao::Database& db) { db.OpenRecordset("Category", dao::dbOpenSnapshot); }},
        // Opened by a relative name, the current folder changed since: still the library, so it writes.
        {"relative name", false, true, [](dao::Database& db) { db.Execute("DELETE * FROM Category"); }}};
    // clang-format on
    const std::filesystem::path cwd = std::filesystem::current_path();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        daotest::LibraryFile file;
        daotest::AddCategory(*file.Open(), "Kept");
        std::filesystem::current_path(file.Dir().Path());
        auto db = dao::DBEngine(daotest::kTestBusyTimeoutMs)
                      .OpenDatabase(row.relative ? "Library.mdb" : file.Path());
        std::filesystem::current_path(cwd);
        const std::string fresh = file.Path() + ".new";
        std::filesystem::copy_file(file.Path(), fresh);
        if (row.replaced) std::filesystem::rename(fresh, file.Path());
        std::string said;
        try {
            row.write(*db);
        } catch (const vbrt::VbError& e) {
            said = e.Description() + " " + std::to_string(e.Number());
        }
        EXPECT_EQ(said, row.replaced ? std::string(kRefused) + " 3218" : "");
        db->Close();
        // The library holds what it held unless the writer was let through; it takes writes as ever.
        auto now = file.Open();
        EXPECT_EQ(daotest::Count(*now, "Category"), row.replaced ? 1 : 0);
        EXPECT_NO_THROW(now->Execute("DELETE * FROM Category"));
    }
}

}  // namespace
