// The window on the offscreen platform, with the plug-in loaded, for the tests of
// the whole window; its settings go to a folder of the test's own.
#pragma once

#include <gtest/gtest.h>

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include "app/studio/rollup_panel.h"
#include "app/studio/studio_window.h"
#include "qt_dialog.h"

// Control IDs of the plug-in's Parameters rollout.
constexpr int kPickShape = 1001;
constexpr int kOpen = 1008;
constexpr int kWeldSpinner = 1003;

inline QString WriteFile(const QTemporaryDir& dir, const QString& name, const QByteArray& content) {
    QString path = dir.filePath(name);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(content);
    return path;
}

inline int LiveFaces(const MNMesh& m) {
    int n = 0;
    for (int f = 0; f < m.numf; ++f) n += !m.f[f].GetFlag(MN_DEAD);
    return n;
}

inline int CountColour(const QImage& image, QColor colour) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) count += image.pixelColor(x, y) == colour;
    return count;
}

class StudioWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(lib->Load(SLITFORM_PLUGIN_FILE, error)) << error;
        ASSERT_TRUE(dir.isValid());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.filePath("settings"));
        window = std::make_unique<StudioWindow>(lib);
        window->resize(1000, 700);
        window->show();
        ASSERT_TRUE(WaitForEvaluation());
    }
    void TearDown() override { window.reset(); }
    bool WaitForEvaluation() {
        // A guard against a hang, not a measure of speed.
        return QTest::qWaitFor([this] { return !window->Evaluating(); }, 120000);
    }
    IParamMap2* ParametersMap() {
        std::vector<IParamMap2*> maps = window->Panel()->Maps();
        return maps.empty() ? nullptr : maps[0];
    }
    template <class W>
    W* Control(int id) {
        QtDialog* dialog = window->Panel()->DialogOf(ParametersMap());
        return dialog ? dynamic_cast<W*>(dialog->ControlWidget(id)) : nullptr;
    }
    // The first control of the parameter with this internal name.
    template <class W>
    W* ControlOf(const wchar_t* name) {
        IParamBlock2* block = window->Document().Block();
        const ParamDef* def = block ? block->GetDesc()->FindParam(name) : nullptr;
        return def && !def->ctrlIDs.empty() ? Control<W>(def->ctrlIDs[0]) : nullptr;
    }

    std::shared_ptr<PluginLibrary> lib = std::make_shared<PluginLibrary>();
    QTemporaryDir dir;
    std::unique_ptr<StudioWindow> window;
};
