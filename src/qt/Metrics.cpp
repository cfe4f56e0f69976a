#include "qt/Metrics.h"

#include <QGuiApplication>
#include <QScreen>
#include <cmath>

namespace pvqt {

TwipsScale TwipsScale::ForScreen() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return TwipsScale(screen ? screen->logicalDotsPerInchX() : 96.0);
}

int TwipsScale::Px(long twips) const {
    return static_cast<int>(std::lround(twips * pxPerTwip_));
}

long TwipsScale::Twips(int px) const {
    return std::lround(px / pxPerTwip_);
}

QRect TwipsScale::Rect(long left, long top, long width, long height) const {
    return {Px(left), Px(top), Px(width), Px(height)};
}

QFont DialogFont() {
    // DejaVu Sans Condensed at 11 px has the advance widths of VB's 8 pt
    // MS Sans Serif closely enough that designed captions are not clipped.
    QFont font(QStringLiteral("DejaVu Sans Condensed"));
    font.setStretch(QFont::SemiCondensed);
    font.setPixelSize(TwipsScale::ForScreen().Px(165));
    return font;
}

}  // namespace pvqt
