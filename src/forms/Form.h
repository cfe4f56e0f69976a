#pragma once
// A VB form: a top-level container of controls, loaded for one use, shown
// modally through the Ui service and unloaded when it closes. Dialog classes
// derive from Form, hold their controls as members (created with Add<T>) and
// connect the controls' events to their handler methods.
#include <memory>
#include <string>
#include <vector>

#include "forms/Controls.h"

namespace forms {

class Ui;

class Form : public Control {
public:
    explicit Form(std::string name);
    ~Form() override;

    const std::string& Caption() const { return caption_; }
    void SetCaption(std::string caption);
    // 3 fixed dialog, 2 sizable (VB's BorderStyle).
    int BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(int style) { borderStyle_ = style; }
    long ScaleWidth() const;  // client area, twips
    long ScaleHeight() const;

    // Creates a control owned by the form, inside `container` (the form when null).
    template <class T>
    T& Add(const std::string& name, Control* container = nullptr) {
        auto control = std::make_unique<T>(this, container ? container : this, name);
        T& ref = *control;
        controls_.push_back(std::move(control));
        return ref;
    }
    const std::vector<std::unique_ptr<Control>>& Controls() const { return controls_; }
    Control* FindControl(const std::string& name) const;
    CommandButton* DefaultButton() const;
    CommandButton* CancelButton() const;

    // Shown: between the start of ShowModal and Unload.
    bool IsShown() const { return shown_; }
    bool IsLoaded() const { return loaded_; }
    Control* ActiveControl() const { return activeControl_; }

    // Shows the form modally through `ui`; returns after Unload. Raises Load
    // first (once), and gives the focus to the first focusable control by TabIndex.
    void ShowModal(Ui& ui);
    // Hides and unloads: raises Unload, ends the modal loop. Safe to call twice.
    void Unload();
    // A user's resize (sizable forms): new outer size in twips, raises Resize.
    void ResizeByUser(long width, long height);
    // The close box: as VB's QueryUnload then Unload.
    void CloseByUser();

    Event<> Load;
    Event<> UnloadEvent;
    Event<> Resize;

    // Called by the Ui implementation around its modal loop. BeginShow raises
    // Load (first show since the last Unload; SetFocus fails there, the form is
    // not yet visible), marks the form shown, raises Resize, then focuses the
    // first focusable control by TabIndex. EndShow unloads a form left open.
    void BeginShow();
    void EndShow();

private:
    friend class Control;
    void SetActiveControl(Control* control) { activeControl_ = control; }
    Control* FirstFocusable() const;

    std::string caption_;
    int borderStyle_ = 3;
    bool shown_ = false;
    bool loaded_ = true;
    bool loadRaised_ = false;
    bool unloading_ = false;
    Control* activeControl_ = nullptr;
    std::vector<std::unique_ptr<Control>> controls_;
};

}  // namespace forms
