#pragma once
// One command's run of the library dialogs, played as a user would: the Options
// dialog is the door, and its Procedures and Categories buttons check the stored
// library (missing, not found, foreign tables) before the organizer or the
// category editor opens. Messages go to the terminal as ConsoleUi prints them.
#include <functional>
#include <optional>
#include <string>

#include "cli/Command.h"
#include "cli/ConsoleUi.h"
#include "forms/Controls.h"
#include "settings/Env.h"
#include "vbrt/SettingsStore.h"

namespace pv {
class frmEditCategories;
class frmOptions;
class frmOrganizeProcedures;
}  // namespace pv

namespace pvcli {

// Index of the entry with this text / this ItemData in a list or combo; -1 when none.
int IndexOfText(const forms::ListControl& list, const std::string& text);
int IndexOfKey(const forms::ListControl& list, long key);

class LibraryRun {
public:
    // `answer`: how every Yes/No question is answered (--yes / --no); unset asks on a terminal.
    explicit LibraryRun(Context& ctx, std::optional<bool> answer = std::nullopt);
    // A run that only reads the settings: what the dialogs initialise when they
    // open stays in memory, so the user's file is never written.
    struct ReadingOnly {};
    LibraryRun(Context& ctx, ReadingOnly);

    ConsoleUi& Ui() { return ui_; }
    pv::Env Env() { return {ui_, view_ ? static_cast<vbrt::SettingsStore&>(*view_) : ctx_.store}; }

    // Shows the Options dialog and lets `play` act in it; the dialog is cancelled
    // afterwards unless `play` closed it.
    void InOptions(const std::function<void(pv::frmOptions&)>& play);
    // Options, then "&Procedures..." / "Cate&gories...". False when the dialog
    // never opened (the reason was shown).
    bool InOrganizer(const std::function<void(pv::frmOrganizeProcedures&)>& play);
    bool InCategories(const std::function<void(pv::frmEditCategories&)>& play);

    // Options, then `press` opens the dialog `formName` and `play` acts in it.
    // False when that dialog never opened.
    bool Through(const char* formName, const std::function<void(forms::Form&)>& play,
                 const std::function<void(pv::frmOptions&)>& press);

    // kExitOk when `done` and no error or warning was shown since the run began.
    int ExitCode(bool done) const;

private:
    Context& ctx_;
    ConsoleUi ui_;
    std::optional<vbrt::ReadOnlySettingsView> view_;
};

}  // namespace pvcli
