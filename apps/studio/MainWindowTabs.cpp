// The main window's tabs: code windows and designers, kept in step with the
// host's active window.
#include <QLabel>
#include <QMenu>
#include <QTabWidget>
#include <QTextBlock>

#include "CodeWindow.h"
#include "MainWindow.h"
#include "ProjectTree.h"
#include "qt/QtText.h"

namespace studio {
namespace {

QString TabTitle(const host::VBComponent& component, bool dirty) {
    return pvqt::ToQt(component.Name()) + (dirty ? QStringLiteral(" *") : QString());
}

long ComponentsShown(ProjectTree& tree) {
    long n = 0;
    for (QTreeWidgetItemIterator it(&tree); *it; ++it) n += ProjectTree::ComponentOf(*it) ? 1 : 0;
    return n;
}

}  // namespace

CodeWindow* MainWindow::OpenCodeWindow(host::VBComponent& component) {
    if (const auto it = codeWindows_.find(&component); it != codeWindows_.end()) {
        tabs_->setCurrentWidget(it->second);
        return it->second;
    }
    auto* window = new CodeWindow(component);
    window->SetContextMenuFactory([this](CodeWindow& w) { return CodeWindowMenu(w); });
    codeWindows_[&component] = window;
    connect(window, &CodeWindow::caretMoved, this, [this, window](long line, long column) {
        if (window == CurrentCodeWindow()) ShowCaret(line, column);
    });
    connect(window, &CodeWindow::dirtyChanged, this, [this](bool) { RefreshMarks(); });
    connect(window, &QObject::destroyed, this, [this, &component] { codeWindows_.erase(&component); });
    tabs_->addTab(window, TabTitle(component, window->IsDirty()));
    tabs_->setCurrentWidget(window);
    window->setFocus();
    return window;
}

QWidget* MainWindow::ViewDesigner(host::VBComponent& component) {
    if (const auto it = designers_.find(&component); it != designers_.end()) {
        tabs_->setCurrentWidget(it->second);
        return it->second;
    }
    // No visual designer here: a plain page stands for the form's design view,
    // so the host's active window is a designer while it is shown.
    auto* view = new QLabel(tr("%1 (designer)").arg(pvqt::ToQt(component.Name())));
    view->setAlignment(Qt::AlignCenter);
    view->setObjectName(QStringLiteral("Designer"));
    view->setProperty("pvComponent", QVariant::fromValue(reinterpret_cast<quintptr>(&component)));
    designers_[&component] = view;
    connect(view, &QObject::destroyed, this, [this, &component] { designers_.erase(&component); });
    tabs_->addTab(view, pvqt::ToQt(component.Name()) + tr(" (Form)"));
    tabs_->setCurrentWidget(view);
    return view;
}

CodeWindow* MainWindow::CurrentCodeWindow() const {
    return qobject_cast<CodeWindow*>(tabs_->currentWidget());
}

void MainWindow::OnTabChanged() {
    if (closing_) return;
    syncingActive_ = true;
    QWidget* current = tabs_->currentWidget();
    if (auto* code = qobject_cast<CodeWindow*>(current)) {
        vbe_.SetActiveCodePane(&code->Pane());
        const QTextCursor c = code->textCursor();
        ShowCaret(c.blockNumber() + 1, c.positionInBlock() + 1);
    } else if (current) {
        vbe_.SetActiveDesigner(
            reinterpret_cast<host::VBComponent*>(current->property("pvComponent").value<quintptr>()));
        caretLabel_->clear();
    } else {
        vbe_.ClearActiveWindow();
        caretLabel_->clear();
    }
    syncingActive_ = false;
}

void MainWindow::FollowActiveWindow() {
    // An add-in changed the active window (Activate, a module it added): show it.
    if (host::VBProject* project = Project();
        project && ComponentsShown(*tree_) != project->VBComponents().Count())
        tree_->ShowProject(project);
    if (vbe_.HasActiveCodePane()) {
        OpenCodeWindow(vbe_.ActiveCodePane().CodeModule().Parent());
    } else if (host::Window* window = vbe_.ActiveWindow();
               window && window->Type() == host::vbext_wt_Designer && window->Component()) {
        ViewDesigner(*window->Component());
    }
}

void MainWindow::CloseTab(int index) {
    // The module keeps its text in the host; closing its window loses nothing.
    delete tabs_->widget(index);
}

void MainWindow::RefreshMarks() {
    for (int i = 0; i < tabs_->count(); ++i)
        if (auto* code = qobject_cast<CodeWindow*>(tabs_->widget(i))) {
            code->RefreshDirty();
            tabs_->setTabText(i, TabTitle(code->Component(), code->IsDirty()));
        }
    tree_->RefreshMarks();
}

}  // namespace studio
