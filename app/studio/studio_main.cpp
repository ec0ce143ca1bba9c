// slitform-studio: the Slitform modifier in a window. Usage:
//   slitform-studio                 the demo scene (a rounded box and a star)
//   slitform-studio MESH SHAPE      opens the mesh (PLY, OBJ) and the shape (SVG, JSON)
//   --screenshot FILE               waits for the evaluation, saves the window as
//                                   a PNG and quits
//   --pick                          picks the shape opened, as the command line does
//   --edges                         shows the mesh's edges
#include <QApplication>
#include <QMessageBox>
#include <QPixmap>
#include <QStringList>
#include <QTimer>
#include <iostream>
#include <memory>
#include <new>
#include <string>

#include "app/studio/studio_window.h"
#include "qt_user_interface.h"
#include "session/plugin_library.h"

namespace {

const char* kUsage = "usage: slitform-studio [--screenshot FILE] [--pick] [--edges] [MESH SHAPE]";

// Reports a failure on the terminal, and in a message box unless nobody looks.
int Fail(const QString& message, bool quiet) {
    std::cerr << "slitform-studio: " << message.toStdString() << "\n";
    if (!quiet)
        QMessageBox::critical(nullptr, QStringLiteral("Slitform Studio"), message);
    return 1;
}

// What the program is doing, for the message when memory runs out.
std::string doing = "starting";

int Run(int argc, char** argv) {
    QApplication app(argc, argv);
    // Message boxes and the save dialog of the plug-in's update check as Qt dialogs.
    QtUserInterface ui;
    HostSetUserInterface(&ui);
    QStringList args = app.arguments().mid(1);
    QString screenshot;
    int at = args.indexOf(QStringLiteral("--screenshot"));
    if (at >= 0) {
        if (at + 1 >= args.size()) {
            std::cerr << kUsage << "\n";
            return 2;
        }
        screenshot = args[at + 1];
        args.erase(args.begin() + at, args.begin() + at + 2);
    }
    bool pick = args.removeAll(QStringLiteral("--pick")) > 0;
    bool edges = args.removeAll(QStringLiteral("--edges")) > 0;
    if (args.size() != 0 && args.size() != 2) {
        std::cerr << kUsage << "\n";
        return 2;
    }
    bool quiet = !screenshot.isEmpty();

    doing = "loading the plug-in";
    auto lib = std::make_shared<PluginLibrary>();
    std::string loadError;
    if (!lib->Load(DefaultPluginPath(), loadError))
        return Fail(QString::fromStdString(loadError), quiet);
    StudioWindow window(lib);
    window.resize(1100, 720);
    doing = "opening the files";
    if (args.isEmpty()) {
        window.OpenDemo();
    } else {
        QString error;
        if (!window.OpenMesh(args[0], error) || !window.OpenShape(args[1], error)) {
            int code = Fail(error, quiet);
            if (quiet)
                return code;
        }
    }
    if (pick)
        window.Document().PickShape();
    window.ShowEdges(edges);
    window.StartHistory();
    doing = "running the window";
    window.show();
    if (screenshot.isEmpty())
        return app.exec();

    // Poll until the newest change is evaluated and drawn, then save the window.
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &app, [&window, &screenshot, &app] {
        if (window.Evaluating())
            return;
        app.exit(window.grab().save(screenshot, "PNG") ? 0 : 1);
    });
    poll.start(50);
    int code = app.exec();
    if (code != 0)
        std::cerr << "slitform-studio: cannot write " << screenshot.toStdString() << "\n";
    return code;
}

}  // namespace

// Files are saved whole or not at all, so running out of memory leaves them as
// they were.
int main(int argc, char** argv) {
    try {
        return Run(argc, argv);
    } catch (const std::bad_alloc&) {
        std::cerr << "slitform-studio: out of memory while " << doing << "\n";
        return 1;
    }
}
