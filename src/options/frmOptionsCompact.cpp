// Compact Now: the stored library repaired and compacted in place.
#include "forms/ErrorReport.h"
#include "library/DialogKit.h"
#include "library/basConnect.h"
#include "options/RepairCompact.h"
#include "options/frmOptions.h"

namespace pv {
namespace {

constexpr const char* kCompacted = "The Repair & Compact was completed successfully.";

}  // namespace

void frmOptions::cmdCompact_Click() {
    // The default pointer again once the failure report, if any, has been seen.
    PointerReset pointer(env_);
    forms::Trap(env_.ui, "cmdCompact_Click()", [&] {
        if (!OKDatabaseLocation()) return;
        // The box was only checked: the library compacted is the one the other dialogs use.
        const std::string strLocation = ProcvaultLocation(env_);
        env_.ui.SetMousePointer(forms::vbHourglass);
        RepairAndCompactLibrary(strLocation);
        env_.ui.MsgBox(kCompacted, forms::vbOKOnly | forms::vbInformation, kProcvaultTitle);
    });
}

}  // namespace pv
