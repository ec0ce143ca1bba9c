#include "app/cli/cli_options.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace {

bool ParseFloats(const std::string& text, int count, float* out) {
    const char* p = text.c_str();
    for (int i = 0; i < count; ++i) {
        char* end = nullptr;
        errno = 0;
        double v = std::strtod(p, &end);
        if (end == p || errno == ERANGE || !std::isfinite(v))
            return false;
        out[i] = static_cast<float>(v);
        p = end;
        if (i + 1 < count) {
            if (*p != ',')
                return false;
            ++p;
        }
    }
    return *p == '\0';
}

bool ParseInt(const std::string& text, int& out) {
    char* end = nullptr;
    errno = 0;
    long v = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || errno == ERANGE || v < -2147483647L || v > 2147483647L)
        return false;
    out = static_cast<int>(v);
    return true;
}

// The determinant of the rotation and scale part of a matrix given as 12
// numbers, row after row; in double, where float products of small scales
// would underflow to 0.
double Determinant3(const float* v) {
    double a = v[0], b = v[1], c = v[2], d = v[3], e = v[4], f = v[5], g = v[6], h = v[7], i = v[8];
    return a * (e * i - f * h) - b * (d * i - f * g) + c * (d * h - e * g);
}

// Reads one transform option of a node (option is its whole name, what the
// part after --object- or --shape-); false with a message when its value is
// bad. Scales and matrices must be invertible: the placement divides by them.
bool TransformOption(const std::string& option, const std::string& what, const std::string& value,
                     NodeTransform& t, std::string& error) {
    float v[12];
    if (what == "translate" && ParseFloats(value, 3, v)) {
        t.translate = Point3(v[0], v[1], v[2]);
    } else if (what == "rotate" && ParseFloats(value, 3, v)) {
        t.rotateDegrees = Point3(v[0], v[1], v[2]);
    } else if (what == "scale" && ParseFloats(value, 1, v) && v[0] != 0.0f) {
        t.scale = v[0];
    } else if (what == "matrix" && ParseFloats(value, 12, v) && Determinant3(v) != 0.0) {
        t.matrix = Matrix3(Point3(v[0], v[1], v[2]), Point3(v[3], v[4], v[5]),
                           Point3(v[6], v[7], v[8]), Point3(v[9], v[10], v[11]));
    } else {
        error = "bad value '" + value + "' for " + option +
                (what == "matrix"  ? " (12 numbers separated by commas, an invertible matrix)"
                 : what == "scale" ? " (a non-zero number)"
                                   : " (three numbers separated by commas)");
        return false;
    }
    t.given = true;
    return true;
}

}  // namespace

Matrix3 NodeTransform::ToMatrix() const {
    if (matrix)
        return *matrix;
    const float toRadians = 3.14159265358979f / 180.0f;
    Matrix3 m = ScaleMatrix(Point3(scale, scale, scale));
    m = m * RotateXMatrix(rotateDegrees.x * toRadians);
    m = m * RotateYMatrix(rotateDegrees.y * toRadians);
    m = m * RotateZMatrix(rotateDegrees.z * toRadians);
    m = m * TransMatrix(translate);
    return m;
}

const char* UsageText() {
    return "usage:\n"
           "  slitform demo [--out DIR]\n"
           "  slitform cut MESH SHAPE -o OUT [--set NAME=VALUE ...] [--steps N] [--no-optimize]\n"
           "               [--object-translate X,Y,Z] [--object-rotate X,Y,Z] [--object-scale S]\n"
           "               [--object-matrix M11,...,M43] [--shape-translate ...] [--shape-rotate "
           "...]\n"
           "               [--shape-scale ...] [--shape-matrix ...] [--report FILE.json] "
           "[--picture FILE.svg]\n"
           "  slitform info\n"
           "MESH: .obj or .ply; SHAPE: .svg or .json; OUT: .ply or .obj.\n"
           "--plugin FILE loads another Slitform.dlm.\n";
}

bool ParseCommandLine(int argc, char** argv, CliOptions& o, std::string& error) {
    if (argc < 2) {
        error = "no command given";
        return false;
    }
    o.command = argv[1];
    if (o.command != "demo" && o.command != "cut" && o.command != "info") {
        error = "unknown command '" + o.command + "'";
        return false;
    }
    std::vector<std::string> positional;
    for (int i = 2; i < argc; ++i) {
        std::string arg = argv[i];
        auto value = [&](std::string& out) {
            if (i + 1 >= argc) {
                error = "option " + arg + " needs a value";
                return false;
            }
            out = argv[++i];
            return true;
        };
        std::string v;
        if (arg == "-o" || arg == "--out") {
            if (!value(v))
                return false;
            (o.command == "demo" ? o.outDir : o.outPath) = v;
        } else if (arg == "--set") {
            if (!value(v))
                return false;
            size_t eq = v.find('=');
            if (eq == std::string::npos || eq == 0) {
                error = "--set needs NAME=VALUE, not '" + v + "'";
                return false;
            }
            o.sets.emplace_back(v.substr(0, eq), v.substr(eq + 1));
        } else if (arg == "--steps") {
            if (!value(v))
                return false;
            if (!ParseInt(v, o.steps) || o.steps < 0 || o.steps > 100) {
                error = "bad value '" + v + "' for --steps (a whole number from 0 to 100)";
                return false;
            }
        } else if (arg == "--no-optimize") {
            o.optimize = false;
        } else if (arg == "--report") {
            if (!value(o.reportPath))
                return false;
        } else if (arg == "--picture") {
            if (!value(o.picturePath))
                return false;
        } else if (arg == "--plugin") {
            if (!value(o.pluginPath))
                return false;
        } else if (arg.rfind("--object-", 0) == 0 || arg.rfind("--shape-", 0) == 0) {
            bool isObject = arg.rfind("--object-", 0) == 0;
            std::string what = arg.substr(isObject ? 9 : 8);
            if (what != "translate" && what != "rotate" && what != "scale" && what != "matrix") {
                error = "unknown option " + arg;
                return false;
            }
            if (!value(v))
                return false;
            if (!TransformOption(arg, what, v, isObject ? o.object : o.shape, error))
                return false;
        } else if (!arg.empty() && arg[0] == '-') {
            error = "unknown option " + arg;
            return false;
        } else {
            positional.push_back(arg);
        }
    }
    if (o.command == "cut") {
        if (positional.size() != 2 || o.outPath.empty()) {
            error = "cut needs MESH SHAPE and -o OUT";
            return false;
        }
        o.meshPath = positional[0];
        o.shapePath = positional[1];
    } else if (!positional.empty()) {
        error = "unexpected argument '" + positional[0] + "'";
        return false;
    }
    return true;
}
