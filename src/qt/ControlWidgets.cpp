#include "qt/ControlWidgets.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>

#include "qt/FormDialog.h"
#include "qt/QtText.h"

namespace pvqt {
namespace {

using forms::ControlKind;
using forms::Prop;

void SetTextIfDiffers(QLabel* w, const QString& t) {
    if (w->text() != t) w->setText(t);
}
template <class W>
void SetCaptionIfDiffers(W* w, const QString& t) {
    if (w->text() != t) w->setText(t);
}

// The user's caret and selection, reported to the model (which clamps it).
// Only while the widget has the focus: Qt drops a line edit's selection when it
// loses the focus, where VB's text box keeps its SelStart and SelLength.
void ReportLineSelection(forms::TextBox& box, QLineEdit* edit) {
    if (!edit->hasFocus() || FromQt(edit->text()) != box.Text()) return;  // the text itself comes first
    const bool has = edit->hasSelectedText();
    box.SetSelection(has ? edit->selectionStart() : edit->cursorPosition(),
                     has ? static_cast<long>(edit->selectedText().size()) : 0);
}

void ReportPlainSelection(forms::TextBox& box, QPlainTextEdit* edit) {
    const QString text = edit->toPlainText();
    if (!edit->hasFocus() || FromQtLines(text) != box.Text()) return;
    const QTextCursor c = edit->textCursor();
    const long start = ModelOffset(text, c.selectionStart());
    box.SetSelection(start, ModelOffset(text, c.selectionEnd()) - start);
}

QWidget* CreateTextBox(FormDialog& dialog, forms::TextBox& box, QWidget* parent) {
    if (box.MultiLine()) {
        auto* edit = new QPlainTextEdit(parent);
        QObject::connect(edit, &QPlainTextEdit::textChanged, edit, [&dialog, &box, edit] {
            if (dialog.UpdatingFromModel()) return;
            dialog.UserAction([&] {
                box.TypeText(FromQtLines(edit->toPlainText()));
                ReportPlainSelection(box, edit);
            });
            dialog.SyncControl(box, Prop::Text);
        });
        QObject::connect(edit, &QPlainTextEdit::cursorPositionChanged, edit, [&dialog, &box, edit] {
            if (!dialog.UpdatingFromModel()) dialog.UserAction([&] { ReportPlainSelection(box, edit); });
        });
        return edit;
    }
    auto* edit = new QLineEdit(parent);
    QObject::connect(edit, &QLineEdit::textEdited, edit, [&dialog, &box, edit](const QString& text) {
        dialog.UserAction([&] {
            box.TypeText(FromQt(text));
            ReportLineSelection(box, edit);
        });
        dialog.SyncControl(box, Prop::Text);
    });
    QObject::connect(edit, &QLineEdit::selectionChanged, edit, [&dialog, &box, edit] {
        if (!dialog.UpdatingFromModel()) dialog.UserAction([&] { ReportLineSelection(box, edit); });
    });
    QObject::connect(edit, &QLineEdit::cursorPositionChanged, edit, [&dialog, &box, edit] {
        if (!dialog.UpdatingFromModel()) dialog.UserAction([&] { ReportLineSelection(box, edit); });
    });
    return edit;
}

void SyncLineEdit(forms::TextBox& box, QLineEdit* edit, Prop what) {
    const QString text = ToQt(box.Text());
    // Text set from code may exceed MaxLength (as in VB); the widget must not cut it.
    const int limit = box.MaxLength() > 0 ? box.MaxLength() : 32767;
    edit->setMaxLength(std::max<int>(limit, static_cast<int>(text.size())));
    if (edit->text() != text) edit->setText(text);
    edit->setReadOnly(box.Locked());
    if (what != Prop::Selection && what != kFull) return;
    const int start = static_cast<int>(box.SelStart());
    const int length = static_cast<int>(box.SelLength());
    const bool has = edit->hasSelectedText();
    const int curStart = has ? edit->selectionStart() : edit->cursorPosition();
    const int curLength = has ? static_cast<int>(edit->selectedText().size()) : 0;
    if (curStart == start && curLength == length) return;
    if (length > 0)
        edit->setSelection(start, length);
    else
        edit->setCursorPosition(start);
}

void SyncPlainEdit(forms::TextBox& box, QPlainTextEdit* edit, Prop what) {
    const QString text = ToQtLines(box.Text());
    if (edit->toPlainText() != text) edit->setPlainText(text);
    edit->setReadOnly(box.Locked());
    if (what != Prop::Selection && what != kFull) return;
    const int start = WidgetOffset(box.Text(), box.SelStart());
    const int end = WidgetOffset(box.Text(), box.SelStart() + box.SelLength());
    QTextCursor c = edit->textCursor();
    if (c.selectionStart() == start && c.selectionEnd() == end) return;
    c.setPosition(start);
    c.setPosition(end, QTextCursor::KeepAnchor);
    edit->setTextCursor(c);
}

Qt::CheckState CheckStateOf(int value) {
    return value == 1 ? Qt::Checked : value == 2 ? Qt::PartiallyChecked : Qt::Unchecked;
}

QWidget* CreateButtonLike(FormDialog& dialog, forms::Control& control, QWidget* parent) {
    switch (control.Kind()) {
        case ControlKind::CommandButton: {
            auto& button = static_cast<forms::CommandButton&>(control);
            auto* w = new QPushButton(parent);
            QObject::connect(w, &QPushButton::clicked, w,
                             [&dialog, &button] { dialog.UserAction([&] { button.Press(); }); });
            return w;
        }
        case ControlKind::CheckBox: {
            auto& check = static_cast<forms::CheckBox&>(control);
            auto* w = new QCheckBox(parent);
            QObject::connect(w, &QCheckBox::clicked, w, [&dialog, &check] {
                dialog.UserAction([&] { check.Press(); });
                dialog.SyncControl(check, Prop::Value);
            });
            return w;
        }
        default: {
            auto& option = static_cast<forms::OptionButton&>(control);
            auto* w = new QRadioButton(parent);
            // The model keeps one option per container chosen; the widgets mirror it.
            w->setAutoExclusive(false);
            QObject::connect(w, &QRadioButton::clicked, w, [&dialog, &option] {
                dialog.UserAction([&] { option.Press(); });
                dialog.SyncControl(option, Prop::Value);
            });
            return w;
        }
    }
}

void SyncCaptioned(forms::Control& control, QWidget* widget) {
    switch (control.Kind()) {
        case ControlKind::Label:
            SetTextIfDiffers(static_cast<QLabel*>(widget),
                             ToQt(static_cast<forms::Label&>(control).Caption()));
            break;
        case ControlKind::Frame: {
            auto* box = static_cast<QGroupBox*>(widget);
            const QString t = ToQt(static_cast<forms::Frame&>(control).Caption());
            if (box->title() != t) box->setTitle(t);
            break;
        }
        case ControlKind::CommandButton: {
            auto& m = static_cast<forms::CommandButton&>(control);
            auto* w = static_cast<QPushButton*>(widget);
            SetCaptionIfDiffers(w, ToQt(m.Caption()));
            w->setDefault(m.Default());
            break;
        }
        case ControlKind::CheckBox: {
            auto& m = static_cast<forms::CheckBox&>(control);
            auto* w = static_cast<QCheckBox*>(widget);
            SetCaptionIfDiffers(w, ToQt(m.Caption()));
            if (w->checkState() != CheckStateOf(m.Value())) w->setCheckState(CheckStateOf(m.Value()));
            break;
        }
        case ControlKind::OptionButton: {
            auto& m = static_cast<forms::OptionButton&>(control);
            auto* w = static_cast<QRadioButton*>(widget);
            SetCaptionIfDiffers(w, ToQt(m.Caption()));
            if (w->isChecked() != m.Value()) w->setChecked(m.Value());
            break;
        }
        default:
            break;
    }
}

}  // namespace

QWidget* CreateControlWidget(FormDialog& dialog, forms::Control& control, QWidget* parent) {
    switch (control.Kind()) {
        case ControlKind::Label: {
            auto* w = new QLabel(parent);
            w->setWordWrap(true);
            // Centred in its box, so a label shares the text line of the box the design puts beside it.
            w->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
            return w;
        }
        case ControlKind::Frame:
            return new QGroupBox(parent);
        case ControlKind::PictureBox:
            // The pictures are decoration with no image here: an empty box would only look broken.
            return new QWidget(parent);
        case ControlKind::TextBox:
            return CreateTextBox(dialog, static_cast<forms::TextBox&>(control), parent);
        case ControlKind::CommandButton:
        case ControlKind::CheckBox:
        case ControlKind::OptionButton:
            return CreateButtonLike(dialog, control, parent);
        case ControlKind::ListBox:
            return CreateListBox(dialog, static_cast<forms::ListBox&>(control), parent);
        case ControlKind::ComboBox:
            return CreateComboBox(dialog, static_cast<forms::ComboBox&>(control), parent);
        case ControlKind::TabStrip:
            return CreateTabStrip(dialog, static_cast<forms::TabStrip&>(control), parent);
        case ControlKind::Form:
            break;
    }
    return new QWidget(parent);
}

void SyncControlWidget(FormDialog& dialog, forms::Control& control, QWidget* widget, Prop what) {
    const FormDialog::ModelUpdate guard(dialog);
    if (what == Prop::Enabled || what == kFull) widget->setEnabled(control.Enabled());
    if (what == Prop::Visible || what == kFull) widget->setHidden(!control.Visible());
    if (what == Prop::Geometry) return dialog.PlaceAll();
    if (what == Prop::Focus) return dialog.SyncFocus();
    if (what == Prop::Enabled || what == Prop::Visible) return;
    switch (control.Kind()) {
        case ControlKind::TextBox: {
            auto& box = static_cast<forms::TextBox&>(control);
            if (auto* line = qobject_cast<QLineEdit*>(widget))
                SyncLineEdit(box, line, what);
            else
                SyncPlainEdit(box, static_cast<QPlainTextEdit*>(widget), what);
            break;
        }
        case ControlKind::ListBox:
            SyncListBox(static_cast<forms::ListBox&>(control), widget, what);
            break;
        case ControlKind::ComboBox:
            SyncComboBox(static_cast<forms::ComboBox&>(control), widget, what);
            break;
        case ControlKind::TabStrip:
            SyncTabStrip(static_cast<forms::TabStrip&>(control), widget);
            break;
        default:
            SyncCaptioned(control, widget);
            break;
    }
}

int VbShift(const QKeyEvent& event) {
    const auto m = event.modifiers();
    return (m & Qt::ShiftModifier ? 1 : 0) | (m & Qt::ControlModifier ? 2 : 0) |
           (m & Qt::AltModifier ? 4 : 0);
}

int VbKeyCode(const QKeyEvent& event) {
    const int key = event.key();
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9)) return key;
    if (key >= Qt::Key_F1 && key <= Qt::Key_F12) return 112 + (key - Qt::Key_F1);
    switch (key) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return forms::vbKeyReturn;
        case Qt::Key_Escape:
            return forms::vbKeyEscape;
        case Qt::Key_Backspace:
            return 8;
        case Qt::Key_Tab:
            return 9;
        case Qt::Key_Space:
            return 32;
        case Qt::Key_PageUp:
            return 33;
        case Qt::Key_PageDown:
            return 34;
        case Qt::Key_End:
            return 35;
        case Qt::Key_Home:
            return 36;
        case Qt::Key_Left:
            return 37;
        case Qt::Key_Up:
            return 38;
        case Qt::Key_Right:
            return 39;
        case Qt::Key_Down:
            return 40;
        case Qt::Key_Insert:
            return 45;
        case Qt::Key_Delete:
            return 46;
        default:
            return 0;
    }
}

}  // namespace pvqt
