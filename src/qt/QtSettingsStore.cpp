#include "qt/QtSettingsStore.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>

#include "vbrt/VbError.h"

namespace pvqt {
namespace {

QString ConfigFolder() {
    // XDG_CONFIG_HOME is read at every call: tests and users may point it elsewhere.
    const QByteArray xdg = qgetenv("XDG_CONFIG_HOME");
    if (!xdg.isEmpty()) return QString::fromLocal8Bit(xdg);
    return QDir::homePath() + "/.config";
}

QString Latin1(const std::string& s) { return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size())); }

}  // namespace

QtSettingsStore::QtSettingsStore(QString folder) : folder_(std::move(folder)) {}

QString QtSettingsStore::FilePath(const std::string& app) const {
    const QString base = folder_.isEmpty() ? ConfigFolder() : folder_;
    return base + "/Procvault/" + Latin1(app) + ".ini";
}

std::optional<std::string> QtSettingsStore::Read(const std::string& app, const std::string& section,
                                                 const std::string& key) {
    QSettings settings(FilePath(app), QSettings::IniFormat);
    const QString name = Latin1(section) + "/" + Latin1(key);
    if (!settings.contains(name)) return std::nullopt;
    return settings.value(name).toString().toLatin1().toStdString();
}

void QtSettingsStore::Write(const std::string& app, const std::string& section, const std::string& key,
                            const std::string& value) {
    QSettings settings(FilePath(app), QSettings::IniFormat);
    // Writing would rewrite the file from what parsed and lose the rest of it;
    // the file is parsed on first use, hence the look at its groups.
    settings.childGroups();
    if (settings.status() == QSettings::FormatError)
        vbrt::Raise(vbrt::err::PathFileAccess, "Path/File access error: " + FilePath(app).toStdString() +
                                                   " is not a settings file; it was left as it is");
    settings.setValue(Latin1(section) + "/" + Latin1(key), Latin1(value));
    settings.sync();
    if (settings.status() != QSettings::NoError)
        vbrt::Raise(vbrt::err::PathFileAccess, "Path/File access error: cannot write " +
                                                   FilePath(app).toStdString());
}

}  // namespace pvqt
