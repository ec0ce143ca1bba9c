#include "app/cli/cli_options.h"

#include <CLI/CLI.hpp>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <ostream>

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

// The raw text of the options that need checks of their own.
struct RawOptions {
    std::vector<std::string> sets;
    std::string steps;
    std::vector<std::pair<std::string, std::string>> transforms;  // option, value
};

// Adds --NODE-translate, -rotate, -scale and -matrix with what each does.
void AddTransformOptions(CLI::App* command, const std::string& node,
                         const std::vector<std::string>& about, RawOptions& raw) {
    const std::pair<const char*, const char*> kinds[] = {
        {"translate", "X,Y,Z"}, {"rotate", "X,Y,Z"}, {"scale", "S"}, {"matrix", "M11,...,M43"}};
    for (size_t i = 0; i < 4; ++i) {
        std::string option = "--" + node + "-" + kinds[i].first;
        command
            ->add_option_function<std::string>(
                option,
                [&raw, option](const std::string& v) { raw.transforms.emplace_back(option, v); },
                about[i])
            ->type_name(kinds[i].second);
    }
}

// The options of a cut, which the demo takes too.
void AddCutOptions(CLI::App* command, CliOptions& o, RawOptions& raw) {
    command->add_option("--set", raw.sets, "a parameter of the modifier (slitform info lists them)")
        ->type_name("NAME=VALUE")
        ->allow_extra_args(false);
    command
        ->add_option("--steps", raw.steps,
                     "interpolation steps between knots (0 to 100, default 6)")
        ->type_name("N");
    command->add_flag("--no-optimize", "keep the steps on straight segments too")
        ->each([&o](const std::string&) { o.optimize = false; });
    command->add_option("--report", o.reportPath, "write a JSON report there (- for stdout)")
        ->type_name("FILE");
    command->add_option("--picture", o.picturePath, "write an SVG picture of the cut there")
        ->type_name("FILE");
    command->add_option("--plugin", o.pluginPath, "load this Slitform.dlm instead")
        ->type_name("FILE");
    AddTransformOptions(command, "object",
                        {"moves the mesh", "rotates the mesh (degrees about x, y, z)",
                         "scales the mesh", "places the mesh (12 numbers, row after row)"},
                        raw);
    AddTransformOptions(command, "shape",
                        {"moves the fitted shape from where the fit put it",
                         "rotates the fitted shape about its centre (degrees about x, y, z)",
                         "scales the fitted shape about its centre",
                         "places the shape as given (12 numbers, row after row), without the fit"},
                        raw);
}

bool CheckRawOptions(const RawOptions& raw, CliOptions& o, std::string& error) {
    if (o.command == "cut" && o.shapePath.empty() && o.text.empty()) {
        error = "cut needs a SHAPE file or --text";
        return false;
    }
    for (const std::string& v : raw.sets) {
        size_t eq = v.find('=');
        if (eq == std::string::npos || eq == 0) {
            error = "--set needs NAME=VALUE, not '" + v + "'";
            return false;
        }
        o.sets.emplace_back(v.substr(0, eq), v.substr(eq + 1));
    }
    if (!raw.steps.empty() && (!ParseInt(raw.steps, o.steps) || o.steps < 0 || o.steps > 100)) {
        error = "bad value '" + raw.steps + "' for --steps (a whole number from 0 to 100)";
        return false;
    }
    for (const auto& [option, value] : raw.transforms) {
        bool isObject = option.rfind("--object-", 0) == 0;
        if (!TransformOption(option, option.substr(isObject ? 9 : 8), value,
                             isObject ? o.object : o.shape, error))
            return false;
    }
    return true;
}

}  // namespace

ParseResult ParseCommandLine(int argc, char** argv, CliOptions& o, std::ostream& out,
                             std::string& error) {
    if (argc < 2) {
        error = "no command given";
        return ParseResult::UsageError;
    }
    CLI::App app("Cuts a polygon mesh along the lines of a 2D shape with the Slitform plug-in.",
                 "slitform");
    app.set_version_flag("--version", "slitform " SLITFORM_VERSION);
    app.require_subcommand(1);
    app.footer(
        "Exit codes: 0 done, 1 an input or output failed, 2 the command line is wrong.\n"
        "slitform COMMAND --help says more about each command.");
    RawOptions raw;

    CLI::App* demo = app.add_subcommand(
        "demo",
        "Cuts a star-shaped hole into a rounded box; writes result.ply, report.json and "
        "picture.svg into a folder");
    demo->add_option("-o,--out", o.outDir, "the folder (default slitform-demo)")->type_name("DIR");
    AddCutOptions(demo, o, raw);

    CLI::App* cut = app.add_subcommand(
        "cut", "Cuts MESH along the lines of SHAPE and writes the result to OUT");
    cut->add_option("MESH", o.meshPath,
                    "the mesh: .ply, .obj, .gltf, .glb, .stl, .off, .3mf or .fbx")
        ->required();
    CLI::Option* shapeFile = cut->add_option("SHAPE", o.shapePath, "the shape: .svg or .json");
    CLI::Option* text =
        cut->add_option("--text", o.text, "the shape: this text's outlines, instead of SHAPE")
            ->excludes(shapeFile);
    cut->add_option("--font", o.font, "the font family of --text (default DejaVu Sans)")
        ->needs(text);
    cut->add_option("-o,--out", o.outPath,
                    "the result: .ply (keeps every flag), .obj, .gltf, .glb, .stl, .off or .3mf")
        ->type_name("OUT")
        ->required();
    cut->add_flag("--cut-lines", o.cutLines,
                  "OBJ: add the cut lines as line elements in group slitform_cut_lines");
    CLI::Option* binary =
        cut->add_flag("--binary", o.plyBinary, "PLY: write binary (the default from 100000 faces)");
    cut->add_flag("--ascii", o.plyAscii, "PLY: write text, however large")->excludes(binary);
    cut->add_option("--up", o.up,
                    "the mesh's up axis, for the fit: y or z (default y for .gltf and .glb, "
                    "z for the rest)")
        ->check(CLI::IsMember({"y", "z"}))
        ->type_name("AXIS");
    AddCutOptions(cut, o, raw);
    cut->footer(
        "Without a shape transform the shape is centred over the mesh, scaled to 80% of its\n"
        "footprint and laid flat above its top (see --up). --shape-rotate and --shape-scale apply "
        "about the\n"
        "fitted shape's centre, --shape-translate moves it from there; --shape-matrix places\n"
        "it as given, ignoring the fit. --object-* place the mesh.");

    CLI::App* info = app.add_subcommand(
        "info", "Lists the plug-in's parameters: what each does, its default and range");
    info->add_option("--plugin", o.pluginPath, "load this Slitform.dlm instead")->type_name("FILE");

    std::string first = argv[1];
    if (first[0] != '-' && first != "demo" && first != "cut" && first != "info") {
        error = "unknown command '" + first + "'";
        return ParseResult::UsageError;
    }
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        out << app.help();
        return ParseResult::Answered;
    } catch (const CLI::CallForAllHelp&) {
        out << app.help("", CLI::AppFormatMode::All);
        return ParseResult::Answered;
    } catch (const CLI::CallForVersion& e) {
        out << e.what() << "\n";
        return ParseResult::Answered;
    } catch (const CLI::ParseError& e) {
        error = e.what();
        return ParseResult::UsageError;
    }
    o.command = app.get_subcommands().front()->get_name();
    return CheckRawOptions(raw, o, error) ? ParseResult::Run : ParseResult::UsageError;
}
