#pragma once
// Small pieces every library dialog repeats: placing a control as the designer
// does, the beep-and-message of a validation, select or deselect all entries,
// and dropping the "(All)" entry from a category box.
#include <string>

#include "forms/Controls.h"
#include "settings/Env.h"

namespace pv {

inline constexpr const char* kProcvaultTitle = "Procvault";
inline constexpr const char* kSelectAnItem = "You must select an item from the list.";
inline constexpr const char* kSelectItems = "You must select an item(s) from the list.";

// Geometry in twips, relative to the container, and the focus order.
void Place(forms::Control& control, long left, long top, long width, long height, int tabIndex = 0);

// Beep, then a message box titled "Procvault" with OK and `icon`.
void Tell(Env& env, const std::string& prompt, int icon);
// Beep, then a Yes/No question with the question icon; true for Yes.
bool AskYesNo(Env& env, const std::string& prompt);

// Puts the default mouse pointer back however the operation ends.
class PointerReset {
public:
    explicit PointerReset(Env& env) : env_(env) {}
    ~PointerReset();
    PointerReset(const PointerReset&) = delete;
    PointerReset& operator=(const PointerReset&) = delete;

private:
    Env& env_;
};

void SelectAllItems(forms::ListBox& list, bool selected);

// Removes the "(All)" entry (item data 0) RefreshCategoriesList put in, wherever
// it sorted: a description beginning with a blank sorts before it.
void RemoveAllEntry(forms::ComboBox& combo);

// True when the combo has entries but none is chosen (typed text matching none).
bool NothingChosen(const forms::ComboBox& combo);

}  // namespace pv
