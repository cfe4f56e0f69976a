#include "library/SelectedIds.h"

namespace pv {

std::string SelectedIdList(const forms::ListBox& list) {
    std::string ids;
    for (int i = 0; i < list.ListCount(); ++i) {
        if (!list.Selected(i)) continue;
        if (!ids.empty()) ids += ", ";
        ids += std::to_string(list.ItemData(i));
    }
    return ids;
}

}  // namespace pv
