#pragma once
// A headless model of VB's intrinsic controls. Dialog logic reads and writes
// these properties and handles their events exactly as a VB form would; a front
// end (the Qt binder) mirrors them in widgets. Geometry is in twips.
//
// VB rules kept here: a sorted list places a new item at its sorted position
// (letter case ignored) and reports it in NewIndex; setting ListIndex, a check
// box's Value or an option button's Value to True from code raises Click;
// SetFocus on a control whose form is not shown, or that is disabled or
// hidden, raises error 5.
#include <functional>
#include <string>
#include <vector>

namespace forms {

class Form;
class Control;
class TabStrip;

enum class ControlKind {
    Form,
    Label,
    Frame,
    TextBox,
    CommandButton,
    CheckBox,
    OptionButton,
    ListBox,
    ComboBox,
    TabStrip,
    PictureBox
};

// What changed on a control, so a front end can update just that.
enum class Prop {
    Caption,
    Text,
    Enabled,
    Visible,
    Value,
    List,
    ListIndex,
    Selected,
    Geometry,
    Focus,
    Selection,
    Tab,
    MaxLength,
    Loaded
};

// VB key codes used by KeyDown handlers.
inline constexpr int vbKeyReturn = 13;
inline constexpr int vbKeyEscape = 27;

template <class... Args>
class Event {
public:
    using Handler = std::function<void(Args...)>;
    void Connect(Handler h) { handlers_.push_back(std::move(h)); }
    void operator=(Handler h) {
        handlers_.clear();
        handlers_.push_back(std::move(h));
    }
    void Raise(Args... args) const {
        for (const auto& h : handlers_) h(args...);
    }
    bool Empty() const { return handlers_.empty(); }

private:
    std::vector<Handler> handlers_;
};

class Control {
public:
    Control(Form* form, Control* container, ControlKind kind, std::string name);
    virtual ~Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    const std::string& Name() const { return name_; }
    ControlKind Kind() const { return kind_; }
    Form* ParentForm() const { return form_; }
    Control* Container() const { return container_; }
    // For controls on a tab control: the tab page (0-based) they sit on, or -1.
    int TabPage() const { return tabPage_; }
    void SetTabPage(int page) { tabPage_ = page; }
    // The tab control whose page this control sits on: the nearest TabStrip
    // container, else the form's first TabStrip; null when TabPage() is -1.
    TabStrip* TabOwner() const;

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool value);
    bool Visible() const { return visible_; }
    void SetVisible(bool value);
    long Left() const { return left_; }
    long Top() const { return top_; }
    long Width() const { return width_; }
    long Height() const { return height_; }
    void Move(long left, long top, long width, long height);
    int TabIndex() const { return tabIndex_; }
    void SetTabIndex(int index) { tabIndex_ = index; }
    // Shows source code, so a front end draws it in the code window's fixed-pitch
    // font (a design-time choice, like VB's FontName).
    bool ShowsCode() const { return showsCode_; }
    void SetShowsCode(bool value) { showsCode_ = value; }

    // Gives this control the focus: raises LostFocus on the control losing it,
    // then GotFocus here. Error 5 when the form is not shown, or the control
    // (or a container) is disabled or hidden.
    void SetFocus();
    bool HasFocus() const;
    // Can the focus go here now (form shown, control and containers enabled and
    // visible, on the current page of its tab control)? Frames, labels and
    // pictures never take it.
    bool CanFocus() const;
    // Could a user reach it: the control and all its containers enabled and visible.
    bool IsUsable() const;

    Event<> GotFocus;
    Event<> LostFocus;
    Event<int /*keyCode*/, int /*shift*/> KeyDown;

    // Front ends subscribe here to mirror the control.
    void OnChanged(std::function<void(Prop)> listener) { listeners_.push_back(std::move(listener)); }

protected:
    // Exactly one notice per actual change; none when a setter changes nothing.
    void Notify(Prop what);
    // Start of a user's action on the control: false when a user could not act
    // on it; on a shown form it takes the focus first (as a click does) and
    // fails when a LostFocus handler keeps the focus elsewhere.
    bool BeginUserAction();

private:
    friend class Form;
    bool OnCurrentPage() const;

