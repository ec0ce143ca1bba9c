// The About rollout: banner, version label and the checks it starts.
#include <gtest/gtest.h>

#include "custcont.h"
#include "plugin/module/module_handle.h"
#include "plugin/ui/resource.h"
#include "plugin/update/plugin_info.h"
#include "update_fixture.h"

TEST_F(UpdateTest, AboutShowsTheBannerAndTheVersion) {
    unsetenv("SLITFORM_UPDATE_SERVER");  // no server configured
    HWND about = OpenAbout();
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(GetWindowTextString(GetDlgItem(about, IDC_VERSION)), L"Version: 2.0.1.3");
    ImageState* banner = ImageOf(GetDlgItem(about, IDC_BANNER));
    ASSERT_NE(banner, nullptr);
    ASSERT_TRUE(banner->set);
    EXPECT_EQ(banner->image.width, 160);
    EXPECT_EQ(banner->image.height, 56);
    HBITMAP bitmap = LoadBitmapW(hInstance, IDB_BANNER);
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(banner->image.bgr, bitmap->bgr);
    DeleteObject(bitmap);
    ASSERT_NE(mod.aboutImages, nullptr);
    EXPECT_EQ(mod.aboutImages->cx, 160);
    EXPECT_EQ(mod.aboutImages->cy, 56);
    EXPECT_EQ(mod.aboutImages->flags, UINT(ILC_COLORDDB));
    EXPECT_EQ(mod.aboutImages->images.size(), 1u);
    // The automatic check ran, found no server and said nothing.
    EXPECT_TRUE(ui.boxes.empty());
    EXPECT_TRUE(pluginInfo.checkDone);
    EXPECT_EQ(server().Requests().infoRequests, 0);
}

TEST_F(UpdateTest, OnlyTheFirstOpeningChecks) {
    OpenAbout();
    CloseRollouts();
    OpenAbout();
    CloseRollouts();
    EXPECT_EQ(server().Requests().infoRequests, 1);
    EXPECT_TRUE(ui.boxes.empty());
}

TEST_F(UpdateTest, AutomaticCheckOffDoesNotContactTheServer) {
    pluginInfo.autoCheck = false;
    HWND about = OpenAbout();
    EXPECT_EQ(server().Requests().infoRequests, 0);
    EXPECT_FALSE(pluginInfo.checkDone);
    EXPECT_EQ(GetWindowTextString(GetDlgItem(about, IDC_VERSION)), L"Version: 2.0.1.3");
}

TEST_F(UpdateTest, AutomaticCheckOffersANewerVersion) {
    server().SetInfo(InfoXml("2.0.1.4"));
    OpenAbout();
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text.find(L"Current version is: 2.0.1.3\nNew version 2.0.1.4"), 0u);
}
