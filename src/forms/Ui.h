#pragma once
// The rest of the windowing toolkit an add-in uses: message boxes, the beep,
// the mouse pointer, keystrokes, modal forms, the file-open dialog and the date.
// Implementations: Qt (real dialogs), console (the CLI) and scripted (tests).
#include <string>

namespace forms {

class Form;

// MsgBox buttons and icons, with VB's values.
enum MsgBoxStyle : int {
    vbOKOnly = 0,
    vbOKCancel = 1,
    vbAbortRetryIgnore = 2,
    vbYesNoCancel = 3,
    vbYesNo = 4,
    vbRetryCancel = 5,
    vbCritical = 16,
    vbQuestion = 32,
    vbExclamation = 48,
    vbInformation = 64,
    vbDefaultButton2 = 256,
};
enum MsgBoxResult : int {
    vbOK = 1,
    vbCancel = 2,
    vbAbort = 3,
    vbRetry = 4,
    vbIgnore = 5,
    vbYes = 6,
    vbNo = 7
};
inline constexpr int kButtonsMask = 0x0F;
inline constexpr int kIconMask = 0x70;

enum MousePointer : int { vbDefault = 0, vbHourglass = 11 };

struct CalendarDate {
    int year = 2000, month = 1, day = 1;
};

struct OpenFileRequest {
    std::string title;
    std::string filter;  // "Description (*.ext)|*.ext", pairs joined by "|"
    std::string initialFolder;
};

class Ui {
public:
    virtual ~Ui() = default;
    // Returns the button chosen (MsgBoxResult).
    virtual int MsgBox(const std::string& prompt, int buttons, const std::string& title) = 0;
    virtual void Beep() = 0;
    virtual void SetMousePointer(int pointer) = 0;
    virtual int GetMousePointer() const = 0;
    // "{Home}+{End}" selects the whole text of the focused text control.
    virtual void SendKeys(const std::string& keys) = 0;
    // Shows `form` modally; returns once it is unloaded.
    virtual void ShowModal(Form& form) = 0;
    // The chosen path, or "" when the user cancelled.
    virtual std::string ShowOpenFileDialog(const OpenFileRequest& request) = 0;
    virtual CalendarDate Today() const = 0;
    // The month's short name as the user's locale gives it (1-12).
    virtual std::string MonthShortName(int month) const = 0;
};

// VB's Format(Date, "dd-mmm-yyyy").
std::string FormatDdMmmYyyy(const Ui& ui);

// Selects the whole text of the focused TextBox or ComboBox of `form`, as the
// keystrokes "{Home}+{End}" do; other keys are ignored. Shared by Ui implementations.
void ApplySelectAllKeys(Form* form, const std::string& keys);

}  // namespace forms
