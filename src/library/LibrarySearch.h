#pragma once
// Finding stored procedures by words: every word of the search must begin a word
// of one of the procedure's lines or stand anywhere in its name. Hits come ranked:
// names holding every word first, then the most matching lines, then by name.
#include <string>
#include <vector>

#include "dao/Database.h"
#include "dao/Value.h"

namespace pv {

struct SearchHit {
    long key = 0;  // ProcedureHeaderID
    std::string name;
    std::string type;
    dao::Value category;     // CategoryID as stored; may be Null
    long lines = 0;          // lines holding at least one of the words
    bool nameMatch = false;  // the name holds every word
};

// The words of `text` (Windows-1252): its runs of letters and digits. Every
// other character, "_" included, separates words, as the word index reads lines.
std::vector<std::string> SearchWords(const std::string& text);

// The procedures matching every word of `text`, best first; at most `limit`
// (0 or less: all). A library file without the word index gets it first, in one
// transaction; one that cannot be written now is searched line by line instead.
std::vector<SearchHit> SearchLibrary(dao::Database& db, const std::string& text, int limit);

}  // namespace pv
