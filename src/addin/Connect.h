#pragma once
// The add-in's connection class, pv32.Connect: keeps the host's root object in
// objVBE, installs the "&Procvault..." item on the Add-Ins menu and three items
// at the top of the code window's context menu, routes their clicks, and
// removes the items again at disconnection.
#include <memory>

#include "host/AddIn.h"
#include "host/CommandBars.h"
#include "settings/Env.h"

namespace pv {

inline constexpr const char* kProgId = "pv32.Connect";

class Connect final : public host::IDTExtensibility {
public:
    explicit Connect(Env env) : env_(env) {}

    void IDTExtensibility_OnConnection(host::VBE* application, int connectMode, host::AddIn* addInInst,
                                       host::CustomArray& custom) override;
    void IDTExtensibility_OnDisconnection(int removeMode, host::CustomArray& custom) override;
    void IDTExtensibility_OnAddInsUpdate(host::CustomArray& custom) override;
    void IDTExtensibility_OnStartupComplete(host::CustomArray& custom) override;

    // Click handlers, one per event field; their arguments are ignored.
    void mmnuProcvaultEvents_Click(host::CommandBarControl& item, bool& handled, bool& cancelDefault);
    void mmnuPopupProcvaultEvents_Click(host::CommandBarControl& item, bool& handled, bool& cancelDefault);
    void mmnuPopupCommentSelectionEvents_Click(host::CommandBarControl& item, bool& handled, bool& cancelDefault);
    void mmnuPopupUncommentSelectionEvents_Click(host::CommandBarControl& item, bool& handled,
                                                 bool& cancelDefault);

private:
    void InstallMenus(host::VBE& vbe);
    std::shared_ptr<host::CommandBarEvents> Subscribe(
        host::VBE& vbe, host::CommandBarControl& item,
        void (Connect::*handler)(host::CommandBarControl&, bool&, bool&));
    void OpenProcvault();
    void AddModule();

    Env env_;
    std::shared_ptr<host::CommandBarControl> mmnuProcvault;
    std::shared_ptr<host::CommandBarControl> mmnuPopupProcvault;
    std::shared_ptr<host::CommandBarControl> mmnuPopupCommentSelection;
    std::shared_ptr<host::CommandBarControl> mmnuPopupUncommentSelection;
    std::shared_ptr<host::CommandBarEvents> mmnuProcvaultEvents;
    std::shared_ptr<host::CommandBarEvents> mmnuPopupProcvaultEvents;
    std::shared_ptr<host::CommandBarEvents> mmnuPopupCommentSelectionEvents;
    std::shared_ptr<host::CommandBarEvents> mmnuPopupUncommentSelectionEvents;
};

}  // namespace pv
