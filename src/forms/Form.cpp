// The form's life: load, show, first focus, resize and unload.
#include "forms/Form.h"

#include <algorithm>

#include "forms/Ui.h"
#include "vbrt/Text.h"

namespace forms {

namespace {

// The frame and caption bar of a dialog window, in twips.
constexpr long kBorderWidth = 120;
constexpr long kBorderHeight = 405;
// VB's default size of a new form.
constexpr long kDefaultWidth = 4800;
constexpr long kDefaultHeight = 3600;

}  // namespace

Form::Form(std::string name) : Control(this, nullptr, ControlKind::Form, std::move(name)) {
    Move(0, 0, kDefaultWidth, kDefaultHeight);
}

Form::~Form() {
    // Controls go last to first, so none outlives a container it points at.
    while (!controls_.empty()) controls_.pop_back();
}

void Form::SetCaption(std::string caption) {
    if (caption == caption_) return;
    caption_ = std::move(caption);
    Notify(Prop::Caption);
}

long Form::ScaleWidth() const {
    return std::max(0L, Width() - kBorderWidth);
}
long Form::ScaleHeight() const {
    return std::max(0L, Height() - kBorderHeight);
}

Control* Form::FindControl(const std::string& name) const {
    for (const auto& control : controls_)
        if (vbrt::EqualsText(control->Name(), name)) return control.get();
    return nullptr;
}

CommandButton* Form::DefaultButton() const {
    for (const auto& control : controls_)
        if (control->Kind() == ControlKind::CommandButton) {
            auto* button = static_cast<CommandButton*>(control.get());
            if (button->Default()) return button;
        }
    return nullptr;
}

CommandButton* Form::CancelButton() const {
    for (const auto& control : controls_)
        if (control->Kind() == ControlKind::CommandButton) {
            auto* button = static_cast<CommandButton*>(control.get());
            if (button->Cancel()) return button;
        }
    return nullptr;
}

void Form::ShowModal(Ui& ui) {
    ui.ShowModal(*this);
}

Control* Form::FirstFocusable() const {
    Control* best = nullptr;
    for (const auto& control : controls_)
        if (control->CanFocus() && (best == nullptr || control->TabIndex() < best->TabIndex()))
            best = control.get();
    return best;
}

void Form::BeginShow() {
    if (shown_) return;
    if (!loadRaised_) {
        loadRaised_ = true;
        loaded_ = true;
        // Load runs before the form is visible: a SetFocus there fails with error 5, as in VB.
        Load.Raise();
        if (!loaded_) return;  // Load unloaded the form: it is never shown
    }
    shown_ = true;
    Notify(Prop::Loaded);
    Resize.Raise();
    if (!shown_) return;
    if (Control* first = FirstFocusable()) first->SetFocus();
}

void Form::EndShow() {
    if (shown_) Unload();
}

void Form::Unload() {
    if (unloading_ || (!loaded_ && !shown_)) return;
    unloading_ = true;
    UnloadEvent.Raise();
    Control* focused = activeControl_;
    activeControl_ = nullptr;
    if (focused != nullptr) focused->Notify(Prop::Focus);
    shown_ = false;
    loaded_ = false;
    loadRaised_ = false;
    unloading_ = false;
    Notify(Prop::Loaded);
}

void Form::ResizeByUser(long width, long height) {
    Move(Left(), Top(), width, height);
    Resize.Raise();
}

void Form::CloseByUser() {
    Unload();
}

}  // namespace forms
