// The window where OpenGL cannot make a context: it opens, says so in the
// viewport's place, and still cuts.
#include <gtest/gtest.h>

#include <QLabel>
#include <QTest>

#include "app/studio/gl_viewport.h"
#include "app/studio/studio_window.h"

TEST(StudioWithoutOpenGl, OpensSaysSoAndStillCuts) {
    ASSERT_FALSE(GlViewport::OpenGlAvailable()) << "this test runs without an X display";
    auto lib = std::make_shared<PluginLibrary>();
    std::string error;
    ASSERT_TRUE(lib->Load(SLITFORM_PLUGIN_FILE, error)) << error;
    StudioWindow window(lib);
    window.resize(900, 600);
    window.OpenDemo();
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    ASSERT_TRUE(QTest::qWaitFor([&window] { return !window.Evaluating(); }, 120000));
    EXPECT_TRUE(window.Result().evaluated) << window.Result().error;
    EXPECT_GT(window.Result().counts.facesCut, 0);
    EXPECT_FALSE(window.GetViewport()->isVisible());
    bool said = false;
    for (QLabel* label : window.findChildren<QLabel*>())
        said = said || (label->isVisible() && label->text().contains("OpenGL is not available"));
    EXPECT_TRUE(said);
    EXPECT_FALSE(window.grab().isNull());
}
