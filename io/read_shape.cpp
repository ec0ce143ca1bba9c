#include "io/read_shape.h"

#include "io/file_bytes.h"
#include "io/json_shape_reader.h"
#include "io/svg_shape_reader.h"

bool ReadShape(const std::string& path, BezierShape& out, std::string& error,
               std::vector<std::string>* warnings) {
    std::string extension = LowerCaseExtension(path);
    if (extension != "svg" && extension != "json") {
        error = path + ": unknown shape format (the name must end in .svg or .json)";
        return false;
    }
    std::string bytes;
    if (!ReadFileBytes(path, bytes, error))
        return false;
    std::vector<Spline3D> splines;
    bool ok = extension == "svg" ? ReadSvgShape(path, bytes, splines, error, warnings)
                                 : ReadJsonShape(path, bytes, splines, error);
    if (!ok)
        return false;
    if (splines.empty()) {
        error = path + ": the shape has no points (nothing in it draws a line)";
        return false;
    }
    out.splines.swap(splines);
    return true;
}
