#include "plugin/dump_triangulation_input.h"

#include <QDataStream>
#include <QFile>
#include <QTextStream>
#include <cstddef>
#include <string>

#include "windows_path.h"

namespace {

void WriteRaw(QDataStream& out, const void* data, int count, int bytesEach) {
    if (data == nullptr || count <= 0)
        return;
    out.writeRawData(static_cast<const char*>(data), count * bytesEach);
}

void WriteBinary(QFile& file, const triangulateio& r) {
    QDataStream out(&file);
    int points = r.numberofpoints;
    int attributes = r.numberofpointattributes;
    out << static_cast<qint32>(points);
    WriteRaw(out, r.pointlist, points, 2 * sizeof(REAL));
    out << static_cast<qint32>(attributes);
    WriteRaw(out, r.pointattributelist, points, attributes * static_cast<int>(sizeof(REAL)));
    out << static_cast<qint32>(r.numberoftriangles);
    WriteRaw(out, r.trianglelist, r.numberoftriangles, 3 * sizeof(int));
    out << static_cast<qint32>(r.numberofsegments);
    WriteRaw(out, r.segmentlist, r.numberofsegments, 2 * sizeof(int));
}

void WriteText(QFile& file, const triangulateio& r) {
    QTextStream out(&file);
    out.setRealNumberPrecision(6);
    out.setRealNumberNotation(QTextStream::FixedNotation);
    int attributes = r.numberofpointattributes;
    out << "num verts: " << r.numberofpoints << "\n";
    for (int i = 0; i < r.numberofpoints && r.pointlist != nullptr; ++i) {
        double depth = attributes > 0 && r.pointattributelist != nullptr
                           ? r.pointattributelist[static_cast<size_t>(attributes) * i]
                           : 0.0;
        out << "point pos:[" << r.pointlist[2 * i] << ", " << r.pointlist[2 * i + 1] << ", "
            << depth << "] name:\"p" << i << "\"\n";
    }
    out << "num trees: " << r.numberoftriangles << "\n";
    for (int i = 0; i < r.numberoftriangles && r.trianglelist != nullptr; ++i) {
        out << i << ": " << r.trianglelist[3 * i] << " " << r.trianglelist[3 * i + 1] << " "
            << r.trianglelist[3 * i + 2] << "\n";
    }
    out << "num segments: " << r.numberofsegments << "\n";
    for (int i = 0; i < r.numberofsegments && r.segmentlist != nullptr; ++i) {
        out << i << ": " << r.segmentlist[2 * i] << " " << r.segmentlist[2 * i + 1] << "\n";
    }
}

}  // namespace

bool DumpTriangulationInput(const QString& path, const triangulateio& record, bool binary) {
    std::string local;
    if (!TranslateWindowsPath(path.toStdString(), local))
        return false;
    QFile file(QString::fromStdString(local));
    QIODevice::OpenMode mode = QIODevice::WriteOnly | QIODevice::Truncate;
    if (!binary)
        mode |= QIODevice::Text;
    if (!file.open(mode))
        return false;
    if (binary)
        WriteBinary(file, record);
    else
        WriteText(file, record);
    file.close();
    return true;
}
