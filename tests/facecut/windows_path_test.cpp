#include "windows_path.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

std::string Translated(const std::string& path) {
    std::string local = "<untouched>";
    if (!TranslateWindowsPath(path, local))
        return "<no drive>";
    return local;
}

TEST(TranslateWindowsPath, DriveLettersMapToTheirVariables) {
    setenv("SLITFORM_DRIVE_D", "/tmp/drive_d", 1);
    setenv("SLITFORM_DRIVE_E", "/tmp/drive_e/", 1);
    EXPECT_EQ(Translated("D:\\tri_0.bin"), "/tmp/drive_d/tri_0.bin");
    EXPECT_EQ(Translated("d:\\dir\\sub\\f.txt"), "/tmp/drive_d/dir/sub/f.txt");
    EXPECT_EQ(Translated("D:f.txt"), "/tmp/drive_d/f.txt");
    EXPECT_EQ(Translated("E:\\x"), "/tmp/drive_e/x");
    EXPECT_EQ(Translated("D:\\"), "/tmp/drive_d");
    unsetenv("SLITFORM_DRIVE_D");
    unsetenv("SLITFORM_DRIVE_E");
}

TEST(TranslateWindowsPath, UnmappedDrivesAndDrivelessRootsDoNotExist) {
    unsetenv("SLITFORM_DRIVE_D");
    EXPECT_EQ(Translated("D:\\tri_0.bin"), "<no drive>");
    setenv("SLITFORM_DRIVE_D", "", 1);
    EXPECT_EQ(Translated("D:\\tri_0.bin"), "<no drive>");
    unsetenv("SLITFORM_DRIVE_D");
    EXPECT_EQ(Translated("\\\\server\\share\\f"), "<no drive>");
    EXPECT_EQ(Translated("\\dir\\f"), "<no drive>");
}

TEST(TranslateWindowsPath, RelativePathsKeepTheirText) {
    EXPECT_EQ(Translated("dir\\f.txt"), "dir/f.txt");
    EXPECT_EQ(Translated("f.txt"), "f.txt");
}

}  // namespace
