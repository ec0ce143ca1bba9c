#include "app/studio/studio_settings.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace {

const char* kLastFolder = "files/lastFolder";
const char* kRecent = "files/recent";

QSettings Store() {
    return QSettings(QStringLiteral("Slitform"), QStringLiteral("slitform-studio"));
}

void RememberFolder(const QString& path) {
    Store().setValue(kLastFolder, QFileInfo(path).absolutePath());
}

}  // namespace

QString StudioSettings::LastFolder() const {
    QString folder = Store().value(kLastFolder).toString();
    return !folder.isEmpty() && QDir(folder).exists() ? folder : QDir::homePath();
}

void StudioSettings::FileOpened(const QString& path) {
    RememberFolder(path);
    QString absolute = QFileInfo(path).absoluteFilePath();
    QStringList recent = RecentFiles();
    recent.removeAll(absolute);
    recent.prepend(absolute);
    while (recent.size() > kMaxRecent) recent.removeLast();
    Store().setValue(kRecent, recent);
}

void StudioSettings::FileSaved(const QString& path) {
    RememberFolder(path);
}

QStringList StudioSettings::RecentFiles() const {
    return Store().value(kRecent).toStringList();
}

bool IsShapeFile(const QString& path) {
    QString suffix = QFileInfo(path).suffix().toLower();
    return suffix == "svg" || suffix == "json";
}

bool IsOpenableFile(const QString& path) {
    static const QStringList meshes = {"ply", "obj", "gltf", "glb", "stl", "off", "3mf", "fbx"};
    return IsShapeFile(path) || meshes.contains(QFileInfo(path).suffix().toLower());
}
