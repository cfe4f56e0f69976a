#pragma once
// The order of every sorted list and combo box: the user's locale as the list
// box sees it (fixed to US English so that the order does not depend on the
// machine). Letter case is ignored; blanks and punctuation sort before digits,
// digits before letters, and an accented letter next to its base letter. Texts
// are Windows-1252 bytes; keys are byte strings compared with memcmp.
#include <string>
#include <string_view>

namespace forms {

// The collation key of a list text; a < b in list order exactly when
// ListSortKey(a) < ListSortKey(b) as byte strings. Equal keys: equal in order.
std::string ListSortKey(std::string_view text);

// <0, 0 or >0 as a sorts before, with or after b in list order.
int CompareListText(std::string_view a, std::string_view b);

}  // namespace forms
