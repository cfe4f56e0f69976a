#pragma once
// Twips to pixels and the dialog font. Forms are designed in twips for VB's
// 8 pt "MS Sans Serif" at 96 dpi (15 twips a pixel); the font here is chosen so
// captions designed for that font fit the same boxes.
#include <QFont>
#include <QRect>

namespace pvqt {

class TwipsScale {
public:
    explicit TwipsScale(double logicalDpi = 96.0) : pxPerTwip_(logicalDpi / 1440.0) {}
    // The scale of the primary screen (96 dpi when there is none).
    static TwipsScale ForScreen();
    int Px(long twips) const;
    long Twips(int px) const;
    QRect Rect(long left, long top, long width, long height) const;

private:
    double pxPerTwip_;
};

// The font of every dialog widget, sized for the screen's logical dpi.
QFont DialogFont();

}  // namespace pvqt
