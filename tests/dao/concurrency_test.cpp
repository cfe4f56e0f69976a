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
constexpr int kPatientMs = 20000;

// Saving row by row costs one durable commit per row, so that run is shorter.
int PerProcess(bool transactions) {
    return transactions ? 40 : 15;
}

std::string NameOf(int writer, int i) {
    return "W" + std::to_string(writer) + "P" + std::to_string(i);
}

std::string LogOf(const daotest::LibraryFile& file, int writer) {
    return (file.Dir() / ("writer" + std::to_string(writer) + ".log")).string();
}

// One writer: header then lines, keys read before Update and logged.
void Write(const std::string& path, const std::string& log, int writer, bool transactions) {
    auto db = dao::DBEngine(kPatientMs).OpenDatabase(path);
    std::ofstream out(log);
    auto headers = db->OpenRecordset("ProcedureHeader", dao::dbOpenDynaset, dao::dbAppendOnly);
    auto lines = db->OpenRecordset("ProcedureLine", dao::dbOpenDynaset, dao::dbAppendOnly);
    for (int i = 0; i < PerProcess(transactions); ++i) {
        if (transactions) db->BeginTrans();
        headers->AddNew();
        headers->Collect("Name", NameOf(writer, i));
        headers->Collect("Type", "Sub");
        headers->Collect("CategoryID", 1);
        const long id = headers->Fields("ProcedureHeaderID").Value().AsLong();
        headers->Update();
        out << "H " << id << ' ' << NameOf(writer, i) << '\n';
        for (int n = 0; n < 1 + (writer + i) % 5; ++n) {
            lines->AddNew();
            lines->Collect("ProcedureHeaderID", id);
            lines->Collect("Line", "line " + std::to_string(n));
            out << "L " << lines->Fields("ProcedureLineID").Value().AsLong() << ' ' << id << '\n';
            lines->Update();
        }
        if (transactions) db->CommitTrans();
    }
}

class TwoWriters : public testing::TestWithParam<bool> {};

TEST_P(TwoWriters, LoseNothingAndNeverShareAKey) {
    const bool transactions = GetParam();
    daotest::LibraryFile file;
    daotest::AddCategory(*file.Open(), "Shared");
    std::vector<pid_t> children;
    for (int writer = 0; writer < kWriters; ++writer) {
        const pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            int code = 0;
            try {
                Write(file.Path(), LogOf(file, writer), writer, transactions);
            } catch (const std::exception& e) {
                std::ofstream(LogOf(file, writer) + ".error") << e.what();
                code = 1;
            }
            _exit(code);
        }
        children.push_back(pid);
    }
    for (pid_t pid : children) {
        int status = 0;
        waitpid(pid, &status, 0);
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 0);
    }

    // What the writers were told ...
    std::map<long, std::string> toldHeaders;
    std::map<long, long> toldLines;
    for (int writer = 0; writer < kWriters; ++writer) {
        std::ifstream in(LogOf(file, writer));
        std::string kind, rest;
        long key = 0;
        while (in >> kind >> key >> rest) {
            const bool fresh = kind == "H" ? toldHeaders.emplace(key, rest).second
                                           : toldLines.emplace(key, std::stol(rest)).second;
            EXPECT_TRUE(fresh) << kind << " key twice: " << key;
        }
    }
    // ... is what the library holds.
    auto db = file.Open();
    std::map<long, std::string> headers;
    for (const auto& row : daotest::Rows(*db, "SELECT ProcedureHeaderID, Name FROM ProcedureHeader"))
        headers.emplace(std::stol(row[0]), row[1]);
    EXPECT_EQ(headers, toldHeaders);
    EXPECT_EQ(headers.size(), static_cast<std::size_t>(kWriters * PerProcess(transactions)));

    std::map<long, long> lines;
    std::set<long> finished;
    long previousOwner = -1;
    for (const auto& row : daotest::Rows(
             *db, "SELECT ProcedureLineID, ProcedureHeaderID FROM ProcedureLine ORDER BY ProcedureLineID")) {
        const long owner = std::stol(row[1]);
        lines.emplace(std::stol(row[0]), owner);
        if (transactions && owner != previousOwner) {
            // Each procedure's lines form one run.
            EXPECT_TRUE(finished.insert(owner).second) << "lines of " << owner << " interleaved";
            previousOwner = owner;
        }
    }
    EXPECT_EQ(lines, toldLines);
}

INSTANTIATE_TEST_SUITE_P(Library, TwoWriters, testing::Values(true, false), [](const auto& info) {
    return info.param ? "OneTransactionPerProcedure" : "RowByRow";
});

}  // namespace
