#pragma once
// The Ui for tests and scripted runs: records every message box, beep, pointer
// change and keystroke in a transcript; answers message boxes from a queue
// (OK, or the first button, when the queue is empty); and when a form is shown
// modally runs the script registered for its name, which plays the user (fills
// controls, presses buttons). A form its script leaves open is unloaded and
// recorded as "left open".
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "forms/Ui.h"

namespace forms {

struct MsgBoxCall {
    std::string prompt;
    int buttons = 0;
    std::string title;
    int answer = 0;
    int Icon() const { return buttons & kIconMask; }
};

class ScriptedUi : public Ui {
public:
    int MsgBox(const std::string& prompt, int buttons, const std::string& title) override;
    void Beep() override;
    void SetMousePointer(int pointer) override;
    int GetMousePointer() const override { return pointer_; }
    void SendKeys(const std::string& keys) override;
    void ShowModal(Form& form) override;
    std::string ShowOpenFileDialog(const OpenFileRequest& request) override;
    CalendarDate Today() const override { return today_; }
    std::string MonthShortName(int month) const override;

    // Set-up.
    void QueueAnswer(int answer) { answers_.push_back(answer); }
    void QueueFileChoice(std::string path) { files_.push_back(std::move(path)); }
    void OnShow(const std::string& formName, std::function<void(Form&)> script) {
        scripts_[formName] = std::move(script);
    }
    void SetToday(CalendarDate date) { today_ = date; }

    // What happened, in order: "beep", "msgbox:<title>:<prompt>", "pointer:<n>",
    // "keys:<keys>", "show:<form>", "unload-left-open:<form>", "file:<title>".
    const std::vector<std::string>& Transcript() const { return transcript_; }
    const std::vector<MsgBoxCall>& Messages() const { return messages_; }
    int Beeps() const { return beeps_; }
    std::vector<std::string> ShownForms() const;
    void ClearTranscript();

private:
    std::deque<int> answers_;
    std::deque<std::string> files_;
    std::map<std::string, std::function<void(Form&)>> scripts_;
    std::vector<std::string> transcript_;
    std::vector<MsgBoxCall> messages_;
    std::vector<Form*> modalStack_;
    int beeps_ = 0;
    int pointer_ = vbDefault;
    CalendarDate today_{2026, 12, 5};
};

}  // namespace forms
