#pragma once
// The key list the organizer's statements take: the item data of the selected
// entries of a procedure list, in list order.
#include <string>

#include "forms/Controls.h"

namespace pv {

// The item data of the selected entries joined by ", "; "" when none is selected.
std::string SelectedIdList(const forms::ListBox& list);

}  // namespace pv
