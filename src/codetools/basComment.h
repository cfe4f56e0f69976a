#pragma once
// The block-comment commands of the code window's context menu. Both act on the
// lines covered by the active code pane's selection; a selection ending at
// column 1 does not include its end line. The prefix and alignment are read
// from the settings at every call.
#include <string>

#include "settings/Env.h"

namespace pv {

void CommentSelection(Env& env);
void UncommentSelection(Env& env);

// Helpers, exposed for tests.
bool IsBlankLine(const std::string& line);
long LeadingSpaces(const std::string& line);
// The line with the prefix removed when it begins the line's text (only blanks
// before it); the line unchanged otherwise.
bool RemoveLeadingPrefix(const std::string& line, const std::string& prefix, std::string& result);

}  // namespace pv
