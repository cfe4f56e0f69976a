// The list box's selection: one entry (ListIndex) or, in a multi-select list,
// a flag per entry with ListIndex marking the entry clicked last.
#include "forms/Controls.h"

namespace forms {

bool ListBox::Selected(int index) const {
    CheckIndex(index);
    if (multiSelect_ == 0) return index == listIndex_;
    return items_[static_cast<std::size_t>(index)].selected;
}

void ListBox::SetSelected(int index, bool value) {
    CheckIndex(index);
    if (multiSelect_ == 0) {
        if (value && index != listIndex_) {
            MoveListIndex(index);
        } else if (!value && index == listIndex_) {
            MoveListIndex(-1);
        } else {
            return;
        }
        Click.Raise();
        return;
    }
    auto& item = items_[static_cast<std::size_t>(index)];
    if (item.selected == value) return;
    item.selected = value;
    Notify(Prop::Selected);
    Click.Raise();
}

int ListBox::SelCount() const {
    if (multiSelect_ == 0) return listIndex_ >= 0 ? 1 : 0;
    int count = 0;
    for (const auto& item : items_) count += item.selected ? 1 : 0;
    return count;
}

// Setting ListIndex of a multi-select list from code also selects that entry.
void ListBox::AfterListIndexSet() {
    if (multiSelect_ == 0 || listIndex_ < 0) return;
    auto& item = items_[static_cast<std::size_t>(listIndex_)];
    if (item.selected) return;
    item.selected = true;
    Notify(Prop::Selected);
}

void ListBox::ClickItem(int index) {
    CheckIndex(index);
    if (!BeginUserAction()) return;
    if (multiSelect_ == 1) {
        auto& item = items_[static_cast<std::size_t>(index)];
        item.selected = !item.selected;
        Notify(Prop::Selected);
    } else if (multiSelect_ == 2) {
        // A plain click in an extended list selects that entry alone.
        bool changed = false;
        for (std::size_t i = 0; i < items_.size(); ++i) {
            const bool want = static_cast<int>(i) == index;
            changed = changed || items_[i].selected != want;
            items_[i].selected = want;
        }
        if (changed) Notify(Prop::Selected);
    }
    MoveListIndex(index);
    Click.Raise();
}

void ListBox::DoubleClickItem(int index) {
    CheckIndex(index);
    if (!BeginUserAction()) return;
    if (multiSelect_ != 0 && Selected(index)) {
        // The double click keeps an already chosen entry chosen.
        MoveListIndex(index);
        Click.Raise();
    } else {
        ClickItem(index);
    }
    DblClick.Raise();
}

}  // namespace forms
