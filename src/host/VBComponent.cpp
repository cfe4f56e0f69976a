#include <algorithm>

#include "host/ModuleText.h"
#include "host/VBE.h"
#include "host/VbLex.h"
#include "vbrt/Text.h"
#include "vbrt/VbError.h"

namespace host {
namespace {

bool HasCode(vbext_ComponentType type) {
    switch (type) {
        case vbext_ct_StdModule:
        case vbext_ct_ClassModule:
        case vbext_ct_VBForm:
        case vbext_ct_VBMDIForm:
        case vbext_ct_PropPage:
        case vbext_ct_UserControl:
        case vbext_ct_DocObject:
            return true;
        default:
            return false;
    }
}

bool IsMdiForm(const std::string& header) {
    std::string_view rest = header;
    while (!rest.empty()) {
        auto end = rest.find_first_of("\r\n");
        std::string_view words = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view{} : rest.substr(end + 1);
        if (!lex::SameWord(lex::NextWord(words), "Begin")) continue;
        std::string_view control = lex::Trim(words);
        return vbrt::EqualsText(control.substr(0, control.find_first_of(" \t")), "VB.MDIForm");
    }
    return false;
}

}  // namespace

VBComponent::VBComponent(VBProject& project, vbext_ComponentType type, std::filesystem::path file)
    : project_(project), type_(type), file_(std::move(file)), name_(file_.stem().string()) {}

VBComponent::~VBComponent() = default;

bool VBComponent::HasCodeType() const {
    return HasCode(type_);
}

CodeModule& VBComponent::CodeModule() {
    if (!module_) vbrt::Raise(vbrt::err::ObjectNotSet);
    return *module_;
}

void VBComponent::Activate() {
    if (module_)
        project_.Vbe().SetActiveCodePane(pane_.get());
    else
        project_.Vbe().SetActiveDesigner(this);
}

bool VBComponent::IsDirty() const {
    return module_ && (!onDisk_ || module_->Version() != savedVersion_);
}

void VBComponent::LoadFromDisk() {
    if (!HasCode(type_)) return;
    std::string bytes = ReadFileBytes(file_);
    if (bytes.find('\0') != std::string::npos)
        vbrt::Raise(vbrt::err::InvalidCall, file_.filename().string() + " is not a Visual Basic source file");
    auto stamp = StampOf(file_);
    auto text = std::make_unique<ModuleText>(ModuleText::Parse(bytes));
    if (std::string vbName = text->VbName(); !vbName.empty()) name_ = vbName;
    if (type_ == vbext_ct_VBForm && IsMdiForm(text->Header())) type_ = vbext_ct_VBMDIForm;
    if (module_) {
        long removed = module_->CountOfLines();
        module_->Text() = std::move(*text);
        module_->Changed(1, removed, module_->CountOfLines());
    } else {
        module_ = std::make_unique<host::CodeModule>(*this, std::move(text));
        pane_ = std::make_unique<CodePane>(*module_);
    }
    diskSize_ = stamp ? stamp->size : 0;
    diskMtimeNs_ = stamp ? stamp->mtimeNs : 0;
    diskInode_ = stamp ? stamp->inode : 0;
    savedVersion_ = module_->Version();
    onDisk_ = true;
}

void VBComponent::CreateNew(const std::string& name) {
    name_ = name;
    auto text = std::make_unique<ModuleText>(ModuleText::Parse("Attribute VB_Name = \"" + name + "\"\r\n"));
    module_ = std::make_unique<host::CodeModule>(*this, std::move(text));
    pane_ = std::make_unique<CodePane>(*module_);
    onDisk_ = false;
}

void VBComponent::CheckCanSave() const {
    if (!module_) return;
    auto now = StampOf(file_);
    if (onDisk_) {
        DiskStamp loaded{diskSize_, diskMtimeNs_, diskInode_};
        if (!now || *now != loaded) RaiseAccessError(file_, "changed on disk since it was loaded");
    } else if (now) {
        vbrt::Raise(vbrt::err::FileAlreadyExists,
                    vbrt::ErrorText(vbrt::err::FileAlreadyExists) + ": " + file_.filename().string());
    }
    CheckWritable(file_);
}

void VBComponent::Save() {
    if (!module_) return;
    CheckCanSave();
    DiskStamp stamp = WriteFileAtomically(file_, module_->Text().Serialize());
    diskSize_ = stamp.size;
    diskMtimeNs_ = stamp.mtimeNs;
    diskInode_ = stamp.inode;
    savedVersion_ = module_->Version();
    onDisk_ = true;
}

VBComponent& VBComponents::Item(long index) {
    if (index < 1 || index > Count()) vbrt::Raise(vbrt::err::SubscriptOutOfRange);
    return *items_[static_cast<std::size_t>(index - 1)];
}

VBComponent& VBComponents::Item(const std::string& name) {
    VBComponent* found = Find(name);
    if (!found) vbrt::Raise(vbrt::err::SubscriptOutOfRange);
    return *found;
}

VBComponent* VBComponents::Find(const std::string& name) {
    auto it = std::find_if(items_.begin(), items_.end(),
                           [&](const auto& item) { return vbrt::EqualsText(item->Name(), name); });
    return it == items_.end() ? nullptr : it->get();
}

VBComponent& VBComponents::Add(vbext_ComponentType type) {
    if (type != vbext_ct_StdModule) vbrt::Raise(vbrt::err::InvalidCall);
    std::string name;
    for (int n = 1;; ++n) {
        name = "Module" + std::to_string(n);
        if (!Find(name) && !std::filesystem::exists(project_.folder_ / (name + ".bas"))) break;
    }
    auto component =
        std::make_unique<VBComponent>(project_, vbext_ct_StdModule, project_.folder_ / (name + ".bas"));
    component->CreateNew(name);
    VBComponent& added = Append(std::move(component));
    if (!project_.projectFile_.empty())
        project_.AddProjectLine("Module", "Module=" + name + "; " + name + ".bas");
    return added;
}

VBComponent& VBComponents::Append(std::unique_ptr<VBComponent> component) {
    items_.push_back(std::move(component));
    return *items_.back();
}

}  // namespace host
