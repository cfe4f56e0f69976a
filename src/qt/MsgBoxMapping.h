#pragma once
// How VB's MsgBox styles and answers map onto QMessageBox, and the file-dialog
// filter conversion: kept apart from the widgets so the tables are tested alone.
#include <QMessageBox>
#include <QString>
#include <string>
#include <vector>

namespace pvqt {

// The buttons of a VB button style (the low nibble), in VB's order.
std::vector<QMessageBox::StandardButton> MsgBoxButtons(int style);
QMessageBox::Icon MsgBoxIcon(int style);
// The VB answer (vbOK...vbNo) for a button; vbCancel for anything unknown.
int MsgBoxAnswer(QMessageBox::StandardButton button);
// The button the style makes the default (vbDefaultButton2/3), or the first.
QMessageBox::StandardButton MsgBoxDefault(int style);

// "Text (*.txt)|*.txt|All (*.*)|*.*" to Qt's "Text (*.txt);;All (*.*)". A
// description without a pattern in brackets gets the pattern appended.
QString QtFileFilter(const std::string& vbFilter);

}  // namespace pvqt
