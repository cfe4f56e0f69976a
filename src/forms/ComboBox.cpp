// The combo box: an item list plus an edit portion that shows the chosen
// entry or what the user typed.
#include <algorithm>

#include "forms/Controls.h"
#include "forms/PropertyErrors.h"
#include "vbrt/Text.h"

namespace forms {

namespace {

int FindEntry(const ComboBox& combo, const std::string& text) {
    for (int i = 0; i < combo.ListCount(); ++i)
        if (vbrt::EqualsText(combo.List(i), text)) return i;
    return -1;
}

}  // namespace

void ComboBox::SetTextSilently(std::string text) {
    if (text == text_) return;
    text_ = std::move(text);
    Notify(Prop::Text);
    SetSelectionSilently(selStart_, selLength_);
}

void ComboBox::SetSelectionSilently(long start, long length) {
    if (detail::ClampSelection(static_cast<long>(text_.size()), start, length, selStart_, selLength_))
        Notify(Prop::Selection);
}

void ComboBox::SetText(std::string text) {
    if (style_ == 2) {
        // A drop-down list can only show one of its entries.
        const int entry = FindEntry(*this, text);
        if (entry < 0) vbrt::Raise(detail::kTextReadOnly, "'Text' property is read-only");
        SetListIndex(entry);
        return;
    }
    if (text == text_) return;
    SetTextSilently(std::move(text));
    if (listIndex_ >= 0 && items_[static_cast<std::size_t>(listIndex_)].text != text_) MoveListIndex(-1);
    Change.Raise();
}

void ComboBox::SetSelection(long start, long length) {
    SetSelectionSilently(start, length);
}

// The edit portion shows the chosen entry, all of it selected; -1 empties it.
void ComboBox::AfterListIndexSet() {
    SetTextSilently(listIndex_ >= 0 ? items_[static_cast<std::size_t>(listIndex_)].text : std::string());
    SetSelectionSilently(0, static_cast<long>(text_.size()));
}

void ComboBox::ChooseItem(int index) {
    CheckIndex(index);
    if (!BeginUserAction()) return;
    SetListIndex(index);
}

void ComboBox::TypeText(std::string text, int keyCode) {
    if (!BeginUserAction()) return;
    KeyDown.Raise(keyCode, 0);
    if (style_ == 2) {
        // Typing in a drop-down list picks the entry with that text, if any.
        const int entry = FindEntry(*this, text);
        if (entry >= 0) SetListIndex(entry);
        return;
    }
    if (text == text_) return;
    SetTextSilently(std::move(text));
    SetSelectionSilently(static_cast<long>(text_.size()), 0);
    MoveListIndex(-1);
    Change.Raise();
}

}  // namespace forms
