#include "qt/QtText.h"

#include <algorithm>

#include "vbrt/Text.h"

namespace pvqt {

QString ToQt(std::string_view cp1252) {
    return QString::fromStdString(vbrt::Cp1252ToUtf8(cp1252));
}

std::string FromQt(const QString& text) {
    return vbrt::Utf8ToCp1252(text.toStdString());
}

QString ToQtLines(std::string_view cp1252) {
    QString text = ToQt(cp1252);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

std::string FromQtLines(const QString& text) {
    QString crlf = text;
    crlf.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return FromQt(crlf);
}

int WidgetOffset(std::string_view modelText, long modelOffset) {
    const auto end =
        static_cast<std::size_t>(std::clamp<long>(modelOffset, 0, static_cast<long>(modelText.size())));
    long crs = 0;
    for (std::size_t i = 0; i < end; ++i)
        if (modelText[i] == '\r' && i + 1 < modelText.size() && modelText[i + 1] == '\n') ++crs;
    return static_cast<int>(static_cast<long>(end) - crs);
}

long ModelOffset(const QString& widgetText, int widgetOffset) {
    const int end = std::clamp(widgetOffset, 0, static_cast<int>(widgetText.size()));
    return end + widgetText.left(end).count(QLatin1Char('\n'));
}

}  // namespace pvqt
