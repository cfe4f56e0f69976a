// The text box: text from code or typed, its length limit and its selection.
#include <algorithm>

#include "forms/Controls.h"
#include "forms/PropertyErrors.h"

namespace forms {

void TextBox::SetText(std::string text) {
    if (text == text_) return;
    text_ = std::move(text);
    Notify(Prop::Text);
    // VB puts the caret at the start when code replaces the text.
    SetSelection(0, 0);
    Change.Raise();
}

void TextBox::TypeText(std::string text) {
    if (locked_ || !BeginUserAction()) return;
    if (maxLength_ > 0 && text.size() > static_cast<std::size_t>(maxLength_))
        text.resize(static_cast<std::size_t>(maxLength_));
    if (text == text_) return;
    text_ = std::move(text);
    Notify(Prop::Text);
    // The caret follows what was typed.
    SetSelection(static_cast<long>(text_.size()), 0);
    Change.Raise();
}

void TextBox::SetMaxLength(int value) {
    if (value < 0) detail::RaiseInvalidValue();
    if (value == maxLength_) return;
    maxLength_ = value;
    Notify(Prop::MaxLength);
}

void TextBox::SetSelection(long start, long length) {
    if (detail::ClampSelection(static_cast<long>(text_.size()), start, length, selStart_, selLength_))
        Notify(Prop::Selection);
}

std::string TextBox::SelText() const {
    return text_.substr(static_cast<std::size_t>(selStart_), static_cast<std::size_t>(selLength_));
}

}  // namespace forms
