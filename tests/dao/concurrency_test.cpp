// Two processes storing procedures in one library at the same time: nothing is
// lost, no key is handed out twice, and the key each one read before saving
// is the key its row got.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <map>
#include <set>

#include "dao/LibraryFixture.h"

namespace {

constexpr int kWriters = 2;

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
    std::vector<pid_t> children;
    for (int writer = 0; writer < kWriters; ++writer) {
        const pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            std::ofstream out(log(writer));
            try {
                Write(file.Path(), out, writer, transactions, count);
            } catch (const std::exception& e) {
                out << "error " << e.what() << std::endl;
                _exit(1);
            }
            out.close();
            _exit(0);
        }
        children.push_back(pid);
    }
    for (pid_t pid : children) {
        int status = 0;
        waitpid(pid, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    // What the writers were told ...
    std::map<long, std::string> toldHeaders;
    std::map<long, long> toldLines;
    for (int writer = 0; writer < kWriters; ++writer) {
        std::ifstream in(log(writer));
        std::string kind, rest;
        long key = 0;
        while (in >> kind >> key >> rest) {
            const bool fresh = kind == "H" ? toldHeaders.emplace(key, rest).second
                                           : toldLines.emplace(key, std::stol(rest)).second;
            EXPECT_TRUE(fresh) << kind << " key twice: " << key;
        }
    }
    // ... is what the library holds, each procedure's lines in one run when saved in one transaction.
    auto db = file.Open();
    std::map<long, std::string> headers;
    for (const auto& row : daotest::Rows(*db, "SELECT ProcedureHeaderID, Name FROM ProcedureHeader"))
        headers.emplace(std::stol(row[0]), row[1]);
    EXPECT_EQ(headers, toldHeaders);
    EXPECT_EQ(headers.size(), static_cast<std::size_t>(kWriters * count));
    std::map<long, long> lines;
    std::set<long> finished;
    for (const auto& row : daotest::Rows(*db,
                                         "SELECT ProcedureLineID, ProcedureHeaderID FROM ProcedureLine "
                                         "ORDER BY ProcedureLineID")) {
        const long owner = std::stol(row[1]);
        const bool runStarts = lines.empty() || std::prev(lines.end())->second != owner;
        lines.emplace(std::stol(row[0]), owner);
        EXPECT_TRUE(!transactions || !runStarts || finished.insert(owner).second) << owner << " interleaved";
    }
    EXPECT_EQ(lines, toldLines);
}

INSTANTIATE_TEST_SUITE_P(Library, TwoWriters, testing::Values(true, false));

}  // namespace
