#include "resources.h"

#include <gtest/gtest.h>

TEST(Resources, ParsesStringsDialogsBitmapsAndVersion) {
    std::string script = R"(// comment
STRINGTABLE
  1 "Cut \"it\""
  103 "Ünïcode"
END
VERSION 2, 0, 1, 3
BITMAP 101 "logo.bmp"
DIALOG 107 0, 0, 113, 81 STYLE 0x50000040 FONT 8 "MS Sans Serif"
  CONTROL 1049 "static" "" 0, 2, 109, 11, 0x50000001
  CONTROL -1 "button" "Group" 7, 65, 94, 36, 0x50000007
END
)";
    ModuleResources res;
    std::string error;
    ASSERT_TRUE(ParseResourceScript(script, {{"logo.bmp", std::string("BM\0x", 4)}}, res, error))
        << error;
    EXPECT_EQ(res.strings[1], L"Cut \"it\"");
    EXPECT_EQ(res.strings[103], L"\u00DCn\u00EFcode");
    ASSERT_TRUE(res.hasVersion);
    EXPECT_EQ(res.fileVersion[3], 3);
    EXPECT_EQ(res.bitmaps[101].size(), 4u);
    const DialogTemplate& dlg = res.dialogs.at(107);
    EXPECT_EQ(dlg.width, 113);
    EXPECT_EQ(dlg.style, 0x50000040u);
    EXPECT_EQ(dlg.fontName, L"MS Sans Serif");
    ASSERT_EQ(dlg.controls.size(), 2u);
    EXPECT_EQ(dlg.controls[0].id, 1049);
    EXPECT_EQ(dlg.controls[1].id, -1);
    EXPECT_EQ(dlg.controls[1].style, 0x50000007u);
}

TEST(Resources, BrokenScriptsNameTheLine) {
    ModuleResources res;
    std::string error;
    EXPECT_FALSE(ParseResourceScript("STRINGTABLE\n 1 \"a\"\n", {}, res, error));
    EXPECT_NE(error.find("END"), std::string::npos);
    EXPECT_FALSE(ParseResourceScript("\n\nBITMAP 5 \"missing.bmp\"", {}, res, error));
    EXPECT_EQ(error.rfind("line 3", 0), 0u) << error;
    EXPECT_FALSE(ParseResourceScript("STRINGTABLE 1 \"open", {}, res, error));
    EXPECT_FALSE(ParseResourceScript("FROB", {}, res, error));
    EXPECT_FALSE(ParseResourceScript("VERSION 1, x", {}, res, error));
}

TEST(Resources, StringsOfAModuleWithoutResources) {
    WCHAR buf[8];
    EXPECT_EQ(LoadStringW(nullptr, 1, buf, 8), 0);
    EXPECT_EQ(GetModuleResources(nullptr), nullptr);
}

TEST(Resources, Utf8RoundTripAndBadBytes) {
    std::wstring w = L"a\u00E9\u20AC\U0001F600";
    EXPECT_EQ(WideFromUtf8(Utf8FromWide(w)), w);
    EXPECT_EQ(WideFromUtf8("\xff"), std::wstring(1, L'\uFFFD'));
    EXPECT_EQ(WideFromUtf8("\xE2\x82"), std::wstring(2, L'\uFFFD'));
}
