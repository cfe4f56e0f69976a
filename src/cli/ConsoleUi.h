#pragma once
// The Ui of the command line: message boxes go to stderr, questions are
// answered by --yes / --no or, on a terminal, by a prompt (No otherwise); a
// form shown modally is played by the script the running command registered,
// as a scripted user. It counts the failures and warnings it showed, so a
// command can tell whether it did its work.
#include <cstdio>
#include <functional>
#include <map>
#include <optional>
#include <string>

#include "forms/Ui.h"

namespace pvcli {

class ConsoleUi final : public forms::Ui {
public:
    explicit ConsoleUi(std::FILE* err = stderr, std::FILE* in = stdin) : err_(err), in_(in) {}

    int MsgBox(const std::string& prompt, int buttons, const std::string& title) override;
    void Beep() override {}
    void SetMousePointer(int pointer) override { pointer_ = pointer; }
    int GetMousePointer() const override { return pointer_; }
    void SendKeys(const std::string& keys) override;
    void ShowModal(forms::Form& form) override;
    std::string ShowOpenFileDialog(const forms::OpenFileRequest& request) override;
    forms::CalendarDate Today() const override;
    std::string MonthShortName(int month) const override;

    // Answer to every Yes/No question; unset: prompt on a terminal, else No.
    void SetAnswer(std::optional<bool> yes) { answer_ = yes; }
    void OnShow(const std::string& formName, std::function<void(forms::Form&)> script) {
        scripts_[formName] = std::move(script);
    }
    // Critical or exclamation messages shown so far: a command that showed one did not do its work.
    int Problems() const { return problems_; }
    int Messages() const { return messages_; }

private:
    int Ask(const std::string& prompt, int buttons);

    std::FILE* err_;
    std::FILE* in_;
    std::optional<bool> answer_;
    std::map<std::string, std::function<void(forms::Form&)>> scripts_;
    forms::Form* top_ = nullptr;
    int pointer_ = forms::vbDefault;
    int problems_ = 0;
    int messages_ = 0;
};

}  // namespace pvcli
