#pragma once
// The widget boundary for text: the model keeps Windows-1252 bytes with CR LF
// between lines, widgets show Unicode with "\n". Every character of the code
// page is one UTF-16 unit, so offsets only shift by the CR of each CR LF.
#include <QString>
#include <string>
#include <string_view>

namespace pvqt {

QString ToQt(std::string_view cp1252);
std::string FromQt(const QString& text);
// Multi-line model text (CR LF) to widget text ("\n") and back.
QString ToQtLines(std::string_view cp1252);
std::string FromQtLines(const QString& text);
// Offsets within the same text on either side of the boundary.
int WidgetOffset(std::string_view modelText, long modelOffset);
long ModelOffset(const QString& widgetText, int widgetOffset);

}  // namespace pvqt
