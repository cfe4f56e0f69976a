// procvault library copy: a whole library from one location to another (a file
// or a PostgreSQL database, either way), with its keys and line order, so that a
// library can move to a server and back. The destination changes in one
// transaction: a copy that fails or is killed leaves it empty.
#include <unistd.h>

#include <memory>
#include <string>
#include <vector>

#include "cli/Command.h"
#include "dao/DBEngine.h"
#include "dao/JetSql.h"
#include "dao/Location.h"

namespace pvcli {
namespace {

struct CopyRequest {
    std::string from, to;
};

// The tables in the order their rows may refer to each other; the key comes first.
struct TableCopy {
    const char* name;
    std::vector<const char*> columns;
};
const TableCopy kTables[] = {{"Category", {"CategoryID", "CategoryDesc"}},
                             {"ProcedureHeader", {"ProcedureHeaderID", "Name", "Type", "CategoryID"}},
                             {"ProcedureLine", {"ProcedureLineID", "ProcedureHeaderID", "Line"}}};

// Rows per INSERT, and a bound on its text, well inside what either engine takes in one statement.
constexpr int kBatchRows = 200;
constexpr std::size_t kBatchBytes = 256 * 1024;
constexpr int kStepPercent = 10;

std::string Literal(const dao::Value& value) {
    if (value.IsNull()) return "Null";
    return value.IsText() ? dao::QuoteText(value.AsString()) : value.AsString();
}

std::string ColumnList(const TableCopy& table) {
    std::string list;
    for (const char* column : table.columns) list += (list.empty() ? "" : ", ") + std::string(column);
    return list;
}

// Collects rows and adds them to the destination several at a time.
class BatchInsert {
public:
    BatchInsert(dao::Database& db, const TableCopy& table)
        : db_(db), head_("INSERT INTO " + std::string(table.name) + " (" + ColumnList(table) + ") VALUES ") {}
    void Add(const std::string& row) {
        values_ += (rows_ ? ", (" : "(") + row + ")";
        if (++rows_ == kBatchRows || values_.size() >= kBatchBytes) Flush();
    }
    void Flush() {
        if (rows_ == 0) return;
        db_.Execute(head_ + values_);
        values_.clear();
        rows_ = 0;
    }

private:
    dao::Database& db_;
    std::string head_, values_;
    int rows_ = 0;
};

// On a terminal, a line at every tenth of the rows copied.
class CopyProgress {
public:
    CopyProgress(std::FILE* err, long total) : err_(isatty(fileno(err)) ? err : nullptr), total_(total) {}
    void Step() {
        ++done_;
        if (!err_ || total_ == 0) return;
        const long percent = done_ * 100 / total_;
        if (percent < printed_ + kStepPercent || percent == 100) return;
        printed_ = percent - percent % kStepPercent;
        std::fprintf(err_, "procvault library copy: %ld%% copied\n", printed_);
        std::fflush(err_);
    }

private:
    std::FILE* err_;
    long total_, done_ = 0, printed_ = 0;
};

long Count(dao::Database& db, const char* table) {
    return db.OpenRecordset("SELECT count(*) FROM " + std::string(table), dao::dbOpenSnapshot)
        ->Fields(0)
        .Value()
        .AsLong();
}

void CheckEmpty(dao::Database& db, const std::string& to) {
    for (const TableCopy& table : kTables)
        if (Count(db, table.name) > 0)
            throw BadInput(dao::MaskedLocation(to) +
                           " already holds categories or procedures (copy only into a new library from "
                           "'procvault library init')");
}

void CopyTable(dao::Database& source, dao::Database& destination, const TableCopy& table,
               CopyProgress& progress) {
    BatchInsert insert(destination, table);
    const std::string key = table.columns.front();
    auto rs = source.OpenRecordset("SELECT " + ColumnList(table) + " FROM " + table.name + " ORDER BY " + key,
                                   dao::dbOpenSnapshot);
    for (; !rs->Eof(); rs->MoveNext()) {
        std::string row;
        for (int i = 0; i < rs->FieldCount(); ++i) row += (i ? ", " : "") + Literal(rs->Fields(i).Value());
        insert.Add(row);
        progress.Step();
    }
    insert.Flush();
    destination.SyncKeys(table.name);
}

int Copy(const CopyRequest& request, Context& ctx) {
    const dao::DBEngine engine;
    auto source = engine.OpenDatabase(request.from);
    auto destination = engine.OpenDatabase(request.to);
    dao::Transaction writing(*destination);
    CheckEmpty(*destination, request.to);
    // Keeps the source's writers out while it is read, so that no line arrives
    // without the procedure it belongs to.
    dao::Transaction reading(*source);
    std::vector<long> counts;
    long total = 0;
    for (const TableCopy& table : kTables) total += counts.emplace_back(Count(*source, table.name));
    CopyProgress progress(ctx.io.err, total);
    for (const TableCopy& table : kTables) CopyTable(*source, *destination, table, progress);
    writing.Commit();
    std::fprintf(ctx.io.err, "procvault: copied %ld procedures (%ld lines) in %ld categories from %s to %s\n",
                 counts[1], counts[2], counts[0], dao::MaskedLocation(request.from).c_str(),
                 dao::MaskedLocation(request.to).c_str());
    return kExitOk;
}

}  // namespace

void AddLibraryCopyCommand(CLI::App& library, Context& ctx) {
    auto request = std::make_shared<CopyRequest>();
    CLI::App& command = AddCommand(library, "copy",
                                   "Copy a whole library to another location\n"
                                   "Copies every category, procedure and line of the library at FROM into\n"
                                   "the empty library at TO, keys and line order included. Each is a file\n"
                                   "or a postgresql:// URI; make TO with 'procvault library init'. TO gets\n"
                                   "all of it or, when the copy fails, nothing.");
    command.add_option("FROM", request->from, "the library to copy")->required()->type_name("");
    command.add_option("TO", request->to, "the empty library to copy it into")->required()->type_name("");
    OnRun(command, ctx, "; nothing was copied", [request, &ctx] { return Copy(*request, ctx); });
}

}  // namespace pvcli
