// The part every control shares: state, change notices, and the focus rules.
#include "forms/Controls.h"
#include "forms/Form.h"
#include "forms/PropertyErrors.h"

namespace forms {

namespace {

bool TakesFocus(ControlKind kind) {
    return kind != ControlKind::Label && kind != ControlKind::Frame && kind != ControlKind::PictureBox;
}

TabStrip* FirstTabStrip(const Form& form) {
    for (const auto& control : form.Controls())
        if (control->Kind() == ControlKind::TabStrip) return static_cast<TabStrip*>(control.get());
    return nullptr;
}

}  // namespace

Control::Control(Form* form, Control* container, ControlKind kind, std::string name)
    : form_(form), container_(container), kind_(kind), name_(std::move(name)) {}

void Control::Notify(Prop what) {
    // By index: a listener may subscribe another one while being told.
    for (std::size_t i = 0; i < listeners_.size(); ++i) listeners_[i](what);
}

void Control::SetEnabled(bool value) {
    if (enabled_ == value) return;
    enabled_ = value;
    Notify(Prop::Enabled);
}

void Control::SetVisible(bool value) {
    if (visible_ == value) return;
    visible_ = value;
    Notify(Prop::Visible);
}

void Control::Move(long left, long top, long width, long height) {
    if (left == left_ && top == top_ && width == width_ && height == height_) return;
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    Notify(Prop::Geometry);
}

TabStrip* Control::TabOwner() const {
    if (tabPage_ < 0) return nullptr;
    for (Control* c = container_; c != nullptr && c->kind_ != ControlKind::Form; c = c->container_)
        if (c->kind_ == ControlKind::TabStrip) return static_cast<TabStrip*>(c);
    if (container_ == form_ && form_ != nullptr) return FirstTabStrip(*form_);
    return nullptr;
}

bool Control::IsUsable() const {
    for (const Control* c = this; c != nullptr && c->kind_ != ControlKind::Form; c = c->container_)
        if (!c->enabled_ || !c->visible_) return false;
    return true;
}

// A tab control shows only the controls of its current page (and those of no page).
bool Control::OnCurrentPage() const {
    for (const Control* c = this; c != nullptr && c->kind_ != ControlKind::Form; c = c->container_) {
        const TabStrip* strip = c->TabOwner();
        if (strip == nullptr) continue;
        if (strip->Tab() != c->tabPage_ || !strip->IsUsable() || !strip->OnCurrentPage()) return false;
    }
    return true;
}

bool Control::CanFocus() const {
    if (form_ == nullptr || !form_->IsShown()) return false;
    if (kind_ == ControlKind::Form) return true;
    return TakesFocus(kind_) && IsUsable() && OnCurrentPage();
}

bool Control::HasFocus() const {
    return form_ != nullptr && form_->ActiveControl() == this;
}

void Control::SetFocus() {
    if (!CanFocus()) detail::RaiseInvalidCall();
    if (kind_ == ControlKind::Form) return;
    Control* old = form_->ActiveControl();
    if (old == this) return;
    // No control holds the focus while the old one hears LostFocus, so a handler
    // that takes the focus back (a drop-down checking itself) wins cleanly.
    form_->SetActiveControl(nullptr);
    if (old != nullptr) {
        old->Notify(Prop::Focus);
        old->LostFocus.Raise();
    }
    if (form_->ActiveControl() != nullptr || !CanFocus()) return;
    form_->SetActiveControl(this);
    Notify(Prop::Focus);
    GotFocus.Raise();
}

bool Control::BeginUserAction() {
    if (!IsUsable()) return false;
    if (form_ == nullptr || !form_->IsShown()) return true;  // driven headless before showing
    if (!OnCurrentPage()) return false;
    if (!TakesFocus(kind_)) return true;
    if (!HasFocus()) SetFocus();
    return HasFocus();
}

}  // namespace forms
