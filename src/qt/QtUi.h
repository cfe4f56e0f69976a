#pragma once
// The Ui service with real Qt dialogs: QMessageBox for MsgBox, the system
// beep, the wait cursor, select-all keystrokes on the focused text control,
// forms shown modally through the generic binder, and QFileDialog.
#include <QPointer>
#include <QWidget>
#include <vector>

#include "forms/Ui.h"

namespace pvqt {

class FormDialog;

class QtUi final : public forms::Ui {
public:
    explicit QtUi(QWidget* parent = nullptr) : parent_(parent) {}
    ~QtUi() override;
    QtUi(const QtUi&) = delete;
    QtUi& operator=(const QtUi&) = delete;
    // The window that owns message boxes and dialogs when no form is up.
    void SetParentWidget(QWidget* parent) { parent_ = parent; }

    int MsgBox(const std::string& prompt, int buttons, const std::string& title) override;
    void Beep() override;
    void SetMousePointer(int pointer) override;
    int GetMousePointer() const override { return pointer_; }
    void SendKeys(const std::string& keys) override;
    void ShowModal(forms::Form& form) override;
    std::string ShowOpenFileDialog(const forms::OpenFileRequest& request) override;
    forms::CalendarDate Today() const override;
    std::string MonthShortName(int month) const override;

    // The dialog of the innermost form shown, or null.
    FormDialog* CurrentDialog() const { return dialogs_.empty() ? nullptr : dialogs_.back(); }

private:
    QWidget* DialogParent() const;

    QPointer<QWidget> parent_;
    int pointer_ = forms::vbDefault;
    std::vector<FormDialog*> dialogs_;
};

}  // namespace pvqt
