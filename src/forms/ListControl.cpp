// The item store shared by list and combo boxes: sorted insertion, item data,
// and a ListIndex that stays on its entry while entries come and go.
#include <algorithm>

#include "forms/Collation.h"
#include "forms/Controls.h"
#include "forms/PropertyErrors.h"

namespace forms {

void ListControl::CheckIndex(int index) const {
    if (index < 0 || index >= ListCount()) detail::RaiseInvalidIndex();
}

void ListControl::AddItem(const std::string& text, int index) {
    if (index < -1 || index > ListCount()) detail::RaiseInvalidCall();
    auto position = items_.end();
    // Filling a list from sorted data appends every entry: one comparison each.
    // Otherwise after any equal entries, as the list box files a duplicate.
    if (sorted_ && !items_.empty() && CompareListText(text, items_.back().text) < 0)
        position = std::upper_bound(
            items_.begin(), items_.end(), text,
            [](const std::string& value, const Item& item) { return CompareListText(value, item.text) < 0; });
    else if (!sorted_ && index >= 0)
        position = items_.begin() + index;
    const int at = static_cast<int>(position - items_.begin());
    items_.insert(position, Item{text, 0, false});
    newIndex_ = at;
    Notify(Prop::List);
    if (listIndex_ >= at) MoveListIndex(listIndex_ + 1);
}

void ListControl::RemoveItem(int index) {
    CheckIndex(index);
    items_.erase(items_.begin() + index);
    newIndex_ = -1;
    Notify(Prop::List);
    if (listIndex_ == index) {
        MoveListIndex(-1);
        // A drop-down list shows nothing but its chosen entry.
        if (Kind() == ControlKind::ComboBox && static_cast<ComboBox*>(this)->Style() == 2)
            static_cast<ComboBox*>(this)->SetTextSilently("");
    } else if (listIndex_ > index) {
        MoveListIndex(listIndex_ - 1);
    }
}

void ListControl::Clear() {
    newIndex_ = -1;
    if (!items_.empty()) {
        items_.clear();
        Notify(Prop::List);
    }
    MoveListIndex(-1);
    // A combo box's Clear empties its edit portion too.
    if (Kind() == ControlKind::ComboBox) static_cast<ComboBox*>(this)->SetTextSilently("");
}

const std::string& ListControl::List(int index) const {
    CheckIndex(index);
    return items_[static_cast<std::size_t>(index)].text;
}

void ListControl::SetList(int index, std::string text) {
    CheckIndex(index);
    auto& item = items_[static_cast<std::size_t>(index)];
    if (item.text == text) return;
    item.text = std::move(text);
    Notify(Prop::List);
}

long ListControl::ItemData(int index) const {
    CheckIndex(index);
    return items_[static_cast<std::size_t>(index)].data;
}

void ListControl::SetItemData(int index, long data) {
    CheckIndex(index);
    items_[static_cast<std::size_t>(index)].data = data;
}

void ListControl::SetListIndex(int index) {
    if (index < -1 || index >= ListCount()) detail::RaiseInvalidValue();
    if (index == -1 && listIndex_ == -1) return;
    MoveListIndex(index);
    AfterListIndexSet();
    Click.Raise();
}

void ListControl::MoveListIndex(int index) {
    if (index == listIndex_) return;
    listIndex_ = index;
    Notify(Prop::ListIndex);
}

}  // namespace forms
