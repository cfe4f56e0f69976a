#pragma once
// The shared library module: finding and opening the library file, the
// in-memory list of stored procedures, filling the category and procedure
// lists every library dialog shows, and small helpers many dialogs use.
#include <memory>
#include <string>
#include <vector>

#include "dao/Database.h"
#include "dao/Value.h"
#include "forms/Controls.h"
#include "settings/Env.h"

namespace pv {

// One stored procedure as GetProcedures loads it.
struct ProcedureRecord {
    long ProcedureHeaderID = 0;
    std::string Name;
    std::string Type;
    dao::Value CategoryID;  // as read; may be Null
};

// The stored procedures, process-wide, as the add-in's design has them. Always
// at least one element; an element with an empty Name stands for none.
extern std::vector<ProcedureRecord> LibraryProcedures;
// Back to the single empty element (the main dialog does this when it opens).
void ResetLibraryProcedures();

// The hourglass while an operation works with the library; the default pointer
// again however the operation ends.
class WaitCursor {
public:
    explicit WaitCursor(forms::Ui& ui);
    ~WaitCursor();
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    forms::Ui& ui_;
};

// The library file's path from the settings, or "" when none was entered.
std::string ProcvaultLocation(Env& env);

// Opens the library into `db`, or tells the user why not and returns false.
bool OpenProcvaultDB(Env& env, std::unique_ptr<dao::Database>& db);
// Opens the library at `location`, or nothing when no file or server library is
// there to open; the engine's other failures are raised.
std::unique_ptr<dao::Database> OpenLocation(const std::string& location);

// Reloads LibraryProcedures; false (array untouched) when the library cannot be opened.
bool GetProcedures(Env& env);

// Refills `combo` with "(All)" (item data 0) and every category (item data its
// key) and selects entry 0; left empty when the library cannot be opened.
void RefreshCategoriesList(Env& env, forms::ComboBox& combo);

// Refills `list` from LibraryProcedures: kind filter "All", "Functions" or
// "Subs", category from the combo's selected entry (0: every category). Empty
// when the combo has no selected entry.
void RefreshAvailableProceduresList(Env& env, forms::ListBox& list, forms::ComboBox& category,
                                    const std::string& kindFilter);

// Gives the control the focus and selects its whole text; a control that
// cannot take the focus yet (error 5) is passed over silently.
void SelectControl(Env& env, forms::Control& control);

// The part after the last "\" or "/"; the whole path when it has none.
std::string ExtractFileName(const std::string& path);
// Up to and including the last "\" or "/"; "" when it has none.
std::string ExtractFilePath(const std::string& path);

}  // namespace pv
