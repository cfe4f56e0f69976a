#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTabWidget>

#include "qt/ControlWidgets.h"
#include "qt/FormDialog.h"
#include "qt/QtText.h"

namespace pvqt {
namespace {

using forms::Prop;

QStringList ModelItems(const forms::ListControl& list) {
    QStringList items;
    items.reserve(list.ListCount());
    for (int i = 0; i < list.ListCount(); ++i) items << ToQt(list.List(i));
    return items;
}

// The widget's entries become the model's: what both share at the start and at
// the end stays, the run between is replaced in one go (a refill is one clear
// and one insertion, an AddItem one insertion).
template <class InsertAt, class TextAt, class Count, class RemoveRange>
void SyncItems(const forms::ListControl& list, InsertAt insertAt, TextAt textAt, Count count,
               RemoveRange removeRange) {
    const QStringList items = ModelItems(list);
    const int n = static_cast<int>(items.size());
    const int m = count();
    int head = 0;
    while (head < n && head < m && textAt(head) == items[head]) ++head;
    int tail = 0;
    while (tail < n - head && tail < m - head && textAt(m - 1 - tail) == items[n - 1 - tail]) ++tail;
    if (m - head - tail > 0) removeRange(head, m - head - tail);
    if (n - head - tail > 0) insertAt(head, items.mid(head, n - head - tail));
}

bool ShownSelected(const forms::ListBox& list, int index) {
    return list.MultiSelect() == 0 ? index == list.ListIndex() : list.Selected(index);
}

}  // namespace

void ModelListWidget::mousePressEvent(QMouseEvent* event) {
    setFocus(Qt::MouseFocusReason);
    const int row = indexAt(event->position().toPoint()).row();
    if (row >= 0 && event->button() == Qt::LeftButton && onClick) onClick(row);
    event->accept();
}

void ModelListWidget::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
}

void ModelListWidget::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
}

void ModelListWidget::mouseDoubleClickEvent(QMouseEvent* event) {
    const int row = indexAt(event->position().toPoint()).row();
    if (row >= 0 && event->button() == Qt::LeftButton && onDoubleClick) onDoubleClick(row);
    event->accept();
}

void ModelListWidget::keyPressEvent(QKeyEvent* event) {
    const int current = std::max(currentRow(), 0);
    int target = -1;
    switch (event->key()) {
        case Qt::Key_Up:
            target = current - 1;
            break;
        case Qt::Key_Down:
            target = currentRow() < 0 ? 0 : current + 1;
            break;
        case Qt::Key_Home:
            target = 0;
            break;
        case Qt::Key_End:
            target = count() - 1;
            break;
        case Qt::Key_Space:
            if (multiSelect && currentRow() >= 0 && onClick) onClick(currentRow());
            return event->accept();
        default:
            return event->ignore();  // Enter and Esc go on to the dialog
    }
    if (target < 0 || target >= count()) return event->accept();
    if (multiSelect)
        setCurrentRow(target, QItemSelectionModel::NoUpdate);
    else if (onClick)
        onClick(target);
    event->accept();
}

QWidget* CreateListBox(FormDialog& dialog, forms::ListBox& list, QWidget* parent) {
    auto* w = new ModelListWidget(parent);
    w->setUniformItemSizes(true);  // one line each, as a list box draws them: no per-entry layout
    w->multiSelect = list.MultiSelect() != 0;
    w->setSelectionMode(list.MultiSelect() == 1   ? QAbstractItemView::MultiSelection
                        : list.MultiSelect() == 2 ? QAbstractItemView::ExtendedSelection
                                                  : QAbstractItemView::SingleSelection);
    w->onClick = [&dialog, &list](int row) {
        dialog.UserAction([&] { list.ClickItem(row); });
        dialog.SyncControl(list, Prop::Selected);
    };
    w->onDoubleClick = [&dialog, &list](int row) { dialog.UserAction([&] { list.DoubleClickItem(row); }); };
    return w;
}

