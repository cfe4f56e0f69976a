#pragma once
// The real settings store: QSettings in INI format in the user's config folder
// ($XDG_CONFIG_HOME/Procvault/<application>.ini), one group per section. Every
// call opens the file afresh, so a change made by another process is seen at
// the next read. Values are stored as given (Windows-1252 bytes as Latin-1 text).
#include <QString>

#include "vbrt/SettingsStore.h"

namespace pvqt {

class QtSettingsStore final : public vbrt::SettingsStore {
public:
    // `folder` overrides the config folder (tests); empty means the user's.
    explicit QtSettingsStore(QString folder = {});
    std::optional<std::string> Read(const std::string& app, const std::string& section,
                                    const std::string& key) override;
    void Write(const std::string& app, const std::string& section, const std::string& key,
               const std::string& value) override;
    QString FilePath(const std::string& app) const;

private:
    QString folder_;
};

}  // namespace pvqt
