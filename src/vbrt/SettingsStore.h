#pragma once
// The per-user settings store behind GetSetting/SaveSetting: a persistent map
// from (application, section, key) to text. Implementations read fresh on every
// call, so a change made by another process is seen at the next read.
#include <map>
#include <optional>
#include <string>
#include <tuple>

namespace vbrt {

class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    // The stored text, or nothing when the key was never written.
    virtual std::optional<std::string> Read(const std::string& app, const std::string& section,
                                            const std::string& key) = 0;
    virtual void Write(const std::string& app, const std::string& section, const std::string& key,
                       const std::string& value) = 0;
};

std::string GetSetting(SettingsStore& store, const std::string& app, const std::string& section,
                       const std::string& key, const std::string& defaultValue = {});
void SaveSetting(SettingsStore& store, const std::string& app, const std::string& section,
                 const std::string& key, const std::string& value);

// For tests and for a CLI run with --no-settings: lives as long as the object.
class MemorySettingsStore final : public SettingsStore {
public:
    std::optional<std::string> Read(const std::string& app, const std::string& section,
                                    const std::string& key) override;
    void Write(const std::string& app, const std::string& section, const std::string& key,
               const std::string& value) override;
    // Every write in order, so tests can check what was written and when.
    const std::map<std::tuple<std::string, std::string, std::string>, std::string>& Values() const {
        return values_;
    }
    int WriteCount() const { return writes_; }

private:
    std::map<std::tuple<std::string, std::string, std::string>, std::string> values_;
    int writes_ = 0;
};

// The store as a command that only reads sees it: reads go to `base`, and what
// the dialogs it opens initialise stays here, so the user's file is never written.
class ReadOnlySettingsView final : public SettingsStore {
public:
    explicit ReadOnlySettingsView(SettingsStore& base) : base_(base) {}
    std::optional<std::string> Read(const std::string& app, const std::string& section,
                                    const std::string& key) override;
    void Write(const std::string& app, const std::string& section, const std::string& key,
               const std::string& value) override;

private:
    SettingsStore& base_;
    MemorySettingsStore written_;
};

}  // namespace vbrt