    Form* form_;
    Control* container_;
    ControlKind kind_;
    std::string name_;
    int tabPage_ = -1;
    bool enabled_ = true;
    bool visible_ = true;
    long left_ = 0, top_ = 0, width_ = 1215, height_ = 375;
    int tabIndex_ = 0;
    bool showsCode_ = false;
    std::vector<std::function<void(Prop)>> listeners_;
};

class Label : public Control {
public:
    Label(Form* form, Control* container, std::string name)
        : Control(form, container, ControlKind::Label, std::move(name)) {}
    const std::string& Caption() const { return caption_; }
    void SetCaption(std::string caption);

private:
    std::string caption_;
};

class Frame : public Control {
public:
    Frame(Form* form, Control* container, std::string name)
        : Control(form, container, ControlKind::Frame, std::move(name)) {}
    const std::string& Caption() const { return caption_; }
    void SetCaption(std::string caption);

private:
    std::string caption_;
};

class PictureBox : public Control {
public:
    PictureBox(Form* form, Control* container, std::string name)
        : Control(form, container, ControlKind::PictureBox, std::move(name)) {}
};

class CommandButton : public Control {
public:
    CommandButton(Form* form, Control* container, std::string name)
        : Control(form, container, ControlKind::CommandButton, std::move(name)) {}
    const std::string& Caption() const { return caption_; }
    void SetCaption(std::string caption);
    bool Default() const { return default_; }
    void SetDefault(bool value) { default_ = value; }
    bool Cancel() const { return cancel_; }
    void SetCancel(bool value) { cancel_ = value; }
    // A user's click: raises Click when the button is enabled and visible.
    void Press();
    Event<> Click;

private:
    std::string caption_;
    bool default_ = false;
    bool cancel_ = false;
};

class TextBox : public Control {
public:
    TextBox(Form* form, Control* container, std::string name)
        : Control(form, container, ControlKind::TextBox, std::move(name)) {}
    const std::string& Text() const { return text_; }
    // From code: not limited by MaxLength (as in VB). Raises Change when it differs.
    void SetText(std::string text);
    // As the user types: cut to MaxLength, then as SetText.
    void TypeText(std::string text);
    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int value);
    bool MultiLine() const { return multiLine_; }
    void SetMultiLine(bool value) { multiLine_ = value; }
    bool Locked() const { return locked_; }
    void SetLocked(bool value) { locked_ = value; }
    long SelStart() const { return selStart_; }
    long SelLength() const { return selLength_; }
    void SetSelection(long start, long length);
    std::string SelText() const;
    Event<> Change;

private:
    std::string text_;
    int maxLength_ = 0;  // 0: no limit
    bool multiLine_ = false;
    bool locked_ = false;
    long selStart_ = 0, selLength_ = 0;
};

class CheckBox : public Control {
public:
    CheckBox(Form* form, Control* container, std::string name)
        : Control(form, container, ControlKind::CheckBox, std::move(name)) {}
    const std::string& Caption() const { return caption_; }
    void SetCaption(std::string caption);
    int Value() const { return value_; }  // 0 unchecked, 1 checked, 2 grayed
    // Raises Click when the value changes (from code too, as in VB).
    void SetValue(int value);
    void Press();  // a user's click: toggles 0/1
    Event<> Click;

private:
    std::string caption_;
    int value_ = 0;
};

class OptionButton : public Control {
public:
    OptionButton(Form* form, Control* container, std::string name)
        : Control(form, container, ControlKind::OptionButton, std::move(name)) {}
    const std::string& Caption() const { return caption_; }
    void SetCaption(std::string caption);
    bool Value() const { return value_; }
    // True clears the other option buttons of the same container (and tab page)
    // and raises Click, even when it was already chosen (VB raises it then too).
    void SetValue(bool value);
    void Press();  // a user's click: SetValue(true)
    Event<> Click;

private:
    std::string caption_;
    bool value_ = false;
};

