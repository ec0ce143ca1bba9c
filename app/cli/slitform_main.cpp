// slitform: cut a mesh along the lines of a shape with the Slitform plug-in, from
// the command line. slitform --help lists the commands.
#include <sys/stat.h>

#include <QGuiApplication>
#include <cerrno>
#include <cstring>
#include <iostream>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "app/cli/cli_options.h"
#include "app/cli/plugin_info.h"
#include "app/cli/run_cut.h"
#include "io/atomic_write.h"
#include "io/file_bytes.h"
#include "io/read_mesh.h"
#include "io/read_shape.h"
#include "io/text_shape.h"
#include "io/write_mesh.h"
#include "session/demo_scene.h"

namespace {

// Qt's own notes (a runtime folder it made up, fonts it looked for) are not the
// program's output; only its critical messages are passed on, on one line of ours.
void QtMessage(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::cerr << "slitform: Qt: " << message.simplified().toStdString() << "\n";
}

int Fail(const std::string& message, int code) {
    std::cerr << "slitform: " << message << "\n";
    return code;
}

// What the program is doing, for the message when memory runs out.
std::string doing = "starting";

// Refuses outputs that cannot be written before the inputs are read and cut.
bool CheckOutputs(const CliOptions& o, std::string& error) {
    return CheckMeshPath(o.outPath, error) &&
           (o.reportPath.empty() || o.reportPath == "-" ||
            CheckWritablePath(o.reportPath, error)) &&
           (o.picturePath.empty() || CheckWritablePath(o.picturePath, error));
}

int Info(const CliOptions& o) {
    PluginLibrary lib;
    std::string error;
    if (!lib.Load(o.pluginPath.empty() ? DefaultPluginPath() : o.pluginPath, error))
        return Fail(error, 1);
    PrintPluginInfo(lib, std::cout);
    return 0;
}

int Demo(CliOptions o) {
    if (mkdir(o.outDir.c_str(), 0777) != 0 && errno != EEXIST)
        return Fail(o.outDir + ": cannot create the folder: " + std::strerror(errno), 1);
    o.outPath = o.outDir + "/result.ply";
    o.reportPath = o.outDir + "/report.json";
    o.picturePath = o.outDir + "/picture.svg";
    // Cut a star-shaped hole into the top of a rounded box, welded to the faces
    // around it so that the box stays in one piece.
    o.sets.insert(o.sets.begin(), {"weld_on", "on"});
    o.sets.insert(o.sets.begin(), {"open", "on"});
    o.meshPath = "demo: rounded box";
    o.shapePath = "demo: star";
    std::string error;
    if (!CheckOutputs(o, error))
        return Fail(error, 1);
    doing = "cutting the demo";
    int code =
        RunCut(o, std::unique_ptr<PolyObject>(MakeRoundedBox(Point3(4.0f, 4.0f, 1.5f), 0.3f, 24)),
               MeshAttributes(), std::unique_ptr<SplineShape>(MakeStar(5, 1.0f, 0.42f)), std::cout,
               std::cerr, error);
    if (code != 0)
        return Fail(error, code);
    std::cout << "wrote " << o.outPath << ", " << o.reportPath << " and " << o.picturePath << "\n";
    return 0;
}

int Cut(const CliOptions& o) {
    std::string error;
    if (!CheckOutputs(o, error))
        return Fail(error, 1);
    std::vector<std::string> warnings;
    doing = "reading " + o.meshPath;
    auto object = std::make_unique<PolyObject>();
    MeshAttributes attributes;
    if (!ReadMesh(o.meshPath, object->mm, error, &warnings, &attributes))
        return Fail(error, 1);
    for (const std::string& w : warnings) std::cerr << "slitform: warning: " << w << "\n";
    bool hasFace = false;
    for (int f = 0; f < object->mm.numf && !hasFace; ++f)
        hasFace = !object->mm.f[f].GetFlag(MN_DEAD);
    if (!hasFace)
        return Fail(o.meshPath + ": the mesh has no faces", 1);
    doing = "reading " + o.shapePath;
    auto shape = std::make_unique<SplineShape>();
    std::vector<std::string> shapeWarnings;
    // Qt's font engine, for lettering and SVG text, needs a GUI application; it
    // runs offscreen, without a display.
    std::unique_ptr<QGuiApplication> fonts;
    std::string shapeBytes, ignored;
    if (!o.text.empty() || (LowerCaseExtension(o.shapePath) == "svg" &&
                            ReadFileBytes(o.shapePath, shapeBytes, ignored) &&
                            shapeBytes.find("text") != std::string::npos)) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "slitform";
        static char* argv[] = {name, nullptr};
        qInstallMessageHandler(&QtMessage);
        fonts = std::make_unique<QGuiApplication>(argc, argv);
    }
    if (!o.text.empty()) {
        if (!TextShape(o.text, o.font, shape->shape.splines, error))
            return Fail("--text: " + error, 1);
    } else if (!ReadShape(o.shapePath, shape->shape, error, &shapeWarnings)) {
        return Fail(error, 1);
    }
    for (const std::string& w : shapeWarnings) std::cerr << "slitform: warning: " << w << "\n";
    bool hasKnot = false;
    for (const Spline3D& s : shape->shape.splines) hasKnot = hasKnot || s.KnotCount() > 0;
    if (!hasKnot)
        return Fail(o.shapePath + ": the shape has no points", 1);
    doing = "cutting " + o.meshPath + " along " + o.shapePath;
    int code =
        RunCut(o, std::move(object), attributes, std::move(shape), std::cout, std::cerr, error);
    return code == 0 ? 0 : Fail(error, code);
}

int Run(int argc, char** argv) {
    CliOptions options;
    std::string error;
    switch (ParseCommandLine(argc, argv, options, std::cout, error)) {
        case ParseResult::Answered:
            return 0;
        case ParseResult::UsageError:
            std::cerr << "slitform: " << error
                      << "\nusage: slitform demo|cut|info [OPTIONS]; slitform COMMAND --help "
                         "says more\n";
            return 2;
        case ParseResult::Run:
            break;
    }
    if (options.command == "info")
        return Info(options);
    if (options.command == "demo")
        return Demo(options);
    return Cut(options);
}

}  // namespace

// Outputs are written whole or not at all, so running out of memory leaves them
// as they were.
int main(int argc, char** argv) {
    try {
        return Run(argc, argv);
    } catch (const std::bad_alloc&) {
        std::cerr << "slitform: out of memory while " << doing << "\n";
        return 1;
    }
}
