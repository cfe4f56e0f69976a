#pragma once
// The preview window: the stored lines of the chosen library procedures, in
// the order they were stored, read only. Sizable down to 5000 x 3000 twips,
// the text box following the window and the button held at the bottom right.
#include <vector>

#include "forms/Form.h"
#include "settings/Env.h"

namespace pv {

class frmPreview : public forms::Form {
public:
    explicit frmPreview(Env env);

    // Fills the window with the lines of the procedures keyed `arrSelected`
    // (at least one) and shows it modally.
    void Preview(const std::vector<long>& arrSelected);
    void Form_Load();
    void Form_Resize();
    void cmdClose_Click();

    forms::TextBox& txtPreview;
    forms::CommandButton& cmdClose;

private:
    std::string ReadLines(const std::vector<long>& arrSelected);

    Env env_;
    long rememberedWidth_ = 0;
    long rememberedHeight_ = 0;
};

}  // namespace pv
