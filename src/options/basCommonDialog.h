#pragma once
// The file-open dialog: a title, a filter and a starting folder in, the chosen
// path out, or "" when the user cancels. The platform's dialog is the Ui's.
#include <string>

#include "settings/Env.h"

namespace pv {

// `strFilter` pairs a description with its pattern, "|" between all parts
// ("Databases (*.mdb)|*.mdb"). The chosen path comes back without surrounding blanks.
std::string ShowOpenFileDialog(Env& env, const std::string& strDialogTitle, const std::string& strFilter,
                               const std::string& strInitialDir = "");

}  // namespace pv
