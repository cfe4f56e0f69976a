#include "qt/QtSettingsStore.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <map>
#include <utility>

#include "vbrt/VbError.h"

namespace pvqt {
namespace {

QString ConfigFolder() {
    // XDG_CONFIG_HOME is read at every call: tests and users may point it elsewhere.
    const QByteArray xdg = qgetenv("XDG_CONFIG_HOME");
    if (!xdg.isEmpty()) return QString::fromLocal8Bit(xdg);
    return QDir::homePath() + "/.config";
}

// QSettings parses a file once per process and tells only the instance that
// parsed it of a failure, so a file found unparsable is remembered as such
// until it changes on disk.
using Stamp = std::pair<qint64, QDateTime>;
std::map<QString, Stamp>& KnownUnparsable() {
    static std::map<QString, Stamp> known;
    return known;
}

Stamp StampOf(const QString& path) {
    const QFileInfo file(path);
    return {file.size(), file.lastModified()};
}

void NoteParse(QSettings& settings, const QString& path) {
    settings.childGroups();  // parses the file, if this is the first look at it
    if (settings.status() == QSettings::FormatError) KnownUnparsable()[path] = StampOf(path);
}

bool Unparsable(const QString& path) {
    QSettings settings(path, QSettings::IniFormat);
    NoteParse(settings, path);
    const auto it = KnownUnparsable().find(path);
    return it != KnownUnparsable().end() && it->second == StampOf(path);
}

QString Latin1(const std::string& s) {
    return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}

// What QSettings would read as an empty file is no file of settings: the user's values
// would silently give way to defaults.
void CheckReadable(const QString& path) {
    const QFileInfo file(path);
    if (file.exists() && (!file.isFile() || !file.isReadable()))
        vbrt::Raise(vbrt::err::PathFileAccess, "Path/File access error: cannot read " + path.toStdString());
    if (Unparsable(path))
        vbrt::Raise(vbrt::err::PathFileAccess,
                    "Path/File access error: " + path.toStdString() + " is not a settings file");
}

}  // namespace

QtSettingsStore::QtSettingsStore(QString folder) : folder_(std::move(folder)) {}

QString QtSettingsStore::FilePath(const std::string& app) const {
    const QString base = folder_.isEmpty() ? ConfigFolder() : folder_;
    return base + "/Procvault/" + Latin1(app) + ".ini";
}

std::optional<std::string> QtSettingsStore::Read(const std::string& app, const std::string& section,
                                                 const std::string& key) {
    CheckReadable(FilePath(app));
    QSettings settings(FilePath(app), QSettings::IniFormat);
    const QString name = Latin1(section) + "/" + Latin1(key);
    if (!settings.contains(name)) return std::nullopt;
    return settings.value(name).toString().toLatin1().toStdString();
}

void QtSettingsStore::Write(const std::string& app, const std::string& section, const std::string& key,
                            const std::string& value) {
    QSettings settings(FilePath(app), QSettings::IniFormat);
    // Writing would rewrite the file from what parsed and lose the rest of it.
    if (Unparsable(FilePath(app)))
        vbrt::Raise(vbrt::err::PathFileAccess, "Path/File access error: " + FilePath(app).toStdString() +
                                                   " is not a settings file; it was left as it is");
    settings.setValue(Latin1(section) + "/" + Latin1(key), Latin1(value));
    settings.sync();
    if (settings.status() != QSettings::NoError)
        vbrt::Raise(vbrt::err::PathFileAccess,
                    "Path/File access error: cannot write " + FilePath(app).toStdString());
}

}  // namespace pvqt