void SyncListBox(forms::ListBox& list, QWidget* widget, Prop what) {
    auto* w = static_cast<ModelListWidget*>(widget);
    if (what == Prop::List || what == kFull)
        SyncItems(
            list, [w](int i, const QStringList& t) { w->insertItems(i, t); },
            [w](int i) { return w->item(i)->text(); }, [w] { return w->count(); },
            [w](int first, int n) {
                if (n == w->count()) return w->clear();
                for (int i = first + n - 1; i >= first; --i) delete w->takeItem(i);
            });
    for (int i = 0; i < w->count(); ++i) {
        const bool selected = ShownSelected(list, i);
        if (w->item(i)->isSelected() != selected) w->item(i)->setSelected(selected);
    }
    const int index = list.ListIndex();
    if (w->currentRow() != index && index < w->count())
        w->setCurrentRow(index, QItemSelectionModel::NoUpdate);
    if (index >= 0 && index < w->count()) w->scrollToItem(w->item(index));
}

QWidget* CreateComboBox(FormDialog& dialog, forms::ComboBox& combo, QWidget* parent) {
    auto* w = new QComboBox(parent);
    w->setEditable(combo.Style() == 0);
    w->setInsertPolicy(QComboBox::NoInsert);
    w->setMaxVisibleItems(12);
    QObject::connect(w, &QComboBox::activated, w, [&dialog, &combo](int index) {
        dialog.UserAction([&] { combo.ChooseItem(index); });
        dialog.SyncControl(combo, Prop::ListIndex);
    });
    if (QLineEdit* edit = w->lineEdit()) {
        w->setCompleter(nullptr);
        QObject::connect(edit, &QLineEdit::textEdited, w, [&dialog, &combo, w](const QString& text) {
            const int key = w->property("pvLastKey").toInt();
            w->setProperty("pvLastKey", 0);
            dialog.UserAction([&] { combo.TypeText(FromQt(text), key); });
            dialog.SyncControl(combo, Prop::Text);
        });
    }
    return w;
}

void SyncComboBox(forms::ComboBox& combo, QWidget* widget, Prop what) {
    auto* w = static_cast<QComboBox*>(widget);
    if (what == Prop::List || what == kFull)
        SyncItems(
            combo, [w](int i, const QStringList& t) { w->insertItems(i, t); },
            [w](int i) { return w->itemText(i); }, [w] { return w->count(); },
            [w](int first, int n) {
                for (int i = first + n - 1; i >= first; --i) w->removeItem(i);
            });
    if (w->currentIndex() != combo.ListIndex()) w->setCurrentIndex(combo.ListIndex());
    QLineEdit* edit = w->lineEdit();
    if (!edit) return;
    const QString text = ToQt(combo.Text());
    if (edit->text() != text) edit->setText(text);
    // The model selects a chosen entry's text; as in Windows, only a box with the
    // focus shows that, so an opening dialog shows plain text.
    if (!w->hasFocus()) {
        if (edit->hasSelectedText()) edit->setCursorPosition(0);
        return;
    }
    if (what != Prop::Selection) return;
    if (combo.SelLength() > 0)
        edit->setSelection(static_cast<int>(combo.SelStart()), static_cast<int>(combo.SelLength()));
    else
        edit->setCursorPosition(static_cast<int>(combo.SelStart()));
}

QWidget* CreateTabStrip(FormDialog& dialog, forms::TabStrip& tabs, QWidget* parent) {
    auto* w = new QTabWidget(parent);
    for (int i = 0; i < tabs.Tabs(); ++i) w->addTab(new QWidget, ToQt(tabs.TabCaption(i)));
    QObject::connect(w, &QTabWidget::currentChanged, w, [&dialog, &tabs](int index) {
        if (dialog.UpdatingFromModel() || index < 0) return;
        dialog.UserAction([&] { tabs.SetTab(index); });
        dialog.SyncControl(tabs, Prop::Tab);
    });
    return w;
}

void SyncTabStrip(forms::TabStrip& tabs, QWidget* widget) {
    auto* w = static_cast<QTabWidget*>(widget);
    while (w->count() < tabs.Tabs()) w->addTab(new QWidget, QString());
    for (int i = 0; i < tabs.Tabs(); ++i) {
        const QString caption = ToQt(tabs.TabCaption(i));
        if (w->tabText(i) != caption) w->setTabText(i, caption);
    }
    if (w->currentIndex() != tabs.Tab() && tabs.Tab() < w->count()) w->setCurrentIndex(tabs.Tab());
}

}  // namespace pvqt
