#pragma once
// The project window: the open project's components grouped by type, as VB's
// project explorer groups them. Double-click opens a code window (or the
// designer of a component without code); the context menu offers View Code
// and View Object. Components with unsaved changes carry a "*".
#include <QTreeWidget>

namespace host {
class VBProject;
class VBComponent;
}  // namespace host

namespace studio {

class ProjectTree : public QTreeWidget {
    Q_OBJECT
public:
    explicit ProjectTree(QWidget* parent = nullptr);
    // Rebuilds the tree from the project (null: empty).
    void ShowProject(host::VBProject* project);
    void RefreshMarks();
    QTreeWidgetItem* ItemFor(const host::VBComponent& component) const;
    static host::VBComponent* ComponentOf(const QTreeWidgetItem* item);
    static QString Label(const host::VBComponent& component);

signals:
    void viewCode(host::VBComponent* component);
    void viewObject(host::VBComponent* component);

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    host::VBProject* project_ = nullptr;
};

// Whether a component of this type has a visual designer (forms and the like).
bool HasDesigner(const host::VBComponent& component);

}  // namespace studio
