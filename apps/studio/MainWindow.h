#pragma once
// The Studio's main window: the project tree, code windows and designers in
// tabs, menus drawn from the host's CommandBars, the status bar's caret
// position, and the add-ins, connected through their IDTExtensibility.
// The active tab is the host's active window, both ways.
#include <QMainWindow>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "AddInRegistry.h"
#include "host/VBE.h"
#include "qt/QtSettingsStore.h"
#include "qt/QtUi.h"
#include "settings/Env.h"

class QLabel;
class QMenu;
class QTabWidget;

namespace studio {

class CodeWindow;
class ProjectTree;

// One add-in the Studio offers; the factory gets the services it runs with.
struct StudioAddIn {
    std::string progId;
    std::string description;
    std::function<std::unique_ptr<host::IDTExtensibility>(pv::Env)> factory;
};

// The add-ins a plain start offers: Procvault (pv32.Connect).
std::vector<StudioAddIn> StandardAddIns();

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // settingsFolder: where the settings store keeps its file (empty: the user's).
    explicit MainWindow(std::vector<StudioAddIn> addIns, const QString& settingsFolder = {});
    ~MainWindow() override;

    // Opens a .vbp or a folder, after asking to save the open one's changes.
    // False (with the reason shown) when nothing was opened.
    bool OpenProject(const QString& path);
    // Connects every add-in as at start-up.
    void StartAddIns();
    CodeWindow* OpenCodeWindow(host::VBComponent& component);
    QWidget* ViewDesigner(host::VBComponent& component);
    CodeWindow* CurrentCodeWindow() const;
    bool SaveCurrent();
    bool SaveAll();
    // Save / Discard / Cancel when there are unsaved changes; true: go on.
    bool MaybeSave();
    void ShowAddInManager();

    host::VBE& Vbe() { return vbe_; }
    pvqt::QtUi& Ui() { return ui_; }
    AddInRegistry& AddIns() { return registry_; }
    ProjectTree* Tree() const { return tree_; }
    QTabWidget* Tabs() const { return tabs_; }
    QMenu* AddInsMenu() const { return addInsMenu_; }
    QLabel* CaretLabel() const { return caretLabel_; }
    // Builds the context menu the code window shows (from the "Code Window" bar).
    std::unique_ptr<QMenu> CodeWindowMenu(CodeWindow& window);

signals:
    void firstPainted();

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildMenus();
    void RebuildAddInsMenu();
    void ScheduleMenuRebuild();
    void RunHostAction(const std::string& action, CodeWindow* window);
    void OnTabChanged();
    void FollowActiveWindow();
    void CloseTab(int index);
    void CloseProject();
    void RefreshMarks();
    void ShowCaret(long line, long column);
    void ShowError(const QString& title, const std::exception& error);
    host::VBProject* Project();

    pvqt::QtSettingsStore store_;
    pvqt::QtUi ui_;
    host::VBE vbe_;
    AddInRegistry registry_{vbe_};
    ProjectTree* tree_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    QMenu* addInsMenu_ = nullptr;
    QLabel* caretLabel_ = nullptr;
    std::map<host::VBComponent*, CodeWindow*> codeWindows_;
    std::map<host::VBComponent*, QWidget*> designers_;
    bool syncingActive_ = false;
    bool rebuildPending_ = false;
    bool closing_ = false;
    bool painted_ = false;
};

}  // namespace studio
