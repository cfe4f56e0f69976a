// Saving, closing and the Add-In Manager.
#include <QCloseEvent>
#include <QMessageBox>
#include <QTabWidget>

#include "AddInManagerDialog.h"
#include "CodeWindow.h"
#include "MainWindow.h"
#include "ProjectTree.h"

namespace studio {

bool MainWindow::SaveCurrent() {
    CodeWindow* window = CurrentCodeWindow();
    if (!window) return SaveAll();
    try {
        window->Component().Save();
    } catch (const std::exception& e) {
        ShowError(tr("Save"), e);
        return false;
    }
    RefreshMarks();
    return true;
}

bool MainWindow::SaveAll() {
    bool ok = true;
    for (auto& project : vbe_.VBProjects()) {
        try {
            project->SaveAll();
        } catch (const std::exception& e) {
            ShowError(tr("Save All"), e);
            ok = false;
        }
    }
    RefreshMarks();
    return ok;
}

bool MainWindow::MaybeSave() {
    bool dirty = false;
    for (auto& project : vbe_.VBProjects()) dirty = dirty || project->IsDirty();
    if (!dirty) return true;
    const auto answer = QMessageBox::question(
        this, tr("Procvault Studio"), tr("Save changes to the project before closing it?"),
        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
    if (answer == QMessageBox::Save) return SaveAll();
    return answer == QMessageBox::Discard;
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (MaybeSave())
        event->accept();
    else
        event->ignore();
}

void MainWindow::ShowAddInManager() {
    AddInManagerDialog dialog(registry_, this);
    dialog.exec();
}

}  // namespace studio
