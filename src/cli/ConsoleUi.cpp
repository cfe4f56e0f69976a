#include "cli/ConsoleUi.h"

#include <unistd.h>

#include <ctime>

#include "forms/Form.h"
#include "vbrt/Text.h"

namespace pvcli {
namespace {

const char* Kind(int buttons) {
    switch (buttons & forms::kIconMask) {
    case forms::vbCritical: return "error";
    case forms::vbExclamation: return "warning";
    case forms::vbQuestion: return "question";
    default: return "note";
    }
}

// CR LF inside a message becomes a plain newline on the terminal.
std::string ForTerminal(const std::string& text) {
    std::string out = vbrt::Cp1252ToUtf8(text);
    std::string::size_type at = 0;
    while ((at = out.find("\r\n", at)) != std::string::npos) out.erase(at, 1);
    return out;
}

bool IsYesNo(int buttons) {
    const int set = buttons & forms::kButtonsMask;
    return set == forms::vbYesNo || set == forms::vbYesNoCancel;
}

}  // namespace

int ConsoleUi::MsgBox(const std::string& prompt, int buttons, const std::string& title) {
    ++messages_;
    const int icon = buttons & forms::kIconMask;
    if (icon == forms::vbCritical || icon == forms::vbExclamation) ++problems_;
    std::fprintf(err_, "%s: %s: %s\n", ForTerminal(title).c_str(), Kind(buttons), ForTerminal(prompt).c_str());
    std::fflush(err_);
    if (IsYesNo(buttons)) return Ask(prompt, buttons);
    // Without a person to ask, the answer that changes nothing.
    switch (buttons & forms::kButtonsMask) {
    case forms::vbOKOnly: return forms::vbOK;
    case forms::vbAbortRetryIgnore: return forms::vbAbort;
    default: return forms::vbCancel;
    }
}

int ConsoleUi::Ask(const std::string& /*prompt*/, int /*buttons*/) {
    if (answer_) return *answer_ ? forms::vbYes : forms::vbNo;
    if (!isatty(fileno(in_))) {
        std::fprintf(err_, "  (no terminal to ask: answered No; pass --yes to answer Yes)\n");
        return forms::vbNo;
    }
    std::fprintf(err_, "  [y/N] ");
    std::fflush(err_);
    char line[64] = {};
    if (!std::fgets(line, sizeof line, in_)) return forms::vbNo;
    return (line[0] == 'y' || line[0] == 'Y') ? forms::vbYes : forms::vbNo;
}

void ConsoleUi::SendKeys(const std::string& keys) { forms::ApplySelectAllKeys(top_, keys); }

void ConsoleUi::ShowModal(forms::Form& form) {
    forms::Form* outer = top_;
    top_ = &form;
    form.BeginShow();
    auto script = scripts_.find(form.Name());
    if (script != scripts_.end()) script->second(form);
    // A command that has no part to play in this dialog leaves it as Cancel would.
    if (form.IsShown()) form.Unload();
    form.EndShow();
    top_ = outer;
}

std::string ConsoleUi::ShowOpenFileDialog(const forms::OpenFileRequest& /*request*/) { return {}; }

forms::CalendarDate ConsoleUi::Today() const {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

std::string ConsoleUi::MonthShortName(int month) const {
    std::tm date{};
    date.tm_mon = month - 1;
    date.tm_mday = 1;
    date.tm_year = 100;
    char buffer[32] = {};
    std::strftime(buffer, sizeof buffer, "%b", &date);
    return vbrt::Utf8ToCp1252(buffer);
}

}  // namespace pvcli
