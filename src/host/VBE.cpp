#include "host/VBE.h"

#include <algorithm>

#include "vbrt/VbError.h"

namespace host {

void CodePane::GetSelection(long& startLine, long& startColumn, long& endLine, long& endColumn) const {
    startLine = selection_.startLine;
    startColumn = selection_.startColumn;
    endLine = selection_.endLine;
    endColumn = selection_.endColumn;
}

void CodePane::SetSelection(long startLine, long startColumn, long endLine, long endColumn) {
    long maxLine = std::max(module_.CountOfLines(), 1L);
    auto line = [maxLine](long value) { return std::clamp(value, 1L, maxLine); };
    auto column = [](long value) { return std::max(value, 1L); };
    selection_ = {line(startLine), column(startColumn), line(endLine), column(endColumn)};
    auto listeners = listeners_;
    for (auto& [id, handler] : listeners) handler(selection_);
}

int CodePane::OnSelectionSet(std::function<void(const Selection&)> handler) {
    listeners_.emplace_back(nextListener_, std::move(handler));
    return nextListener_++;
}

void CodePane::RemoveListener(int id) {
    std::erase_if(listeners_, [id](const auto& entry) { return entry.first == id; });
}

VBProject& VBProjects::Item(long index) {
    if (index < 1 || index > Count()) vbrt::Raise(vbrt::err::SubscriptOutOfRange);
    return *items_[static_cast<std::size_t>(index - 1)];
}

VBProject& VBProjects::Add(std::unique_ptr<VBProject> project) {
    items_.push_back(std::move(project));
    return *items_.back();
}

void VBProjects::Remove(VBProject& project) {
    std::erase_if(items_, [&](const auto& item) { return item.get() == &project; });
}

VBE::VBE(VBEOptions options) {
    if (options.addInsBar) commandBars_.AddBar("Add-Ins").AddHostItem("Add-In Manager...", "addin-manager");
    if (options.codeWindowBar) {
        CommandBar& bar = commandBars_.AddBar("Code Window");
        bar.AddHostItem("Cut", "cut");
        bar.AddHostItem("Copy", "copy");
        bar.AddHostItem("Paste", "paste");
        bar.AddHostItem("Select All", "select-all", true);
    }
}

namespace {
bool IsOpen(host::VBProjects& projects, const VBProject* project) {
    return std::any_of(projects.begin(), projects.end(),
                       [&](const auto& item) { return item.get() == project; });
}
}  // namespace

VBProject& VBE::ActiveVBProject() {
    if (activeProject_ && IsOpen(projects_, activeProject_)) return *activeProject_;
    if (projects_.Count() == 0) vbrt::Raise(vbrt::err::ObjectNotSet);
    return projects_.Item(1);
}

CodePane& VBE::ActiveCodePane() {
    // A pane of a project closed since is no longer there.
    if (!activeCodePane_ || !IsOpen(projects_, &activeCodePane_->CodeModule().Parent().Project()))
        vbrt::Raise(vbrt::err::ObjectNotSet);
    return *activeCodePane_;
}

VBProject& VBE::OpenProject(const std::filesystem::path& path) {
    VBProject& project = projects_.Add(VBProject::Open(*this, path));
    activeProject_ = &project;
    return project;
}

void VBE::SetActiveCodePane(CodePane* pane) {
    activeCodePane_ = pane;
    activeWindow_ =
        pane ? std::make_unique<Window>(vbext_wt_CodeWindow, &pane->CodeModule().Parent()) : nullptr;
    ActiveChanged();
}

void VBE::SetActiveDesigner(VBComponent* component) {
    activeCodePane_ = nullptr;
    activeWindow_ = std::make_unique<Window>(vbext_wt_Designer, component);
    ActiveChanged();
}

void VBE::ClearActiveWindow() {
    activeCodePane_ = nullptr;
    activeWindow_.reset();
    ActiveChanged();
}

void VBE::ActiveChanged() {
    auto listeners = activeListeners_;
    for (auto& listener : listeners) listener();
}

}  // namespace host
