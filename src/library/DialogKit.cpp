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

void RemoveAllEntry(forms::ComboBox& combo) {
    for (int i = 0; i < combo.ListCount(); ++i) {
        if (combo.ItemData(i) != 0 || combo.List(i) != "(All)") continue;
        combo.RemoveItem(i);
        return;
    }
}

bool NothingChosen(const forms::ComboBox& combo) {
    return combo.ListCount() > 0 && combo.ListIndex() < 0;
}

}  // namespace pv
