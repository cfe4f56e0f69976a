#pragma once
// Per-kind halves of the form binder: the widget each control kind becomes,
// the user signals wired to the model's entry points, and the model-to-widget
// update. Updates compare before they set, so a widget is only touched when it
// differs from the model (keeps the caret where the user left it).
#include <QListWidget>
#include <functional>

#include "forms/Controls.h"

class QWidget;
class QKeyEvent;

namespace pvqt {

class FormDialog;

// Creates the widget for `control` under `parent` and connects its user signals.
QWidget* CreateControlWidget(FormDialog& dialog, forms::Control& control, QWidget* parent);
// Brings the widget in line with the model; `what` narrows the work, kFull does all.
inline constexpr forms::Prop kFull = forms::Prop::Loaded;
void SyncControlWidget(FormDialog& dialog, forms::Control& control, QWidget* widget, forms::Prop what);

// Lists and drop-downs, tab strips (ListWidgets.cpp).
QWidget* CreateListBox(FormDialog& dialog, forms::ListBox& list, QWidget* parent);
QWidget* CreateComboBox(FormDialog& dialog, forms::ComboBox& combo, QWidget* parent);
QWidget* CreateTabStrip(FormDialog& dialog, forms::TabStrip& tabs, QWidget* parent);
void SyncListBox(forms::ListBox& list, QWidget* widget, forms::Prop what);
void SyncComboBox(forms::ComboBox& combo, QWidget* widget, forms::Prop what);
void SyncTabStrip(forms::TabStrip& tabs, QWidget* widget);

// VB's KeyDown code and shift mask for a key event (0 when VB has none).
int VbKeyCode(const QKeyEvent& event);
int VbShift(const QKeyEvent& event);

// A list widget whose clicks and keys go to the model, which decides the
// selection; the widget then shows what the model holds.
class ModelListWidget : public QListWidget {
public:
    using QListWidget::QListWidget;
    std::function<void(int)> onClick;
    std::function<void(int)> onDoubleClick;
    bool multiSelect = false;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace pvqt
