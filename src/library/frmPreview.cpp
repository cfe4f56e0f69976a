#include "library/frmPreview.h"

#include <memory>

#include "dao/Recordset.h"
#include "forms/ErrorReport.h"
#include "library/DialogKit.h"
#include "library/basConnect.h"

namespace pv {
namespace {

constexpr long kMinWidth = 5000;
constexpr long kMinHeight = 3000;

// The change of one outer dimension, the window snapping to its minimum.
long Change(long newSize, long minimum, long& remembered) {
    const long target = newSize <= minimum ? minimum : newSize;
    const long change = target - remembered;
    remembered = target;
    return change;
}

}  // namespace

std::string PreviewStatement(const std::vector<long>& arrSelected) {
    std::string keys;
    for (const long key : arrSelected) keys += std::to_string(key) + ", ";
    keys.resize(keys.size() >= 2 ? keys.size() - 2 : 0);
    return "SELECT * FROM ProcedureLine WHERE ProcedureHeaderID IN (" + keys + ") ORDER BY ProcedureLineID";
}

frmPreview::frmPreview(Env env)
    : forms::Form("frmPreview"),
      txtPreview(Add<forms::TextBox>("txtPreview")),
      cmdClose(Add<forms::CommandButton>("cmdClose")),
      env_(env) {
    SetCaption("Preview");
    SetBorderStyle(2);
    // Designed by its client area; the frame comes on top.
    Move(0, 0, 6885 + (Width() - ScaleWidth()), 5100 + (Height() - ScaleHeight()));
    Place(txtPreview, 90, 120, 6705, 4335, 0);
    txtPreview.SetMultiLine(true);
    txtPreview.SetLocked(true);
    txtPreview.SetShowsCode(true);
    Place(cmdClose, 5580, 4605, 1215, 375, 1);
    cmdClose.SetCaption("&Close");
    cmdClose.SetCancel(true);
    Load = [this] { Form_Load(); };
    Resize = [this] { Form_Resize(); };
    cmdClose.Click = [this] { cmdClose_Click(); };
}

void frmPreview::Preview(const std::vector<long>& arrSelected) {
    PointerReset reset(env_);
    const bool read = forms::Trap(env_.ui, "Preview()", [&] {
        env_.ui.SetMousePointer(forms::vbHourglass);
        txtPreview.SetText("");
        txtPreview.SetText(ReadLines(arrSelected));
        // The window is read with the normal pointer.
        env_.ui.SetMousePointer(forms::vbDefault);
    });
    if (read) env_.ui.ShowModal(*this);
}

// Only an empty very first line of the whole result is left out.
std::string frmPreview::ReadLines(const std::vector<long>& arrSelected) {
    std::unique_ptr<dao::Database> db;
    if (arrSelected.empty() || !OpenProcvaultDB(env_, db)) return "";
    auto rs = db->OpenRecordset(PreviewStatement(arrSelected), dao::dbOpenSnapshot);
    const dao::Field line = rs->Fields("Line");
    std::string text;
    for (bool first = true; !rs->Eof(); first = false, rs->MoveNext()) {
        const std::string value = line.Value().ToText();
        if (first && value.empty()) continue;
        text += value;
        text += "\r\n";
    }
    db->Close();
    return text;
}

void frmPreview::Form_Load() {
    forms::Trap(env_.ui, "Form_Load()", [&] {
        rememberedWidth_ = Width();
        rememberedHeight_ = Height();
    });
}

// Width() and Height() are the outer size, which is what ResizeByUser receives.
void frmPreview::Form_Resize() {
    forms::Trap(env_.ui, "Form_Resize()", [&] {
        const long dx = Change(Width(), kMinWidth, rememberedWidth_);
        const long dy = Change(Height(), kMinHeight, rememberedHeight_);
        if (Width() != rememberedWidth_ || Height() != rememberedHeight_)
            Move(Left(), Top(), rememberedWidth_, rememberedHeight_);
        txtPreview.Move(txtPreview.Left(), txtPreview.Top(), txtPreview.Width() + dx,
                        txtPreview.Height() + dy);
        cmdClose.Move(cmdClose.Left() + dx, cmdClose.Top() + dy, cmdClose.Width(), cmdClose.Height());
    });
}

void frmPreview::cmdClose_Click() {
    forms::Trap(env_.ui, "cmdClose_Click()", [&] { Unload(); });
}

}  // namespace pv
