#include "qt/QtUi.h"

#include <QApplication>
#include <QDate>
#include <QFileDialog>
#include <QIcon>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <algorithm>

#include "forms/Form.h"
#include "qt/FormDialog.h"
#include "qt/MsgBoxMapping.h"
#include "qt/QtText.h"

namespace pvqt {

QtUi::~QtUi() {
    if (pointer_ == forms::vbHourglass) QApplication::restoreOverrideCursor();
}

QWidget* QtUi::DialogParent() const {
    if (!dialogs_.empty()) return dialogs_.back();
    if (QWidget* modal = QApplication::activeModalWidget()) return modal;
    return parent_.data();
}

int QtUi::MsgBox(const std::string& prompt, int buttons, const std::string& title) {
    QMessageBox box(MsgBoxIcon(buttons), ToQt(title), ToQtLines(prompt), QMessageBox::NoButton,
                    DialogParent());
    // Some styles put icons on standard buttons; VB's message boxes have none.
    for (const auto button : MsgBoxButtons(buttons)) box.addButton(button)->setIcon(QIcon());
    box.setDefaultButton(MsgBoxDefault(buttons));
    box.exec();
    if (QAbstractButton* clicked = box.clickedButton()) return MsgBoxAnswer(box.standardButton(clicked));
    // Closed without a button: Cancel where there is one, else No, else the first.
    const auto offered = MsgBoxButtons(buttons);
    for (const auto fallback : {QMessageBox::Cancel, QMessageBox::No})
        if (std::find(offered.begin(), offered.end(), fallback) != offered.end())
            return MsgBoxAnswer(fallback);
    return MsgBoxAnswer(offered.front());
}

void QtUi::Beep() {
    QApplication::beep();
}

void QtUi::SetMousePointer(int pointer) {
    // Kept balanced: one override while the hourglass is up, however often it is set.
    const bool wasBusy = pointer_ == forms::vbHourglass;
    const bool busy = pointer == forms::vbHourglass;
    if (busy && !wasBusy) QApplication::setOverrideCursor(Qt::WaitCursor);
    if (!busy && wasBusy) QApplication::restoreOverrideCursor();
    pointer_ = pointer;
}

void QtUi::SendKeys(const std::string& keys) {
    forms::ApplySelectAllKeys(dialogs_.empty() ? nullptr : &dialogs_.back()->Form(), keys);
}

void QtUi::ShowModal(forms::Form& form) {
    FormDialog dialog(form, DialogParent());
    dialogs_.push_back(&dialog);
    struct Done {
        QtUi& ui;
        forms::Form& form;
        ~Done() {
            ui.dialogs_.pop_back();
            form.EndShow();
        }
    } done{*this, form};
    form.BeginShow();
    if (form.IsLoaded()) dialog.exec();
}

std::string QtUi::ShowOpenFileDialog(const forms::OpenFileRequest& request) {
    const QString file = QFileDialog::getOpenFileName(
        DialogParent(), ToQt(request.title), ToQt(request.initialFolder), QtFileFilter(request.filter));
    return FromQt(file);
}

forms::CalendarDate QtUi::Today() const {
    const QDate today = QDate::currentDate();
    return {today.year(), today.month(), today.day()};
}

std::string QtUi::MonthShortName(int month) const {
    return FromQt(QLocale::system().monthName(month, QLocale::ShortFormat));
}

}  // namespace pvqt
