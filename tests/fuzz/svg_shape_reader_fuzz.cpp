// The SVG shape reader on arbitrary bytes.
#include <cstdint>
#include <string>
#include <vector>

#include "io/svg_shape_reader.h"
#include "reader_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = "fuzz.svg";
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    std::vector<Spline3D> splines;
    std::string error;
    const bool ok = ReadSvgShape(path, bytes, splines, error);
    CheckShapeRead(path, ok, error, splines);
    return 0;
}
