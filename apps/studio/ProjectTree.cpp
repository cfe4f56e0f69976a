#include "ProjectTree.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QMenu>
#include <algorithm>
#include <array>

#include "host/VBE.h"
#include "qt/QtText.h"

namespace studio {
namespace {

struct Group {
    host::vbext_ComponentType type;
    const char* title;
};
constexpr std::array kGroups{
    Group{host::vbext_ct_VBForm, "Forms"},
    Group{host::vbext_ct_VBMDIForm, "Forms"},
    Group{host::vbext_ct_StdModule, "Modules"},
    Group{host::vbext_ct_ClassModule, "Class Modules"},
    Group{host::vbext_ct_UserControl, "User Controls"},
    Group{host::vbext_ct_PropPage, "Property Pages"},
    Group{host::vbext_ct_DocObject, "User Documents"},
    Group{host::vbext_ct_ActiveXDesigner, "Designers"},
    Group{host::vbext_ct_RelatedDocument, "Related Documents"},
    Group{host::vbext_ct_ResFile, "Related Documents"},
    Group{host::vbext_ct_MSForm, "Designers"},
};

}  // namespace

bool HasDesigner(const host::VBComponent& component) {
    switch (component.Type()) {
        case host::vbext_ct_VBForm:
        case host::vbext_ct_VBMDIForm:
        case host::vbext_ct_UserControl:
        case host::vbext_ct_PropPage:
        case host::vbext_ct_DocObject:
        case host::vbext_ct_ActiveXDesigner:
        case host::vbext_ct_MSForm:
            return true;
        default:
            return false;
    }
}

ProjectTree::ProjectTree(QWidget* parent) : QTreeWidget(parent) {
    setHeaderHidden(true);
    setObjectName(QStringLiteral("ProjectTree"));
    connect(this, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
        host::VBComponent* component = ComponentOf(item);
        if (!component) return;
        if (component->HasCodeModule())
            emit viewCode(component);
        else
            emit viewObject(component);
    });
}

QString ProjectTree::Label(const host::VBComponent& component) {
    const QString file = QString::fromStdString(component.FilePath().filename().string());
    QString label = pvqt::ToQt(component.Name()) + QStringLiteral(" (") + file + QLatin1Char(')');
    if (component.IsDirty()) label += QStringLiteral(" *");
    return label;
}

host::VBComponent* ProjectTree::ComponentOf(const QTreeWidgetItem* item) {
    return item ? reinterpret_cast<host::VBComponent*>(item->data(0, Qt::UserRole).value<quintptr>())
                : nullptr;
}

void ProjectTree::ShowProject(host::VBProject* project) {
    project_ = project;
    clear();
    if (!project) return;
    const QString file = QString::fromStdString(
        (project->ProjectFile().empty() ? project->Folder() : project->ProjectFile()).filename().string());
    auto* root = new QTreeWidgetItem(this, {pvqt::ToQt(project->Name()) + QStringLiteral(" (") + file + ')'});
    std::vector<std::pair<QString, QTreeWidgetItem*>> groups;
    for (const auto& g : kGroups) {
        const QString title = QString::fromLatin1(g.title);
        for (auto& component : project->VBComponents()) {
            if (component->Type() != g.type) continue;
            auto it =
                std::find_if(groups.begin(), groups.end(), [&](const auto& p) { return p.first == title; });
            if (it == groups.end())
                it = groups.insert(groups.end(), {title, new QTreeWidgetItem(root, {title})});
            auto* item = new QTreeWidgetItem(it->second, {Label(*component)});
            item->setData(0, Qt::UserRole, QVariant::fromValue(reinterpret_cast<quintptr>(component.get())));
        }
    }
    expandAll();
}

QTreeWidgetItem* ProjectTree::ItemFor(const host::VBComponent& component) const {
    for (QTreeWidgetItemIterator it(const_cast<ProjectTree*>(this)); *it; ++it)
        if (ComponentOf(*it) == &component) return *it;
    return nullptr;
}

void ProjectTree::RefreshMarks() {
    for (QTreeWidgetItemIterator it(this); *it; ++it)
        if (host::VBComponent* component = ComponentOf(*it)) {
            const QString label = Label(*component);
            if ((*it)->text(0) != label) (*it)->setText(0, label);
        }
}

void ProjectTree::contextMenuEvent(QContextMenuEvent* event) {
    host::VBComponent* component = ComponentOf(itemAt(event->pos()));
    if (!component) return;
    QMenu menu;
    QAction* code = menu.addAction(tr("View &Code"));
    code->setEnabled(component->HasCodeModule());
    QAction* object = menu.addAction(tr("View &Object"));
    object->setEnabled(HasDesigner(*component));
    QAction* chosen = menu.exec(event->globalPos());
    if (chosen == code) emit viewCode(component);
    if (chosen == object) emit viewObject(component);
}

}  // namespace studio
