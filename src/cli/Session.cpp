#include "cli/Session.h"

#include <filesystem>

#include "settings/Env.h"
#include "vbrt/VbError.h"

namespace pvcli {
namespace fs = std::filesystem;

namespace {

bool SameFile(const fs::path& a, const fs::path& b) {
    std::error_code ec;
    return fs::equivalent(a, b, ec);
}

}  // namespace

Session::Session(ConsoleUi& ui, vbrt::SettingsStore& store) : ui_(ui), store_(store) {}

Session::~Session() {
    if (addIn_) {
        host::CustomArray custom;
        addIn_->IDTExtensibility_OnDisconnection(host::ext_dm_HostShutdown, custom);
    }
    pv::objVBE = nullptr;
}

host::VBComponent* FindModule(host::VBProject& project, const std::string& module) {
    for (auto& component : project.VBComponents()) {
        if (!component->HasCodeModule()) continue;
        const fs::path& file = component->FilePath();
        if (SameFile(file, module) || SameFile(file, project.Folder() / module)) return component.get();
    }
    return project.VBComponents().Find(module);
}

host::VBComponent& Session::OpenModule(const std::string& module, const std::optional<std::string>& project) {
    if (!project) {
        std::error_code ec;
        if (fs::is_directory(module, ec))
            vbrt::Raise(vbrt::err::PathFileAccess, module + " is a folder, not a module file");
    }
    host::VBProject& opened = vbe_.OpenProject(project ? fs::path(*project) : fs::path(module));
    host::VBComponent* component = FindModule(opened, module);
    if (!component) vbrt::Raise(vbrt::err::FileNotFound, "the project has no module " + module);
    if (!component->HasCodeModule()) vbrt::Raise(vbrt::err::InvalidCall, module + " has no code");
    component->Activate();
    return *component;
}

void Session::ConnectAddIn() {
    addIn_ = std::make_unique<pv::Connect>(pv::Env{ui_, store_});
    host::CustomArray custom;
    addIn_->IDTExtensibility_OnConnection(&vbe_, host::ext_cm_CommandLine, &record_, custom);
    addIn_->IDTExtensibility_OnStartupComplete(custom);
    record_.connected = true;
}

void Session::Click(const std::string& bar, const std::string& caption) {
    vbe_.CommandBars().Item(bar).Controls().Item(caption)->Execute();
}

}  // namespace pvcli
