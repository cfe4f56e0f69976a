#include "MainWindow.h"

#include <QApplication>
#include <QDockWidget>
#include <QFileDialog>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QPointer>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>

#include "CodeWindow.h"
#include "CommandBarMenu.h"
#include "ProjectTree.h"
#include "qt/QtText.h"
#include "vbrt/VbError.h"

namespace studio {

MainWindow::MainWindow(std::vector<StudioAddIn> addIns, const QString& settingsFolder)
    : store_(settingsFolder), ui_(this) {
    setObjectName(QStringLiteral("ProcvaultStudio"));
    setWindowTitle(tr("Procvault Studio"));
    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("CodeTabs"));
    tabs_->setTabsClosable(true);
    tabs_->setDocumentMode(true);
    setCentralWidget(tabs_);
    tree_ = new ProjectTree(this);
    auto* dock = new QDockWidget(tr("Project"), this);
    dock->setObjectName(QStringLiteral("ProjectDock"));
    dock->setWidget(tree_);
    dock->setFeatures(QDockWidget::DockWidgetMovable);
    addDockWidget(Qt::LeftDockWidgetArea, dock);
    caretLabel_ = new QLabel(this);
    statusBar()->addPermanentWidget(caretLabel_);
    resize(1000, 680);

    connect(tabs_, &QTabWidget::currentChanged, this, &MainWindow::OnTabChanged);
    connect(tabs_, &QTabWidget::tabCloseRequested, this, &MainWindow::CloseTab);
    connect(tree_, &ProjectTree::viewCode, this, [this](host::VBComponent* c) { OpenCodeWindow(*c); });
    connect(tree_, &ProjectTree::viewObject, this, [this](host::VBComponent* c) { ViewDesigner(*c); });
    vbe_.OnActiveChanged([this] {
        if (!syncingActive_ && !closing_) FollowActiveWindow();
    });
    for (const char* name : {"Add-Ins", "Code Window"})
        if (host::CommandBar* bar = vbe_.CommandBars().Find(name))
            bar->OnChanged([this] { ScheduleMenuRebuild(); });
    for (auto& addIn : addIns) {
        auto factory = addIn.factory;
        registry_.Register(addIn.progId, addIn.description, [this, factory] {
            return factory(pv::Env{ui_, store_});
        });
    }
    BuildMenus();
}

MainWindow::~MainWindow() {
    closing_ = true;
    registry_.DisconnectAll(host::ext_dm_HostShutdown);
    // Code windows listen to modules the VBE owns; they go while it lives.
    while (tabs_->count() > 0) delete tabs_->widget(0);
}

bool MainWindow::event(QEvent* e) {
    const bool result = QMainWindow::event(e);
    if (e->type() == QEvent::Paint && !painted_) {
        painted_ = true;
        emit firstPainted();
    }
    return result;
}

void MainWindow::BuildMenus() {
    QMenu* file = menuBar()->addMenu(tr("&File"));
    file->addAction(tr("&Open Project..."), QKeySequence::Open, this, [this] {
        const QString path = QFileDialog::getOpenFileName(this, tr("Open Project"), QString(),
                                                          tr("Visual Basic Projects (*.vbp)"));
        if (!path.isEmpty()) OpenProject(path);
    });
    file->addAction(tr("Open &Folder..."), this, [this] {
        const QString path = QFileDialog::getExistingDirectory(this, tr("Open Folder of Modules"));
        if (!path.isEmpty()) OpenProject(path);
    });
    file->addSeparator();
    file->addAction(tr("&Save"), QKeySequence::Save, this, [this] { SaveCurrent(); });
    file->addAction(tr("Save A&ll"), QKeySequence(tr("Ctrl+Shift+S")), this, [this] { SaveAll(); });
    file->addSeparator();
    file->addAction(tr("E&xit"), QKeySequence::Quit, this, &QWidget::close);

    QMenu* edit = menuBar()->addMenu(tr("&Edit"));
    auto onEditor = [this](void (QPlainTextEdit::*slot)()) {
        return [this, slot] {
            if (CodeWindow* w = CurrentCodeWindow()) (w->*slot)();
        };
    };
    edit->addAction(tr("&Undo"), QKeySequence::Undo, this, onEditor(&QPlainTextEdit::undo));
    edit->addAction(tr("&Redo"), QKeySequence::Redo, this, onEditor(&QPlainTextEdit::redo));
    edit->addSeparator();
    edit->addAction(tr("Cu&t"), QKeySequence::Cut, this, onEditor(&QPlainTextEdit::cut));
    edit->addAction(tr("&Copy"), QKeySequence::Copy, this, onEditor(&QPlainTextEdit::copy));
    edit->addAction(tr("&Paste"), QKeySequence::Paste, this, onEditor(&QPlainTextEdit::paste));
    edit->addAction(tr("Select &All"), QKeySequence::SelectAll, this, onEditor(&QPlainTextEdit::selectAll));

    addInsMenu_ = menuBar()->addMenu(tr("&Add-Ins"));
    addInsMenu_->setObjectName(QStringLiteral("AddInsMenu"));
    RebuildAddInsMenu();
}

