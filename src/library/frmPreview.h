#pragma once
// The preview window: the stored lines of the chosen library procedures, in
// the order they were stored, read only; it changes nothing. Sizable down to an
// outer size of 5000 x 3000 twips, the text box following the window and the
// button held at the bottom right.
#include <string>
#include <vector>

#include "forms/Form.h"
#include "settings/Env.h"

namespace pv {

// The statement that reads the lines of the procedures keyed `arrSelected`.
std::string PreviewStatement(const std::vector<long>& arrSelected);

class frmPreview : public forms::Form {
public:
    explicit frmPreview(Env env);

    // Fills the window with the lines of the procedures keyed `arrSelected`
    // (at least one) and shows it modally; empty when the library cannot be opened.
    void Preview(const std::vector<long>& arrSelected);
    void Form_Load();
    void Form_Resize();
    void cmdClose_Click();

    forms::TextBox& txtPreview;
    forms::CommandButton& cmdClose;

private:
    std::string ReadLines(const std::vector<long>& arrSelected);

    Env env_;
    // Outer size, as the window's user and the resize event see it.
    long rememberedWidth_ = 0;
    long rememberedHeight_ = 0;
};

}  // namespace pv
