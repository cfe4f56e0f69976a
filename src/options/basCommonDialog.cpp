#include "options/basCommonDialog.h"

namespace pv {
namespace {

// VB's Trim: blanks only, tabs stay.
std::string TrimBlanks(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace

std::string ShowOpenFileDialog(Env& env, const std::string& strDialogTitle, const std::string& strFilter,
                               const std::string& strInitialDir) {
    // The Ui takes the filter in its "|" form; only a Win32 dialog needs it NUL-separated.
    const forms::OpenFileRequest request{strDialogTitle, strFilter, strInitialDir};
    return TrimBlanks(env.ui.ShowOpenFileDialog(request));
}

}  // namespace pv
