#include "qt/Metrics.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QScreen>
#include <algorithm>
#include <cmath>

namespace pvqt {
namespace {

// DejaVu Sans Condensed at 11 px has the advance widths of VB's 8 pt MS Sans
// Serif closely enough to stand for it when measuring how wide a font runs.
QFont DesignFont() {
    QFont font(QStringLiteral("DejaVu Sans Condensed"));
    font.setStretch(QFont::SemiCondensed);
    font.setPixelSize(TwipsScale::ForScreen().Px(165));
    return font;
}

// How much wider and taller than the design font text in `font` runs.
double Growth(const QFont& font) {
    static const QString sample =
        QStringLiteral("The quick brown fox jumps over the lazy dog ABCDEFGHIJKLMNOPQRSTUVWXYZ");
    const QFontMetricsF design(DesignFont());
    const QFontMetricsF actual(font);
    const double wider = actual.horizontalAdvance(sample) / design.horizontalAdvance(sample);
    const double taller = actual.height() / design.height();
    return std::max({1.0, wider, taller});
}

double ScreenDpi() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->logicalDotsPerInchX() : 96.0;
}

}  // namespace

TwipsScale TwipsScale::ForScreen() {
    return TwipsScale(ScreenDpi());
}

TwipsScale TwipsScale::ForFont(const QFont& font) {
    return TwipsScale(ScreenDpi() * Growth(font));
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
    return QApplication::font();
}

QFont CodeFont() {
    QFont font(QStringLiteral("DejaVu Sans Mono"));
    font.setStyleHint(QFont::Monospace);
    font.setPointSize(10);
    return font;
}

}  // namespace pvqt
