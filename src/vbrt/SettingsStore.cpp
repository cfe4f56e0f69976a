#include "vbrt/SettingsStore.h"

namespace vbrt {

std::string GetSetting(SettingsStore& store, const std::string& app, const std::string& section,
                       const std::string& key, const std::string& defaultValue) {
    auto value = store.Read(app, section, key);
    return value ? *value : defaultValue;
}

void SaveSetting(SettingsStore& store, const std::string& app, const std::string& section,
                 const std::string& key, const std::string& value) {
    store.Write(app, section, key, value);
}

std::optional<std::string> MemorySettingsStore::Read(const std::string& app, const std::string& section,
                                                     const std::string& key) {
    auto it = values_.find({app, section, key});
    if (it == values_.end()) return std::nullopt;
    return it->second;
}

void MemorySettingsStore::Write(const std::string& app, const std::string& section, const std::string& key,
                                const std::string& value) {
    values_[{app, section, key}] = value;
    ++writes_;
}

std::optional<std::string> ReadOnlySettingsView::Read(const std::string& app, const std::string& section,
                                                      const std::string& key) {
    if (auto value = written_.Read(app, section, key)) return value;
    return base_.Read(app, section, key);
}

void ReadOnlySettingsView::Write(const std::string& app, const std::string& section, const std::string& key,
                                 const std::string& value) {
    written_.Write(app, section, key, value);
}

}  // namespace vbrt
