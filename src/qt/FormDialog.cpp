#include "qt/FormDialog.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <algorithm>
#include <utility>

#include "qt/ControlWidgets.h"
#include "qt/QtText.h"
#include "vbrt/VbError.h"

namespace pvqt {

using forms::ControlKind;
using forms::Prop;

FormDialog::FormDialog(forms::Form& form, QWidget* parent)
    : QDialog(parent), form_(form), scale_(TwipsScale::ForFont(DialogFont())) {
    setFont(DialogFont());
    setObjectName(QString::fromStdString(form.Name()));
    setWindowTitle(ToQt(form.Caption()));
    setModal(true);
    Build();
    FitToForm();
}

FormDialog::~FormDialog() = default;

QWidget* FormDialog::WidgetFor(const forms::Control& control) const {
    const auto it = widgets_.find(&control);
    return it == widgets_.end() ? nullptr : it->second;
}

QWidget* FormDialog::WidgetFor(const std::string& controlName) const {
    const forms::Control* control = form_.FindControl(controlName);
    return control ? WidgetFor(*control) : nullptr;
}

void FormDialog::Build() {
    const ModelUpdate guard(*this);
    for (const auto& control : form_.Controls()) Create(*control);
    for (const auto& b : bound_) SyncControlWidget(*this, *b.control, b.widget, kFull);
    SetBuddies();
    UpdateOptionStops();
    const std::weak_ptr<int> alive = alive_;
    form_.OnChanged([this, alive](Prop what) {
        if (!alive.expired()) OnFormChanged(what);
    });
}

QWidget* FormDialog::Create(forms::Control& control) {
    if (QWidget* existing = WidgetFor(control)) return existing;
    forms::Control* container = control.Container();
    if (container && container != &form_) Create(*container);  // containers first, whatever the order
    QWidget* parent = container && container != &form_ ? ChildParent(*container, control.TabPage()) : this;
    QWidget* widget = CreateControlWidget(*this, control, parent);
    widget->setObjectName(QString::fromStdString(control.Name()));
    if (control.ShowsCode()) widget->setFont(CodeFont());
    widgets_[&control] = widget;
    bound_.push_back({&control, widget});
    WatchFocus(widget, control);
    if (auto* combo = qobject_cast<QComboBox*>(widget); combo && combo->lineEdit())
        WatchFocus(combo->lineEdit(), control);
    Subscribe(control);
    Place(bound_.back());
    return widget;
}

QWidget* FormDialog::ChildParent(forms::Control& container, int tabPage) const {
    QWidget* widget = WidgetFor(container);
    if (auto* tabs = qobject_cast<QTabWidget*>(widget)) {
        if (tabPage >= 0 && tabPage < tabs->count()) return tabs->widget(tabPage);
        return tabs;
    }
    return widget ? widget : const_cast<FormDialog*>(this);
}

void FormDialog::Subscribe(forms::Control& control) {
    const std::weak_ptr<int> alive = alive_;
    control.OnChanged([this, alive, &control](Prop what) {
        if (!alive.expired()) SyncControl(control, what);
    });
}

void FormDialog::SyncControl(forms::Control& control, Prop what) {
    QWidget* widget = WidgetFor(control);
    if (!widget) return;
    const bool pending =
        std::find(pendingLists_.begin(), pendingLists_.end(), &control) != pendingLists_.end();
    const bool isList = control.Kind() == ControlKind::ListBox || control.Kind() == ControlKind::ComboBox;
    // Inside a user action a refill adds thousands of entries; outside one the
    // widget follows each change, as code reading it right after expects.
    if (isList && what == Prop::List && actionDepth_ > 0) {
        if (pending) return;
        if (pendingLists_.empty()) QTimer::singleShot(0, this, [this] { FlushLists(); });
        pendingLists_.push_back(&control);
        return;
    }
    // Anything else about a list comes after its entries, as the model had it.
    if (pending) FlushLists();
    SyncControlWidget(*this, control, widget, what);
    if (control.Kind() == ControlKind::OptionButton) UpdateOptionStops();
}

void FormDialog::FlushLists() {
    const std::vector<forms::Control*> lists = std::exchange(pendingLists_, {});
    for (forms::Control* control : lists)
        if (QWidget* widget = WidgetFor(*control)) SyncControlWidget(*this, *control, widget, Prop::List);
}

void FormDialog::Place(const Bound& bound) {
    if (!bound.widget) return;
    const forms::Control& c = *bound.control;
    QRect rect = scale_.Rect(c.Left(), c.Top(), c.Width(), c.Height());
    // A tab strip's children are placed relative to the strip, as in the designer;
    // the page sits below the tab bar, so its offset is taken off.
    QWidget* parent = bound.widget->parentWidget();
    if (parent && c.Container() && qobject_cast<QTabWidget*>(WidgetFor(*c.Container())) &&
        parent != WidgetFor(*c.Container()))
        rect.translate(-parent->mapTo(WidgetFor(*c.Container()), QPoint(0, 0)));
    if (bound.widget->geometry() != rect) bound.widget->setGeometry(rect);
}

void FormDialog::PlaceAll() {
    // Containers come before their children in bound_, so offsets are current.
    for (const auto& b : bound_) Place(b);
}

void FormDialog::FitToForm() {
    const ModelUpdate guard(*this);
    const QSize size(scale_.Px(form_.ScaleWidth()), scale_.Px(form_.ScaleHeight()));
    if (form_.BorderStyle() == 2) {
        setMinimumSize(0, 0);
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        resize(size);
        setSizeGripEnabled(true);
    } else {
        setFixedSize(size);
    }
}

void FormDialog::OnFormChanged(Prop what) {
    const ModelUpdate guard(*this);
    switch (what) {
        case Prop::Caption:
            setWindowTitle(ToQt(form_.Caption()));
            break;
        case Prop::Geometry:
            FitToForm();
            break;
        case Prop::Enabled:
            setEnabled(form_.Enabled());
            break;
        case Prop::Loaded:
            if (!form_.IsLoaded()) done(QDialog::Rejected);
            break;
        default:
            break;
    }
}

void FormDialog::SetBuddies() {
    // A label's access key moves the focus to the control after it in tab order, as in VB.
    for (const auto& b : bound_) {
        auto* label = qobject_cast<QLabel*>(b.widget.data());
        if (!label || !label->text().contains(QLatin1Char('&'))) continue;
        const forms::Control* next = nullptr;
        for (const auto& other : bound_) {
            const auto k = other.control->Kind();
            if (k == ControlKind::Label || k == ControlKind::Frame || k == ControlKind::PictureBox) continue;
            if (other.control->TabIndex() > b.control->TabIndex() &&
                (!next || other.control->TabIndex() < next->TabIndex()))
                next = other.control;
        }
        if (next) label->setBuddy(WidgetFor(*next));
    }
}

void FormDialog::WatchFocus(QWidget* widget, forms::Control& control) {
    focusOwners_[widget] = &control;
    widget->installEventFilter(this);
}

void FormDialog::SyncFocus() {
    forms::Control* active = form_.ActiveControl();
    QWidget* widget = active ? WidgetFor(*active) : nullptr;
    if (!widget || widget->hasFocus() || widget->isAncestorOf(QApplication::focusWidget())) return;
    const ModelUpdate guard(*this);
    widget->setFocus(Qt::OtherFocusReason);
}

bool FormDialog::eventFilter(QObject* watched, QEvent* event) {
    const auto it = focusOwners_.find(watched);
    if (it == focusOwners_.end()) return QDialog::eventFilter(watched, event);
    forms::Control& control = *it->second;
    // Coming back, a text control shows the selection the model kept for it.
    if (event->type() == QEvent::FocusIn) SyncControl(control, Prop::Selection);
    if (UpdatingFromModel()) return QDialog::eventFilter(watched, event);
    if (event->type() == QEvent::FocusIn && !control.HasFocus() && control.CanFocus()) {
        UserAction([&] { control.SetFocus(); });
    } else if (event->type() == QEvent::KeyPress) {
        const auto& key = static_cast<const QKeyEvent&>(*event);
        const int code = VbKeyCode(key);
        // Enter and Esc belong to the Default and Cancel buttons when the form has them.
        const bool buttonKey = (code == forms::vbKeyReturn && form_.DefaultButton()) ||
                               (code == forms::vbKeyEscape && form_.CancelButton());
        const bool editsCombo = control.Kind() == ControlKind::ComboBox && !key.text().isEmpty() &&
                                (key.text().at(0).isPrint() || code == 8);
        if (editsCombo)
            WidgetFor(control)->setProperty("pvLastKey", code);  // reported with the typed text
        else if (code != 0 && !buttonKey)
            UserAction([&] { control.KeyDown.Raise(code, VbShift(key)); });
        if (control.Kind() == ControlKind::OptionButton && code >= 37 && code <= 40 && key.modifiers() == 0)
            return MoveInOptionGroup(control, code == 37 || code == 38 ? -1 : 1);
    }
    return QDialog::eventFilter(watched, event);
}

std::vector<forms::Control*> FormDialog::OptionGroup(const forms::Control& option) const {
    // One group per container widget (a frame, a picture box or a tab page), in tab order.
    const QWidget* widget = WidgetFor(option);
    std::vector<forms::Control*> group;
    for (const auto& b : bound_)
        if (b.control->Kind() == ControlKind::OptionButton && b.widget &&
            b.widget->parentWidget() == widget->parentWidget())
            group.push_back(b.control);
    std::stable_sort(group.begin(), group.end(), [](const forms::Control* a, const forms::Control* b) {
        return a->TabIndex() < b->TabIndex();
    });
    return group;
}

bool FormDialog::MoveInOptionGroup(forms::Control& from, int step) {
    // Windows' rule for option buttons: the arrows move to the next one of the
    // group, round the end, and choose it.
    const std::vector<forms::Control*> group = OptionGroup(from);
    const auto at = std::find(group.begin(), group.end(), &from);
    const int n = static_cast<int>(group.size());
    for (int i = 1; at != group.end() && i < n; ++i) {
        auto& next = static_cast<forms::OptionButton&>(*group[((at - group.begin()) + step * i + n) % n]);
        QWidget* widget = WidgetFor(next);
        if (!next.IsUsable() || !widget->isEnabled() || !widget->isVisible()) continue;
        UserAction([&] { next.Press(); });  // takes the focus first, as a click does
        SyncControl(next, Prop::Value);
        if (next.HasFocus()) widget->setFocus(Qt::TabFocusReason);
        break;
    }
    return true;
}

void FormDialog::UpdateOptionStops() {
    // A group of option buttons is one tab stop: the chosen one, else the first.
    for (const auto& b : bound_) {
        if (b.control->Kind() != ControlKind::OptionButton || !b.widget) continue;
        const std::vector<forms::Control*> group = OptionGroup(*b.control);
        forms::Control* stop = group.front();
        for (forms::Control* option : group)
            if (static_cast<forms::OptionButton*>(option)->Value()) stop = option;
        b.widget->setFocusPolicy(b.control == stop ? Qt::StrongFocus : Qt::ClickFocus);
    }
}

void FormDialog::ShowFailure(const QString& text) {
    QMessageBox box(QMessageBox::Critical, windowTitle(), text, QMessageBox::NoButton, this);
    box.addButton(QMessageBox::Ok)->setIcon(QIcon());  // as VB's boxes: no icon on the button
    box.exec();
}

void FormDialog::UserAction(const std::function<void()>& action) {
    ++actionDepth_;
    try {
        action();
    } catch (const vbrt::VbError& e) {
        ShowFailure(QStringLiteral("Run-time error '%1':\n\n%2").arg(e.Number()).arg(ToQt(e.Description())));
    } catch (const std::exception& e) {
        ShowFailure(QString::fromLocal8Bit(e.what()));
    }
    // What the user sees next is the model as the action left it.
    if (--actionDepth_ == 0) FlushLists();
}

void FormDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    PlaceAll();  // tab pages have their final offsets only once shown
    SyncFocus();
}

void FormDialog::closeEvent(QCloseEvent* event) {
    // The close box asks the form; the dialog goes when the form unloads.
    event->ignore();
    if (form_.IsLoaded()) UserAction([this] { form_.CloseByUser(); });
    if (!form_.IsLoaded()) done(QDialog::Rejected);
}

void FormDialog::reject() {
    // Esc presses the Cancel button; without one it does nothing, as in VB.
    if (forms::CommandButton* cancel = form_.CancelButton()) UserAction([cancel] { cancel->Press(); });
    if (!form_.IsLoaded()) done(QDialog::Rejected);
}

void FormDialog::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    if (UpdatingFromModel() || !isVisible() || form_.BorderStyle() != 2) return;
    const long border = form_.Width() - form_.ScaleWidth();
    const long caption = form_.Height() - form_.ScaleHeight();
    UserAction([&] { form_.ResizeByUser(scale_.Twips(width()) + border, scale_.Twips(height()) + caption); });
    PlaceAll();
}

}  // namespace pvqt
