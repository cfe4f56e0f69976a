// Opening a project (.vbp or a folder of modules) and saving it back.
#include <algorithm>
#include <array>

#include "host/VBE.h"
#include "host/VbLex.h"
#include "vbrt/Text.h"
#include "vbrt/VbError.h"

namespace host {
namespace {

namespace fs = std::filesystem;

struct ModuleKind {
    const char* extension;
    vbext_ComponentType type;
};
constexpr std::array<ModuleKind, 6> kModuleFiles{{{".bas", vbext_ct_StdModule},
                                                  {".cls", vbext_ct_ClassModule},
                                                  {".frm", vbext_ct_VBForm},
                                                  {".ctl", vbext_ct_UserControl},
                                                  {".pag", vbext_ct_PropPage},
                                                  {".dob", vbext_ct_DocObject}}};

const ModuleKind* KindOfFile(const fs::path& file) {
    std::string extension = file.extension().string();
    for (const auto& kind : kModuleFiles)
        if (vbrt::EqualsText(extension, kind.extension)) return &kind;
    return nullptr;
}

[[noreturn]] void RaiseNotFound(const std::string& what) {
    vbrt::Raise(vbrt::err::FileNotFound, vbrt::ErrorText(vbrt::err::FileNotFound) + ": " + what);
}

}  // namespace

std::unique_ptr<VBProject> VBProject::Open(VBE& vbe, const fs::path& path) {
    std::error_code ec;
    auto status = fs::status(path, ec);
    if (!fs::exists(status)) RaiseNotFound(path.string());
    auto project = std::make_unique<VBProject>(vbe);
    if (fs::is_directory(status)) {
        project->LoadFolder(path);
    } else if (vbrt::EqualsText(path.extension().string(), ".vbp")) {
        project->LoadProjectFile(path);
    } else if (const ModuleKind* kind = KindOfFile(path)) {
        // One module on its own: a project of the folder holding it, with just that module.
        project->folder_ = path.has_parent_path() ? path.parent_path() : fs::path(".");
        project->name_ = path.stem().string();
        auto component = std::make_unique<VBComponent>(*project, kind->type, path);
        component->LoadFromDisk();
        project->components_.Append(std::move(component));
    } else {
        vbrt::Raise(vbrt::err::InvalidCall,
                    path.filename().string() + " is not a Visual Basic project or module");
    }
    return project;
}

void VBProject::LoadFolder(const fs::path& folder) {
    folder_ = folder;
    fs::path normal = fs::absolute(folder).lexically_normal();
    if (normal.filename().empty()) normal = normal.parent_path();
    name_ = normal.filename().string();
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.is_regular_file() && KindOfFile(entry.path())) files.push_back(entry.path());
    std::sort(files.begin(), files.end(),
              [](const fs::path& a, const fs::path& b) { return a.filename() < b.filename(); });
    for (const auto& file : files) {
        auto component = std::make_unique<VBComponent>(*this, KindOfFile(file)->type, file);
        component->LoadFromDisk();
        components_.Append(std::move(component));
    }
}

bool VBProject::IsDirty() const {
    if (vbpDirty_) return true;
    return std::any_of(components_.begin(), components_.end(),
                       [](const auto& component) { return component->IsDirty(); });
}

void VBProject::SaveAll() {
    // Check everything first, so a refusal leaves every file as it was.
    std::vector<VBComponent*> dirty;
    for (auto& component : components_)
        if (component->IsDirty()) dirty.push_back(component.get());
    for (VBComponent* component : dirty) component->CheckCanSave();
    bool writeProject = vbpDirty_ && !projectFile_.empty();
    if (writeProject) {
        auto now = StampOf(projectFile_);
        if (!now || *now != vbpStamp_) RaiseAccessError(projectFile_, "changed on disk since it was loaded");
        CheckWritable(projectFile_);
    }
    for (VBComponent* component : dirty) component->Save();
    if (writeProject) {
        std::string bytes;
        for (const auto& line : vbpLines_) bytes += line;
        vbpStamp_ = WriteFileAtomically(projectFile_, bytes);
    }
    vbpDirty_ = false;
}

}  // namespace host
