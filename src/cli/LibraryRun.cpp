#include "cli/LibraryRun.h"

#include "library/basConnect.h"
#include "library/frmEditCategories.h"
#include "library/frmOrganizeProcedures.h"
#include "options/frmOptions.h"

namespace pvcli {

int IndexOfText(const forms::ListControl& list, const std::string& text) {
    for (int i = 0; i < list.ListCount(); ++i)
        if (list.List(i) == text) return i;
    return -1;
}

int IndexOfKey(const forms::ListControl& list, long key) {
    for (int i = 0; i < list.ListCount(); ++i)
        if (list.ItemData(i) == key) return i;
    return -1;
}

LibraryRun::LibraryRun(Context& ctx, std::optional<bool> answer) : ctx_(ctx), ui_(ctx.io.err, ctx.io.in) {
    ui_.SetAnswer(answer);
    // The stored-procedure array is process-wide; every command starts from the library itself.
    pv::ResetLibraryProcedures();
}

LibraryRun::LibraryRun(Context& ctx, ReadingOnly) : LibraryRun(ctx) {
    view_.emplace(ctx.store);
}

void LibraryRun::InOptions(const std::function<void(pv::frmOptions&)>& play) {
    ui_.OnShow("frmOptions", [&](forms::Form& form) { play(static_cast<pv::frmOptions&>(form)); });
    pv::frmOptions dialog(Env());
    ui_.ShowModal(dialog);
}

bool LibraryRun::Through(const char* formName, const std::function<void(forms::Form&)>& play,
                         const std::function<void(pv::frmOptions&)>& press) {
    bool opened = false;
    ui_.OnShow(formName, [&](forms::Form& form) {
        opened = true;
        play(form);
    });
    InOptions(press);
    return opened;
}

bool LibraryRun::InOrganizer(const std::function<void(pv::frmOrganizeProcedures&)>& play) {
    return Through(
        "frmOrganizeProcedures",
        [&](forms::Form& form) { play(static_cast<pv::frmOrganizeProcedures&>(form)); },
        [](pv::frmOptions& options) {
            options.ctlTab.SetTab(1);
            options.cmdProcedures.Press();
        });
}

bool LibraryRun::InCategories(const std::function<void(pv::frmEditCategories&)>& play) {
    return Through(
        "frmEditCategories", [&](forms::Form& form) { play(static_cast<pv::frmEditCategories&>(form)); },
        [](pv::frmOptions& options) {
            options.ctlTab.SetTab(1);
            options.cmdCategories.Press();
        });
}

int LibraryRun::ExitCode(bool done) const {
    return done && ui_.Problems() == 0 ? kExitOk : kExitNotDone;
}

}  // namespace pvcli
