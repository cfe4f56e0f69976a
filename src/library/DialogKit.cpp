#include "library/DialogKit.h"

#include "forms/Ui.h"

namespace pv {

void Place(forms::Control& control, long left, long top, long width, long height, int tabIndex) {
    control.Move(left, top, width, height);
    control.SetTabIndex(tabIndex);
}

void Tell(Env& env, const std::string& prompt, int icon) {
    env.ui.Beep();
    env.ui.MsgBox(prompt, forms::vbOKOnly | icon, kProcvaultTitle);
}

bool AskYesNo(Env& env, const std::string& prompt) {
    env.ui.Beep();
    return env.ui.MsgBox(prompt, forms::vbYesNo | forms::vbQuestion, kProcvaultTitle) == forms::vbYes;
}

PointerReset::~PointerReset() {
    env_.ui.SetMousePointer(forms::vbDefault);
}

void SelectAllItems(forms::ListBox& list, bool selected) {
    for (int i = 0; i < list.ListCount(); ++i) list.SetSelected(i, selected);
}

std::string SelectedIdList(const forms::ListBox& list, const std::string& separator) {
    std::string ids;
    for (int i = 0; i < list.ListCount(); ++i) {
        if (!list.Selected(i)) continue;
        if (!ids.empty()) ids += separator;
        ids += std::to_string(list.ItemData(i));
    }
    return ids;
}

bool NothingChosen(const forms::ComboBox& combo) {
    return combo.ListCount() > 0 && combo.ListIndex() < 0;
}

}  // namespace pv