void MainWindow::ScheduleMenuRebuild() {
    // Queued: a click on a menu item may be what changed the bar, and its
    // action must outlive its own triggered signal.
    if (rebuildPending_ || closing_) return;
    rebuildPending_ = true;
    QTimer::singleShot(0, this, [this] {
        rebuildPending_ = false;
        RebuildAddInsMenu();
    });
}

void MainWindow::RebuildAddInsMenu() {
    if (host::CommandBar* bar = vbe_.CommandBars().Find("Add-Ins"))
        FillMenu(*addInsMenu_, *bar, [this](const std::string& action) { RunHostAction(action, nullptr); });
}

std::unique_ptr<QMenu> MainWindow::CodeWindowMenu(CodeWindow& window) {
    auto menu = std::make_unique<QMenu>(&window);
    menu->setObjectName(QStringLiteral("CodeWindowMenu"));
    host::CommandBar* bar = vbe_.CommandBars().Find("Code Window");
    if (!bar) return menu;
    QPointer<CodeWindow> target(&window);
    FillMenu(
        *menu, *bar,
        [this, target](const std::string& action) {
            if (target) RunHostAction(action, target);
        },
        [&window](const std::string& action) {
            if (action == "cut" || action == "copy") return window.textCursor().hasSelection();
            if (action == "cut" || action == "paste") return !window.isReadOnly() && window.canPaste();
            return true;
        });
    return menu;
}

void MainWindow::RunHostAction(const std::string& action, CodeWindow* window) {
    if (action == "addin-manager") return ShowAddInManager();
    if (!window) window = CurrentCodeWindow();
    if (!window) return;
    if (action == "cut") window->cut();
    if (action == "copy") window->copy();
    if (action == "paste") window->paste();
    if (action == "select-all") window->selectAll();
}

host::VBProject* MainWindow::Project() {
    return vbe_.VBProjects().Count() > 0 ? &vbe_.ActiveVBProject() : nullptr;
}

bool MainWindow::OpenProject(const QString& path) {
    if (!MaybeSave()) return false;
    CloseProject();
    try {
        host::VBProject& project = vbe_.OpenProject(path.toStdString());
        tree_->ShowProject(&project);
        setWindowTitle(pvqt::ToQt(project.Name()) + tr(" - Procvault Studio"));
        // The first standard module (else the first code) opens, so there is code to work on.
        host::VBComponent* first = nullptr;
        for (auto& c : project.VBComponents())
            if (c->HasCodeModule() && (!first || (c->Type() == host::vbext_ct_StdModule &&
                                                  first->Type() != host::vbext_ct_StdModule)))
                first = c.get();
        if (first) OpenCodeWindow(*first);
        return true;
    } catch (const std::exception& e) {
        ShowError(tr("Open Project"), e);
        tree_->ShowProject(nullptr);
        return false;
    }
}

void MainWindow::CloseProject() {
    const bool wasSyncing = syncingActive_;
    syncingActive_ = true;
    while (tabs_->count() > 0) delete tabs_->widget(0);
    codeWindows_.clear();
    designers_.clear();
    vbe_.ClearActiveWindow();
    while (vbe_.VBProjects().Count() > 0) vbe_.VBProjects().Remove(vbe_.VBProjects().Item(1));
    syncingActive_ = wasSyncing;
    tree_->ShowProject(nullptr);
}

void MainWindow::StartAddIns() {
    try {
        registry_.ConnectAllAtStartup();
    } catch (const std::exception& e) {
        ShowError(tr("Add-Ins"), e);
    }
}

void MainWindow::ShowError(const QString& title, const std::exception& error) {
    QString text = QString::fromStdString(error.what());
    if (const auto* vb = dynamic_cast<const vbrt::VbError*>(&error))
        text = pvqt::ToQt(vb->Description()) + QStringLiteral(" (") + QString::number(vb->Number()) + ')';
    QMessageBox::critical(this, title, text);
}

void MainWindow::ShowCaret(long line, long column) {
    caretLabel_->setText(tr("Ln %1, Col %2").arg(line).arg(column));
}

}  // namespace studio
