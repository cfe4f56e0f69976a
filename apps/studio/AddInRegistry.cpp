#include "AddInRegistry.h"

#include <cstdio>
#include <exception>

namespace studio {

AddInRegistry::~AddInRegistry() {
    try {
        DisconnectAll(host::ext_dm_HostShutdown);
    } catch (const std::exception& e) {
        // Shutting down: nobody is left to show it to but the terminal.
        std::fprintf(stderr, "procvault-studio: add-in failed at shutdown: %s\n", e.what());
    }
}

void AddInRegistry::Register(std::string progId, std::string description, AddInFactory factory) {
    auto entry = std::make_unique<Entry>();
    entry->record.progId = std::move(progId);
    entry->record.description = std::move(description);
    entry->factory = std::move(factory);
    entries_.push_back(std::move(entry));
}

int AddInRegistry::Find(const std::string& progId) const {
    for (int i = 0; i < Count(); ++i)
        if (entries_[static_cast<std::size_t>(i)]->record.progId == progId) return i;
    return -1;
}

host::IDTExtensibility* AddInRegistry::Instance(int index) const {
    return entries_.at(static_cast<std::size_t>(index))->instance.get();
}

void AddInRegistry::Connect(int index, host::ext_ConnectMode mode) {
    Entry& entry = *entries_.at(static_cast<std::size_t>(index));
    if (entry.instance) return;
    entry.instance = entry.factory();
    host::CustomArray custom;
    entry.record.connected = true;
    entry.instance->IDTExtensibility_OnConnection(&vbe_, mode, &entry.record, custom);
}

void AddInRegistry::Disconnect(int index, host::ext_DisconnectMode mode) {
    Entry& entry = *entries_.at(static_cast<std::size_t>(index));
    if (!entry.instance) return;
    // Dropped even if the add-in fails while disconnecting: it asked to go.
    const std::unique_ptr<host::IDTExtensibility> instance = std::move(entry.instance);
    entry.record.connected = false;
    host::CustomArray custom;
    instance->IDTExtensibility_OnDisconnection(mode, custom);
}

void AddInRegistry::ConnectAllAtStartup() {
    for (int i = 0; i < Count(); ++i) Connect(i, host::ext_cm_Startup);
    for (const auto& entry : entries_) {
        host::CustomArray custom;
        if (entry->instance) entry->instance->IDTExtensibility_OnStartupComplete(custom);
    }
}

void AddInRegistry::DisconnectAll(host::ext_DisconnectMode mode) {
    for (int i = 0; i < Count(); ++i) Disconnect(i, mode);
}

void AddInRegistry::NotifyAddInsUpdate() {
    for (const auto& entry : entries_) {
        host::CustomArray custom;
        if (entry->instance) entry->instance->IDTExtensibility_OnAddInsUpdate(custom);
    }
}

}  // namespace studio
