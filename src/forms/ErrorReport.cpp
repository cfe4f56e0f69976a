// The standard failure report and the trap every procedure runs its body in.
#include "forms/ErrorReport.h"

namespace forms {

namespace {

constexpr long kInternalError = 51;

}  // namespace

void ReportError(Ui& ui, const std::string& title, const vbrt::VbError& error) {
    ui.MsgBox(error.Description() + " " + std::to_string(error.Number()), vbOKOnly | vbCritical, title);
}

bool Trap(Ui& ui, const std::string& title, const std::function<void()>& body,
          const std::function<bool(const vbrt::VbError&)>& filter) {
    try {
        body();
        return true;
    } catch (const vbrt::VbError& error) {
        if (!filter || !filter(error)) ReportError(ui, title, error);
    } catch (const std::exception& failure) {
        ReportError(ui, title,
                    vbrt::VbError(kInternalError, std::string("Internal error: ") + failure.what()));
    }
    return false;
}

}  // namespace forms
