#pragma once
// The host's menu bars as the add-in sees them: named bars holding button items.
// Front ends draw their menus from this model; an item's Execute() raises the
// Click event of every live CommandBarEvents source obtained for it.
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace host {

class CommandBar;
class CommandBarEvents;

inline constexpr int msoControlButton = 1;

class CommandBarControl : public std::enable_shared_from_this<CommandBarControl> {
public:
    CommandBarControl(CommandBar* bar, int type, std::string hostAction);

    const std::string& Caption() const { return caption_; }
    void SetCaption(std::string caption);
    bool BeginGroup() const { return beginGroup_; }
    void SetBeginGroup(bool value);
    int Type() const { return type_; }
    // Removes the item from its bar. Raises error 5 when it was deleted already.
    void Delete();
    // Runs the item as a click does: raises Click on its event sources.
    void Execute();

    bool IsDeleted() const { return bar_ == nullptr; }
    // Non-empty for the host's own items ("cut", "copy"...): what the front end does.
    const std::string& HostAction() const { return hostAction_; }

private:
    friend class CommandBarEvents;
    friend class CommandBar;
    friend class Events;
    CommandBar* bar_;
    int type_;
    std::string caption_;
    bool beginGroup_ = false;
    std::string hostAction_;
    std::vector<std::weak_ptr<CommandBarEvents>> sources_;
};

class CommandBarControls {
public:
    explicit CommandBarControls(CommandBar& bar) : bar_(bar) {}
    // Adds a button item, appended, or before the 1-based position `before`.
    std::shared_ptr<CommandBarControl> Add(int type = msoControlButton, int before = 0);
    // The first item with this caption; raises error 5 when there is none.
    std::shared_ptr<CommandBarControl> Item(const std::string& caption) const;
    std::shared_ptr<CommandBarControl> Item(int index) const;  // 1-based
    int Count() const;

private:
    CommandBar& bar_;
};

class CommandBar {
public:
    explicit CommandBar(std::string name);
    const std::string& Name() const { return name_; }
    CommandBarControls& Controls() { return controls_; }
    const std::vector<std::shared_ptr<CommandBarControl>>& Items() const { return items_; }

    // Host set-up: an item the host itself offers.
    std::shared_ptr<CommandBarControl> AddHostItem(const std::string& caption, const std::string& action,
                                                   bool beginGroup = false);
    // Called on every structural or caption change, so a front end can rebuild its menu.
    void OnChanged(std::function<void()> listener) { listeners_.push_back(std::move(listener)); }

private:
    friend class CommandBarControls;
    friend class CommandBarControl;
    void Changed();
    void Remove(const CommandBarControl* control);

    std::string name_;
    CommandBarControls controls_{*this};
    std::vector<std::shared_ptr<CommandBarControl>> items_;
    std::vector<std::function<void()>> listeners_;
};

class CommandBars {
public:
    // The bar of this name; raises error 5 when the host has none.
    CommandBar& Item(const std::string& name);
    CommandBar* Find(const std::string& name);
    CommandBar& AddBar(const std::string& name);
    int Count() const { return static_cast<int>(bars_.size()); }

private:
    std::vector<std::unique_ptr<CommandBar>> bars_;
};

// Click source for one menu item. The add-in keeps it alive for as long as it
// wants the clicks; the handler gets the item and the handled and cancel flags.
class CommandBarEvents {
public:
    using ClickHandler = std::function<void(CommandBarControl&, bool& handled, bool& cancelDefault)>;
    void OnClick(ClickHandler handler) { handler_ = std::move(handler); }
    void RaiseClick(CommandBarControl& control, bool& handled, bool& cancelDefault);

private:
    ClickHandler handler_;
};

class Events {
public:
    std::shared_ptr<host::CommandBarEvents> CommandBarEvents(CommandBarControl& control);
};

}  // namespace host
