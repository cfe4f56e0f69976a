#pragma once
// The root of the host object model over VB6 files: projects loaded from a .vbp
// or a folder of modules, their components and code panes, the active window,
// menu bars and their events. Platform methods (open, save) are camelCase.
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "host/CodeModule.h"
#include "host/CommandBars.h"
#include "host/DiskFile.h"

namespace host {

class VBE;
class VBProject;
class VBComponent;

enum vbext_ComponentType {
    vbext_ct_StdModule = 1,
    vbext_ct_ClassModule = 2,
    vbext_ct_MSForm = 3,
    vbext_ct_ResFile = 4,
    vbext_ct_VBForm = 5,
    vbext_ct_VBMDIForm = 6,
    vbext_ct_PropPage = 7,
    vbext_ct_UserControl = 8,
    vbext_ct_DocObject = 9,
    vbext_ct_RelatedDocument = 10,
    vbext_ct_ActiveXDesigner = 11
};

enum vbext_WindowType { vbext_wt_CodeWindow = 0, vbext_wt_Designer = 1, vbext_wt_ProjectWindow = 6 };

class Window {
public:
    Window(vbext_WindowType type, VBComponent* component) : type_(type), component_(component) {}
    vbext_WindowType Type() const { return type_; }
    VBComponent* Component() const { return component_; }

private:
    vbext_WindowType type_;
    VBComponent* component_;
};

// The caret or selection of one code window: 1-based lines and columns.
struct Selection {
    long startLine = 1, startColumn = 1, endLine = 1, endColumn = 1;
};

class CodePane {
public:
    explicit CodePane(host::CodeModule& module) : module_(module) {}
    host::CodeModule& CodeModule() { return module_; }
    void GetSelection(long& startLine, long& startColumn, long& endLine, long& endColumn) const;
    // Lines are kept within 1..max(CountOfLines,1) (a request for line 0 goes to
    // line 1), columns at 1 or more.
    void SetSelection(long startLine, long startColumn, long endLine, long endColumn);
    const Selection& Current() const { return selection_; }
    // Front ends report the user's selection here without echo to OnSelectionSet.
    void UpdateFromView(const Selection& selection) { selection_ = selection; }
    int OnSelectionSet(std::function<void(const Selection&)> handler);
    void RemoveListener(int id);

private:
    host::CodeModule& module_;
    Selection selection_;
    std::vector<std::pair<int, std::function<void(const Selection&)>>> listeners_;
    int nextListener_ = 1;
};

class VBComponent {
public:
    VBComponent(VBProject& project, vbext_ComponentType type, std::filesystem::path file);
    ~VBComponent();
    const std::string& Name() const { return name_; }
    vbext_ComponentType Type() const { return type_; }
    // Raises error 91 for a component without code (resource, related document, designer).
    host::CodeModule& CodeModule();
    bool HasCodeModule() const { return static_cast<bool>(module_); }
    // Whether components of its type carry code (forms, modules, classes...).
    bool HasCodeType() const;
    // Makes its code window the active window and its pane the active code pane.
    void Activate();
    VBProject& Project() { return project_; }

    // Platform side.
    const std::filesystem::path& FilePath() const { return file_; }
    bool IsDirty() const;
    // Writes the module file atomically. Raises error 75 when the file changed on
    // disk since it was loaded or cannot be written; the file is then untouched.
    void Save();
    void LoadFromDisk();                      // (re)reads the file; used by the loader
    void CreateNew(const std::string& name);  // a new standard module, not yet on disk
    // Raises what Save() would raise, without writing anything.
    void CheckCanSave() const;
    // The name a project file gives when the module file carries no VB_Name.
    void SetName(std::string name) { name_ = std::move(name); }

private:
    VBProject& project_;
    vbext_ComponentType type_;
    std::filesystem::path file_;
    std::string name_;
    std::unique_ptr<host::CodeModule> module_;
    std::unique_ptr<CodePane> pane_;
    std::uint64_t savedVersion_ = 0;
    bool onDisk_ = false;
    // What the file was when loaded or last saved, to refuse overwriting a change made elsewhere.
    std::uintmax_t diskSize_ = 0;
    std::int64_t diskMtimeNs_ = 0;
    std::uint64_t diskInode_ = 0;
    friend class CodeModule;
};

class VBComponents {
public:
    explicit VBComponents(VBProject& project) : project_(project) {}
    long Count() const { return static_cast<long>(items_.size()); }
    VBComponent& Item(long index);               // 1-based; error 9 outside
    VBComponent& Item(const std::string& name);  // by name, letter case ignored; error 9
    VBComponent* Find(const std::string& name);
    // Adds a new component; only standard modules (1) are supported, others raise error 5.
    VBComponent& Add(vbext_ComponentType type);
    auto begin() { return items_.begin(); }
    auto end() { return items_.end(); }
    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }
    VBComponent& Append(std::unique_ptr<VBComponent> component);

private:
    VBProject& project_;
    std::vector<std::unique_ptr<VBComponent>> items_;
};

