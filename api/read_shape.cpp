#include "slitform/read_shape.h"

#include "api/shape_conversion.h"
#include "io/read_shape.h"
#include "slitform/error.h"

namespace slitform {

Shape ReadShape(const std::string& path) {
    BezierShape bezier;
    std::string error;
    if (!::ReadShape(path, bezier, error))
        throw Error(ErrorCode::UnreadableFile, error);
    return FromBezierShape(bezier);
}

}  // namespace slitform
