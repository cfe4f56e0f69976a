// The scripted user: a transcript of everything shown, queued answers, and a
// script per form that plays the user while the form is up.
#include "forms/ScriptedUi.h"

#include <array>

#include "forms/Form.h"
#include "vbrt/VbError.h"

namespace forms {

namespace {

constexpr std::string_view kShowPrefix = "show:";

// What a user accepting the default would answer: OK, else the first button.
int FirstButton(int buttons) {
    switch (buttons & kButtonsMask) {
        case vbAbortRetryIgnore:
            return vbAbort;
        case vbYesNoCancel:
        case vbYesNo:
            return vbYes;
        case vbRetryCancel:
            return vbRetry;
        default:
            return vbOK;
    }
}

// Pops the form off the modal stack however its script ends.
class ModalScope {
public:
    ModalScope(std::vector<Form*>& stack, Form& form) : stack_(stack) { stack_.push_back(&form); }
    ~ModalScope() { stack_.pop_back(); }
    ModalScope(const ModalScope&) = delete;
    ModalScope& operator=(const ModalScope&) = delete;

private:
    std::vector<Form*>& stack_;
};

}  // namespace

int ScriptedUi::MsgBox(const std::string& prompt, int buttons, const std::string& title) {
    int answer = FirstButton(buttons);
    if (!answers_.empty()) {
        answer = answers_.front();
        answers_.pop_front();
    }
    messages_.push_back(MsgBoxCall{prompt, buttons, title, answer});
    transcript_.push_back("msgbox:" + title + ":" + prompt);
    return answer;
}

void ScriptedUi::Beep() {
    ++beeps_;
    transcript_.emplace_back("beep");
}

void ScriptedUi::SetMousePointer(int pointer) {
    pointer_ = pointer;
    transcript_.push_back("pointer:" + std::to_string(pointer));
}

void ScriptedUi::SendKeys(const std::string& keys) {
    transcript_.push_back("keys:" + keys);
    ApplySelectAllKeys(modalStack_.empty() ? nullptr : modalStack_.back(), keys);
}

void ScriptedUi::ShowModal(Form& form) {
    transcript_.push_back(std::string(kShowPrefix) + form.Name());
    form.BeginShow();
    {
        ModalScope scope(modalStack_, form);
        const auto script = scripts_.find(form.Name());
        if (form.IsShown() && script != scripts_.end()) script->second(form);
        if (form.IsShown()) {
            transcript_.push_back("unload-left-open:" + form.Name());
            form.Unload();
        }
    }
    form.EndShow();
}

std::string ScriptedUi::ShowOpenFileDialog(const OpenFileRequest& request) {
    transcript_.push_back("file:" + request.title);
    if (files_.empty()) return "";
    std::string path = std::move(files_.front());
    files_.pop_front();
    return path;
}

std::string ScriptedUi::MonthShortName(int month) const {
    static constexpr std::array<const char*, 12> kNames = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                           "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    if (month < 1 || month > 12) vbrt::Raise(vbrt::err::InvalidCall);
    return kNames[static_cast<std::size_t>(month - 1)];
}

std::vector<std::string> ScriptedUi::ShownForms() const {
    std::vector<std::string> names;
    for (const auto& entry : transcript_)
        if (entry.starts_with(kShowPrefix)) names.push_back(entry.substr(kShowPrefix.size()));
    return names;
}

void ScriptedUi::ClearTranscript() {
    transcript_.clear();
    messages_.clear();
    beeps_ = 0;
}

}  // namespace forms
