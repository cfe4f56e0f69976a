// Captions, buttons, check boxes, option groups and the tab control.
#include "forms/Controls.h"
#include "forms/Form.h"
#include "forms/PropertyErrors.h"

namespace forms {

namespace {

// Sets a caption member, with a notice only when it changes.
bool Assign(std::string& member, std::string value) {
    if (member == value) return false;
    member = std::move(value);
    return true;
}

}  // namespace

void Label::SetCaption(std::string caption) {
    if (Assign(caption_, std::move(caption))) Notify(Prop::Caption);
}

void Frame::SetCaption(std::string caption) {
    if (Assign(caption_, std::move(caption))) Notify(Prop::Caption);
}

void CommandButton::SetCaption(std::string caption) {
    if (Assign(caption_, std::move(caption))) Notify(Prop::Caption);
}

void CommandButton::Press() {
    if (BeginUserAction()) Click.Raise();
}

void CheckBox::SetCaption(std::string caption) {
    if (Assign(caption_, std::move(caption))) Notify(Prop::Caption);
}

void CheckBox::SetValue(int value) {
    if (value < 0 || value > 2) detail::RaiseInvalidValue();
    if (value == value_) return;
    value_ = value;
    Notify(Prop::Value);
    Click.Raise();
}

void CheckBox::Press() {
    if (BeginUserAction()) SetValue(value_ == 1 ? 0 : 1);
}

void OptionButton::SetCaption(std::string caption) {
    if (Assign(caption_, std::move(caption))) Notify(Prop::Caption);
}

void OptionButton::SetValue(bool value) {
    if (value) {
        // One choice per group: the option buttons of one container and tab page.
        for (const auto& control : ParentForm()->Controls()) {
            if (control.get() == this || control->Kind() != ControlKind::OptionButton) continue;
            if (control->Container() != Container() || control->TabPage() != TabPage()) continue;
            static_cast<OptionButton*>(control.get())->SetValue(false);
        }
    }
    if (value_ != value) {
        value_ = value;
        Notify(Prop::Value);
    }
    if (value) Click.Raise();
}

void OptionButton::Press() {
    if (BeginUserAction()) SetValue(true);
}

void TabStrip::SetTabs(std::vector<std::string> captions) {
    if (captions == captions_) return;
    captions_ = std::move(captions);
    Notify(Prop::Caption);
    if (tab_ >= Tabs() && tab_ != 0) {
        tab_ = 0;
        Notify(Prop::Tab);
    }
}

const std::string& TabStrip::TabCaption(int index) const {
    if (index < 0 || index >= Tabs()) detail::RaiseInvalidIndex();
    return captions_[static_cast<std::size_t>(index)];
}

void TabStrip::SetTab(int index) {
    if (index < 0 || index >= Tabs()) detail::RaiseInvalidValue();
    if (index == tab_) return;
    const int previous = tab_;
    tab_ = index;
    Notify(Prop::Tab);
    Click.Raise(previous);
}

}  // namespace forms
