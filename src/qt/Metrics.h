#pragma once
// Twips to pixels and the fonts of the dialogs. Forms are designed in twips for
// VB's 8 pt "MS Sans Serif" at 96 dpi (15 twips a pixel); drawn in a wider font,
// every twip grows in proportion, as dialog units grow with the font on Windows.
#include <QFont>
#include <QRect>

namespace pvqt {

class TwipsScale {
public:
    explicit TwipsScale(double logicalDpi = 96.0) : pxPerTwip_(logicalDpi / 1440.0) {}
    // The scale of the primary screen (96 dpi when there is none).
    static TwipsScale ForScreen();
    // The screen's scale, widened so text in `font` takes the room the designs
    // gave to text in VB's font.
    static TwipsScale ForFont(const QFont& font);
    int Px(long twips) const;
    long Twips(int px) const;
    QRect Rect(long left, long top, long width, long height) const;

private:
    double pxPerTwip_;
};

// The font of every dialog widget: the application's, as in the main window.
QFont DialogFont();
// Source code in a dialog, in the code window's fixed-pitch font.
QFont CodeFont();

}  // namespace pvqt
