// What the window remembers between runs, through QSettings: the folder of the
// last file opened or saved, where the file dialogs then open, and the files
// opened most recently.
#pragma once

#include <QString>
#include <QStringList>

class StudioSettings {
public:
    // The folder of the last file, or the home folder before any.
    QString LastFolder() const;
    // A file opened: its folder becomes the last one and it heads the recent files.
    void FileOpened(const QString& path);
    // A file saved: its folder becomes the last one.
    void FileSaved(const QString& path);
    // Newest first, at most kMaxRecent.
    QStringList RecentFiles() const;

    static constexpr int kMaxRecent = 8;
};

// Whether the file is a shape (SVG, JSON) by its extension; every other file is
// taken for a mesh.
bool IsShapeFile(const QString& path);
// Whether the file is one the window opens, by its extension.
bool IsOpenableFile(const QString& path);
