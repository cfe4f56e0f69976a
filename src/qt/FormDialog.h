#pragma once
// The generic binder: any forms::Form shown as a QDialog. Each control gets the
// widget of its kind, placed from its twips geometry inside its container (the
// form, a frame, a picture box or a tab page). Model changes update widgets;
// user actions call the model's user entry points (Press, ClickItem, TypeText,
// ChooseItem, SetTab...) once, so the model raises each event exactly once.
// Widget signals caused by a model update are ignored (no echo).
#include <QDialog>
#include <QPointer>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "forms/Form.h"
#include "qt/Metrics.h"

namespace pvqt {

class FormDialog : public QDialog {
    Q_OBJECT
public:
    explicit FormDialog(forms::Form& form, QWidget* parent = nullptr);
    ~FormDialog() override;

    forms::Form& Form() { return form_; }
    QWidget* WidgetFor(const forms::Control& control) const;
    QWidget* WidgetFor(const std::string& controlName) const;
    template <class W>
    W* Widget(const std::string& controlName) const {
        return qobject_cast<W*>(WidgetFor(controlName));
    }
    // Twips to pixels for this dialog's font.
    const TwipsScale& Scale() const { return scale_; }
    // Re-places every widget from the model's geometry.
    void PlaceAll();

    // Guard for code that changes widgets to mirror the model.
    bool UpdatingFromModel() const { return fromModel_ > 0; }
    class ModelUpdate {
    public:
        explicit ModelUpdate(FormDialog& d) : d_(d) { ++d_.fromModel_; }
        ~ModelUpdate() { --d_.fromModel_; }
        ModelUpdate(const ModelUpdate&) = delete;
        ModelUpdate& operator=(const ModelUpdate&) = delete;

    private:
        FormDialog& d_;
    };
    // Runs a user action against the model; a failure the form's code did not
    // trap is shown as VB shows a run-time error, never thrown into Qt.
    void UserAction(const std::function<void()>& action);
    // Mirrors the model state of one control into its widget. During a user
    // action a list's entries are mirrored once, when the action ends (or when
    // a modal window it opens starts handling events).
    void SyncControl(forms::Control& control, forms::Prop what);
    void FlushLists();
    void SyncFocus();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void reject() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Bound {
        forms::Control* control = nullptr;
        QPointer<QWidget> widget;
    };
    void Build();
    QWidget* Create(forms::Control& control);
    QWidget* ChildParent(forms::Control& container, int tabPage) const;
    void Place(const Bound& bound);
    void Subscribe(forms::Control& control);
    void OnFormChanged(forms::Prop what);
    void SetBuddies();
    void WatchFocus(QWidget* widget, forms::Control& control);
    void FitToForm();
    void ShowFailure(const QString& text);
    std::vector<forms::Control*> OptionGroup(const forms::Control& option) const;
    bool MoveInOptionGroup(forms::Control& from, int step);
    void UpdateOptionStops();

    forms::Form& form_;
    TwipsScale scale_;
    std::vector<Bound> bound_;
    std::map<const forms::Control*, QWidget*> widgets_;
    std::map<const QObject*, forms::Control*> focusOwners_;
    std::shared_ptr<int> alive_ = std::make_shared<int>(0);
    int fromModel_ = 0;
    int actionDepth_ = 0;
    std::vector<forms::Control*> pendingLists_;
};

}  // namespace pvqt
