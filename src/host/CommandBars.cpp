#include "host/CommandBars.h"

#include <algorithm>
#include <utility>

#include "vbrt/VbError.h"

namespace host {

CommandBarControl::CommandBarControl(CommandBar* bar, int type, std::string hostAction)
    : bar_(bar), type_(type), hostAction_(std::move(hostAction)) {}

void CommandBarControl::SetCaption(std::string caption) {
    caption_ = std::move(caption);
    if (bar_) bar_->Changed();
}

void CommandBarControl::SetBeginGroup(bool value) {
    beginGroup_ = value;
    if (bar_) bar_->Changed();
}

void CommandBarControl::Delete() {
    if (!bar_) vbrt::Raise(vbrt::err::InvalidCall);
    auto keepAlive = shared_from_this();  // the bar may hold the last reference
    CommandBar* bar = std::exchange(bar_, nullptr);
    bar->Remove(this);
    bar->Changed();
}

void CommandBarControl::Execute() {
    if (!bar_) vbrt::Raise(vbrt::err::InvalidCall);
    auto keepAlive = shared_from_this();
    std::vector<std::shared_ptr<CommandBarEvents>> live;
    for (const auto& source : sources_)
        if (auto locked = source.lock()) live.push_back(std::move(locked));
    std::erase_if(sources_, [](const auto& source) { return source.expired(); });
    for (const auto& source : live) {
        bool handled = false;
        bool cancelDefault = false;
        source->RaiseClick(*this, handled, cancelDefault);
    }
}

std::shared_ptr<CommandBarControl> CommandBarControls::Add(int type, int before) {
    auto& items = bar_.items_;
    if (before < 0 || before > static_cast<int>(items.size()) + 1) vbrt::Raise(vbrt::err::InvalidCall);
    auto control = std::make_shared<CommandBarControl>(&bar_, type, std::string{});
    auto at = before == 0 ? items.end() : items.begin() + (before - 1);
    items.insert(at, control);
    bar_.Changed();
    return control;
}

std::shared_ptr<CommandBarControl> CommandBarControls::Item(const std::string& caption) const {
    const auto& items = bar_.items_;
    auto it = std::find_if(items.begin(), items.end(),
                           [&](const auto& item) { return item->Caption() == caption; });
    if (it == items.end()) vbrt::Raise(vbrt::err::InvalidCall);
    return *it;
}

std::shared_ptr<CommandBarControl> CommandBarControls::Item(int index) const {
    if (index < 1 || index > Count()) vbrt::Raise(vbrt::err::InvalidCall);
    return bar_.items_[static_cast<std::size_t>(index - 1)];
}

int CommandBarControls::Count() const {
    return static_cast<int>(bar_.items_.size());
}

CommandBar::CommandBar(std::string name) : name_(std::move(name)) {}

std::shared_ptr<CommandBarControl> CommandBar::AddHostItem(const std::string& caption,
                                                           const std::string& action, bool beginGroup) {
    auto control = std::make_shared<CommandBarControl>(this, msoControlButton, action);
    control->caption_ = caption;
    control->beginGroup_ = beginGroup;
    items_.push_back(control);
    Changed();
    return control;
}

void CommandBar::Changed() {
    auto listeners = listeners_;
    for (auto& listener : listeners) listener();
}

void CommandBar::Remove(const CommandBarControl* control) {
    std::erase_if(items_, [control](const auto& item) { return item.get() == control; });
}

CommandBar& CommandBars::Item(const std::string& name) {
    CommandBar* bar = Find(name);
    if (!bar) vbrt::Raise(vbrt::err::InvalidCall);
    return *bar;
}

CommandBar* CommandBars::Find(const std::string& name) {
    auto it = std::find_if(bars_.begin(), bars_.end(), [&](const auto& bar) { return bar->Name() == name; });
    return it == bars_.end() ? nullptr : it->get();
}

CommandBar& CommandBars::AddBar(const std::string& name) {
    bars_.push_back(std::make_unique<CommandBar>(name));
    return *bars_.back();
}

void CommandBarEvents::RaiseClick(CommandBarControl& control, bool& handled, bool& cancelDefault) {
    if (handler_) handler_(control, handled, cancelDefault);
}

std::shared_ptr<CommandBarEvents> Events::CommandBarEvents(CommandBarControl& control) {
    auto source = std::make_shared<host::CommandBarEvents>();
    std::erase_if(control.sources_, [](const auto& weak) { return weak.expired(); });
    control.sources_.push_back(source);
    return source;
}

}  // namespace host