class VBProject {
public:
    explicit VBProject(VBE& vbe) : vbe_(vbe) {}
    const std::string& Name() const { return name_; }
    host::VBComponents& VBComponents() { return components_; }
    VBE& Vbe() { return vbe_; }

    // Platform side.
    // Loads a .vbp file or every module of a folder. Raises error 53 / 76 for a
    // missing path, and a clear error naming the module a .vbp lists but lacks.
    static std::unique_ptr<VBProject> Open(VBE& vbe, const std::filesystem::path& path);
    const std::filesystem::path& ProjectFile() const { return projectFile_; }  // empty for a folder
    const std::filesystem::path& Folder() const { return folder_; }
    bool IsDirty() const;
    // Saves every changed module and, when modules were added, the .vbp (keys and
    // sections it does not use written back unchanged).
    void SaveAll();

private:
    friend class host::VBComponents;
    VBE& vbe_;
    std::string name_;
    std::filesystem::path projectFile_;
    std::filesystem::path folder_;
    std::vector<std::string> vbpLines_;  // raw .vbp lines, for writing it back
    std::string vbpEol_ = "\r\n";
    bool vbpDirty_ = false;
    DiskStamp vbpStamp_;
    void LoadProjectFile(const std::filesystem::path& file);
    void LoadFolder(const std::filesystem::path& folder);
    void AddProjectLine(const std::string& key, const std::string& line);
    void LoadComponent(vbext_ComponentType type, bool named, std::string_view value);
    host::VBComponents components_{*this};
};

class VBProjects {
public:
    long Count() const { return static_cast<long>(items_.size()); }
    VBProject& Item(long index);  // 1-based; error 9 outside
    VBProject& Add(std::unique_ptr<VBProject> project);
    void Remove(VBProject& project);
    auto begin() { return items_.begin(); }
    auto end() { return items_.end(); }

private:
    std::vector<std::unique_ptr<VBProject>> items_;
};

struct VBEOptions {
    bool addInsBar = true;      // the "Add-Ins" menu bar
    bool codeWindowBar = true;  // the "Code Window" context menu
};

class VBE {
public:
    explicit VBE(VBEOptions options = {});
    host::VBProjects& VBProjects() { return projects_; }
    // Raises error 91 when no project is open.
    VBProject& ActiveVBProject();
    // Nothing (nullptr) when no window is active.
    Window* ActiveWindow() { return activeWindow_.get(); }
    // Raises error 91 when no code pane is active.
    CodePane& ActiveCodePane();
    bool HasActiveCodePane() const { return activeCodePane_ != nullptr; }
    host::CommandBars& CommandBars() { return commandBars_; }
    host::Events& Events() { return events_; }

    // Platform side.
    VBProject& OpenProject(const std::filesystem::path& path);  // and makes it active
    void SetActiveProject(VBProject* project) { activeProject_ = project; }
    void SetActiveCodePane(CodePane* pane);          // a code window becomes active
    void SetActiveDesigner(VBComponent* component);  // a designer becomes active
    void ClearActiveWindow();
    // Notified when the active window or code pane changes (front ends follow it).
    void OnActiveChanged(std::function<void()> handler) { activeListeners_.push_back(std::move(handler)); }

private:
    void ActiveChanged();

    host::VBProjects projects_;
    VBProject* activeProject_ = nullptr;
    CodePane* activeCodePane_ = nullptr;
    std::unique_ptr<Window> activeWindow_;
    host::CommandBars commandBars_;
    host::Events events_;
    std::vector<std::function<void()>> activeListeners_;
};

}  // namespace host
