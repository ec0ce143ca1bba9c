// Small input files for the window's tests, written to a temporary folder.
#pragma once

#include <QFile>
#include <QString>
#include <QTemporaryDir>

// A flat grid of n by n unit quads in the xy plane, facing +z, as OBJ text.
inline QByteArray GridObj(int n) {
    QByteArray text;
    for (int j = 0; j <= n; ++j)
        for (int i = 0; i <= n; ++i)
            text += "v " + QByteArray::number(i) + " " + QByteArray::number(j) + " 0\n";
    for (int j = 0; j < n; ++j)
        for (int i = 0; i < n; ++i) {
            int a = j * (n + 1) + i + 1;
            text += "f " + QByteArray::number(a) + " " + QByteArray::number(a + 1) + " " +
                    QByteArray::number(a + n + 2) + " " + QByteArray::number(a + n + 1) + "\n";
        }
    return text;
}

// A square drawn as an SVG path.
inline QByteArray SquareSvg() {
    return "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"100\" height=\"100\">"
           "<path d=\"M 20 20 L 80 20 L 80 80 L 20 80 Z\"/></svg>\n";
}

inline QString WriteFile(const QTemporaryDir& dir, const QString& name, const QByteArray& content) {
    QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QString();
    file.write(content);
    return path;
}
