#pragma once
// The dao and library suites run a second time against a server library when
// PV_TEST_SERVER names the file with the throw-away cluster's URI (ctest's
// "server." rows): each test gets a fresh database copied from a template that
// holds the library's schema, dropped at the end.
#include <gtest/gtest.h>
#include <libpq-fe.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <stdexcept>
#include <string>

#include "dao/Schema.h"

namespace daotest {

inline const char* ServerUriFile() {
    return std::getenv("PV_TEST_SERVER");
}

inline bool OnServer() {
    return ServerUriFile() != nullptr;
}

// "postgresql://u@/postgres?host=/x" with another database name.
inline std::string WithDatabase(const std::string& uri, const std::string& name) {
    const auto slash = uri.find('/', uri.find("//") + 2);
    const auto query = uri.find('?', slash);
    return uri.substr(0, slash + 1) + name + (query == std::string::npos ? "" : uri.substr(query));
}

class ServerAdmin {
public:
    static ServerAdmin& Get() {
        static ServerAdmin admin;
        return admin;
    }
    bool Ready() const { return pg_ && PQstatus(pg_) == CONNECTION_OK; }
    const std::string& Uri() const { return uri_; }
    // A new database with the library's tables and no rows; its URI.
    std::string NewLibrary() {
        static std::atomic<int> counter{0};
        const std::string name = "pvt_" + std::to_string(::getpid()) + "_" + std::to_string(++counter);
        Run("SELECT pg_advisory_lock(7)");  // one template maker at a time across test processes
        if (!HasTemplate()) {
            // Byte order as a file sorts, letters of every language folded as Jet folds them.
            Run("CREATE DATABASE pvt_template TEMPLATE template0 ENCODING 'UTF8' LC_COLLATE 'C' LC_CTYPE "
                "'C.UTF-8'");
            dao::CreateLibrary(WithDatabase(uri_, "pvt_template"));
        }
        Run("CREATE DATABASE " + name + " TEMPLATE pvt_template");
        Run("SELECT pg_advisory_unlock(7)");
        return WithDatabase(uri_, name);
    }
    void Drop(const std::string& libraryUri) {
        const auto slash = libraryUri.find('/', libraryUri.find("//") + 2);
        const std::string name = libraryUri.substr(slash + 1, libraryUri.find('?') - slash - 1);
        Run("DROP DATABASE IF EXISTS " + name + " WITH (FORCE)");
    }
    ~ServerAdmin() { PQfinish(pg_); }

private:
    ServerAdmin() {
        std::ifstream in(ServerUriFile());
        std::getline(in, uri_);
        if (!uri_.empty()) pg_ = PQconnectdb(uri_.c_str());
    }
    bool HasTemplate() {
        PGresult* r = PQexec(pg_, "SELECT 1 FROM pg_database WHERE datname = 'pvt_template'");
        const bool found = PQntuples(r) == 1;
        PQclear(r);
        return found;
    }
    void Run(const std::string& sql) {
        PGresult* r = PQexec(pg_, sql.c_str());
        const bool ok = PQresultStatus(r) == PGRES_COMMAND_OK || PQresultStatus(r) == PGRES_TUPLES_OK;
        const std::string message = PQerrorMessage(pg_);
        PQclear(r);
        if (!ok) throw std::runtime_error(sql + ": " + message);
    }
    std::string uri_;
    PGconn* pg_ = nullptr;
};

// Without a running cluster every server row is skipped, never passed.
class ServerEnvironment : public testing::Environment {
public:
    void SetUp() override {
        if (OnServer() && !ServerAdmin::Get().Ready())
            GTEST_SKIP() << "no PostgreSQL cluster answers at the URI in " << ServerUriFile()
                         << " (server.start skipped or failed): server rows not run";
    }
};

inline testing::Environment* const kServerEnvironment =
    testing::AddGlobalTestEnvironment(new ServerEnvironment);

}  // namespace daotest

// For tests of what only a library file has (its bytes, SQLite's locks, its backup names).
#define PV_FILE_LIBRARY_ONLY() \
    if (daotest::OnServer()) GTEST_SKIP() << "a file library's own behaviour: not run on the server"
