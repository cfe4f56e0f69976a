#pragma once
// A code window: a monospace editor bound both ways to one component's
// CodeModule. The user's edits become line operations on just the affected
// lines; changes made through the object model (by an add-in) update just
// those blocks; neither side echoes back to the other. The caret and
// selection are reported to the CodePane, and a selection set on the pane
// moves the caret. The module is never scanned from here.
#include <QPlainTextEdit>
#include <functional>
#include <memory>

class QMenu;

namespace host {
class VBComponent;
class CodeModule;
class CodePane;
struct Selection;
}  // namespace host

namespace studio {

class CodeWindow : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit CodeWindow(host::VBComponent& component, QWidget* parent = nullptr);
    ~CodeWindow() override;

    host::VBComponent& Component() { return component_; }
    host::CodePane& Pane();
    bool IsDirty() const { return dirty_; }
    // Who builds the context menu (the main window, from the "Code Window" bar).
    void SetContextMenuFactory(std::function<std::unique_ptr<QMenu>(CodeWindow&)> factory) {
        menuFactory_ = std::move(factory);
    }
    std::unique_ptr<QMenu> BuildContextMenu();
    // Selects whole lines first..last (1-based), as a user dragging over them would.
    void SelectLines(int first, int last);
    // Re-reads the dirty state (after a save).
    void RefreshDirty();

signals:
    void dirtyChanged(bool dirty);
    void caretMoved(long line, long column);

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void OnContentsChange(int position, int removed, int added);
    void OnModuleChanged(long firstLine, long removed, long inserted);
    void OnSelectionSet(const host::Selection& selection);
    void ReportSelection();
    QTextCursor CursorAt(long line, long column) const;

    host::VBComponent& component_;
    host::CodeModule& module_;
    int linesListener_ = 0;
    int selectionListener_ = 0;
    int fromModel_ = 0;  // editing the document to mirror the module
    int toModel_ = 0;    // editing the module to mirror the document
    bool dirty_ = false;
    std::function<std::unique_ptr<QMenu>(CodeWindow&)> menuFactory_;
};

}  // namespace studio
