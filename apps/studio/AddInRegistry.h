#pragma once
// The Studio's list of add-ins: each known by its progId with a factory; the
// registry creates an add-in object when it connects it and drops it after
// disconnecting it, calling the four IDTExtensibility operations as a host does.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "host/AddIn.h"

namespace studio {

using AddInFactory = std::function<std::unique_ptr<host::IDTExtensibility>()>;

class AddInRegistry {
public:
    explicit AddInRegistry(host::VBE& vbe) : vbe_(vbe) {}
    ~AddInRegistry();
    AddInRegistry(const AddInRegistry&) = delete;
    AddInRegistry& operator=(const AddInRegistry&) = delete;

    void Register(std::string progId, std::string description, AddInFactory factory);
    int Count() const { return static_cast<int>(entries_.size()); }
    const host::AddIn& Record(int index) const {
        return entries_.at(static_cast<std::size_t>(index))->record;
    }
    int Find(const std::string& progId) const;  // -1 when unknown
    host::IDTExtensibility* Instance(int index) const;

    // Connects (creating the object) unless connected already.
    void Connect(int index, host::ext_ConnectMode mode);
    // Disconnects and drops the object unless not connected.
    void Disconnect(int index, host::ext_DisconnectMode mode);
    // Start-up: every add-in with ext_cm_Startup, then OnStartupComplete to each.
    void ConnectAllAtStartup();
    void DisconnectAll(host::ext_DisconnectMode mode);
    // Tells every connected add-in that the list of connected add-ins changed.
    void NotifyAddInsUpdate();

private:
    struct Entry {
        host::AddIn record;
        AddInFactory factory;
        std::unique_ptr<host::IDTExtensibility> instance;
    };
    host::VBE& vbe_;
    std::vector<std::unique_ptr<Entry>> entries_;
};

}  // namespace studio