// Shared item store of ListBox and ComboBox.
class ListControl : public Control {
public:
    using Control::Control;
    // Adds at the sorted position when Sorted, else at `index` (-1 appends);
    // NewIndex reports where. Error 5 for an index outside 0..ListCount.
    void AddItem(const std::string& text, int index = -1);
    void RemoveItem(int index);
    void Clear();
    int ListCount() const { return static_cast<int>(items_.size()); }
    const std::string& List(int index) const;  // error 381 outside
    void SetList(int index, std::string text);
    long ItemData(int index) const;
    void SetItemData(int index, long data);
    int NewIndex() const { return newIndex_; }
    int ListIndex() const { return listIndex_; }
    // From code: -1 clears; raises Click. Error 380 outside -1..ListCount-1.
    // A combo box also shows the entry's text in its edit portion.
    void SetListIndex(int index);
    bool Sorted() const { return sorted_; }
    void SetSorted(bool value) { sorted_ = value; }
    Event<> Click;
    Event<> DblClick;

protected:
    struct Item {
        std::string text;
        long data = 0;
        bool selected = false;
    };
    std::vector<Item> items_;
    int newIndex_ = -1;
    int listIndex_ = -1;
    bool sorted_ = false;
    void CheckIndex(int index) const;
    // Moves ListIndex without raising Click; notices ListIndex when it changed.
    void MoveListIndex(int index);
    // What a kind of list does once ListIndex has been set (from code or a choice).
    virtual void AfterListIndexSet() {}
};

// A single-select list (MultiSelect 0) keeps its one selection in ListIndex and
// notices only Prop::ListIndex; a multi-select list keeps a flag per entry
// (Prop::Selected) and ListIndex is the entry clicked last. Setting ListIndex
// of a multi-select list from code also selects that entry.
class ListBox : public ListControl {
public:
    ListBox(Form* form, Control* container, std::string name)
        : ListControl(form, container, ControlKind::ListBox, std::move(name)) {}
    int MultiSelect() const { return multiSelect_; }  // 0 none, 1 simple, 2 extended
    void SetMultiSelect(int value) { multiSelect_ = value; }
    bool Selected(int index) const;
    // Raises Click when the state changes, as VB's list box does from code too.
    // In a single-select list, selecting an entry makes it the ListIndex.
    void SetSelected(int index, bool value);
    int SelCount() const;
    // A user's click on an entry: toggles it (simple multi-select) or selects it;
    // raises Click. A double click selects as a click does, never deselecting an
    // entry, then raises DblClick. User actions take the focus first on a shown
    // form and do nothing on a disabled or hidden list.
    void ClickItem(int index);
    void DoubleClickItem(int index);

protected:
    void AfterListIndexSet() override;

private:
    int multiSelect_ = 0;
};

class ComboBox : public ListControl {
public:
    ComboBox(Form* form, Control* container, std::string name)
        : ListControl(form, container, ControlKind::ComboBox, std::move(name)) {}
    int Style() const { return style_; }  // 0 drop-down combo, 2 drop-down list
    void SetStyle(int value) { style_ = value; }
    // The edit portion: the selected entry's text, or what the user typed.
    const std::string& Text() const { return text_; }
    void SetText(std::string text);
    long SelStart() const { return selStart_; }
    long SelLength() const { return selLength_; }
    void SetSelection(long start, long length);
    // A user's choice from the drop-down.
    void ChooseItem(int index);
    // A user's typing in the edit portion: KeyDown, then the text; the selection is lost.
    void TypeText(std::string text, int keyCode = 0);
    Event<> Change;

protected:
    void AfterListIndexSet() override;

private:
    friend class ListControl;
    void SetTextSilently(std::string text);
    void SetSelectionSilently(long start, long length);
    int style_ = 0;
    std::string text_;
    long selStart_ = 0, selLength_ = 0;
};

// VB's tab control (SSTab): captions, the current tab, Click(previousTab).
class TabStrip : public Control {
public:
    TabStrip(Form* form, Control* container, std::string name)
        : Control(form, container, ControlKind::TabStrip, std::move(name)) {}
    void SetTabs(std::vector<std::string> captions);
    int Tabs() const { return static_cast<int>(captions_.size()); }
    const std::string& TabCaption(int index) const;
    int Tab() const { return tab_; }
    // Raises Click(previous) when the current tab actually changes. Error 380 outside.
    void SetTab(int index);
    Event<int /*previousTab*/> Click;

private:
    std::vector<std::string> captions_;
    int tab_ = 0;
};

}  // namespace forms
