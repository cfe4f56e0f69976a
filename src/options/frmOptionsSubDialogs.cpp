// The Options dialog's buttons that open the comment-stub and error-message dialogs.
#include "forms/ErrorReport.h"
#include "options/frmCommentStubs.h"
#include "options/frmCustomizeErrorMessage.h"
#include "options/frmOptions.h"

namespace pv {

void frmOptions::cmdCommentStubs_Click() {
    forms::Trap(env_.ui, "cmdCommentStubs_Click()", [&] {
        frmCommentStubs dialog(env_, mainStubs_);
        ShowOverThis(dialog);
    });
}

void frmOptions::cmdCustomizeErrorMessage_Click() {
    forms::Trap(env_.ui, "cmdCustomizeErrorMessage_Click()", [&] {
        frmCustomizeErrorMessage dialog(env_);
        ShowOverThis(dialog);
    });
}

}  // namespace pv
