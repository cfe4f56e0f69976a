// Helpers every Ui implementation shares.
#include "forms/Ui.h"

#include <cstdio>

#include "forms/Form.h"

namespace forms {

std::string FormatDdMmmYyyy(const Ui& ui) {
    const CalendarDate today = ui.Today();
    char day[8];
    char year[8];
    std::snprintf(day, sizeof day, "%02d", today.day % 100);
    std::snprintf(year, sizeof year, "%04d", today.year % 10000);
    return std::string(day) + "-" + ui.MonthShortName(today.month) + "-" + year;
}

void ApplySelectAllKeys(Form* form, const std::string& keys) {
    if (form == nullptr || keys != "{Home}+{End}") return;
    Control* active = form->ActiveControl();
    if (active == nullptr) return;
    if (active->Kind() == ControlKind::TextBox) {
        auto* box = static_cast<TextBox*>(active);
        box->SetSelection(0, static_cast<long>(box->Text().size()));
    } else if (active->Kind() == ControlKind::ComboBox) {
        auto* combo = static_cast<ComboBox*>(active);
        combo->SetSelection(0, static_cast<long>(combo->Text().size()));
    }
}

}  // namespace forms
