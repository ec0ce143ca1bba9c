// The built Slitform.dlm, loaded through the host's loader.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#include "iparamb2.h"
#include "object.h"
#include "session/plugin_library.h"

namespace {

const Class_ID kSlitform(0x99B58387, 0xD1918693);

class LoadedPlugin : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(lib.Load(SLITFORM_PLUGIN_FILE, error)) << error;
    }
    PluginLibrary lib;
};

}  // namespace

TEST_F(LoadedPlugin, EntryPointsAndClassDescriptor) {
    EXPECT_EQ(reinterpret_cast<LibVersionFn>(lib.Symbol("LibVersion"))(), 0x55F03700u);
    EXPECT_EQ(lib.Description(), L"Cut object by shape segments");
    ASSERT_EQ(lib.NumClasses(), 1);
    auto classDesc = reinterpret_cast<LibClassDescFn>(lib.Symbol("LibClassDesc"));
    EXPECT_EQ(classDesc(1), nullptr);
    EXPECT_EQ(classDesc(-1), nullptr);
    EXPECT_EQ(reinterpret_cast<LibInitializeFn>(lib.Symbol("LibInitialize"))(), 1);

    ClassDesc2* cd = lib.GetClassDesc(0);
    EXPECT_EQ(cd, classDesc(0));
    EXPECT_EQ(cd->IsPublic(), 1);
    EXPECT_TRUE(cd->OkToCreate(nullptr));
    EXPECT_STREQ(cd->ClassName(), L"Slit Form");
    EXPECT_EQ(cd->SuperClassID(), 0x810u);
    EXPECT_EQ(cd->ClassID(), kSlitform);
    EXPECT_STREQ(cd->Category(), L"Slitform");
    EXPECT_STREQ(cd->InternalName(), L"Slitform");
    EXPECT_EQ(cd->HInstance(), lib.Handle());
    EXPECT_EQ(lib.FindClass(OSM_CLASS_ID, kSlitform), cd);
}

TEST_F(LoadedPlugin, StringTable) {
    const std::pair<int, const wchar_t*> table[] = {{1, L"Cut object by shape segments"},
                                                    {2, L"Slitform"},
                                                    {3, L"Slit Form"},
                                                    {4, L"Parameters"},
                                                    {6, L"About"},
                                                    {7, L"Pick path"},
                                                    {8, L"Remove unused"},
                                                    {9, L"Weld"},
                                                    {10, L"Open"},
                                                    {11, L"Local"},
                                                    {12, L"Through"},
                                                    {13, L"Mat ID on"},
                                                    {14, L"Mat ID"},
                                                    {15, L"Selection level"},
                                                    {16, L"Min angle"},
                                                    {17, L"Weld on"},
                                                    {102, L"Collinear"},
                                                    {103, L"Collinear on"}};
    WCHAR buf[512];
    for (const auto& [id, text] : table) {
        ASSERT_GT(LoadStringW(lib.Handle(), id, buf, 512), 0) << id;
        EXPECT_STREQ(buf, text) << id;
    }
    EXPECT_EQ(LoadStringW(lib.Handle(), 5, buf, 512), 0);
    EXPECT_EQ(LoadStringW(lib.Handle(), 1, buf, 4), 3);  // cut to the buffer
    EXPECT_STREQ(buf, L"Cut");
}

TEST_F(LoadedPlugin, DescriptionNeedsTheModuleHandle) {
    auto entry = reinterpret_cast<BOOL (*)(HINSTANCE, ULONG, LPVOID)>(lib.Symbol("DllMain"));
    auto describe = reinterpret_cast<LibDescriptionFn>(lib.Symbol("LibDescription"));
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry(nullptr, DLL_PROCESS_ATTACH, nullptr), TRUE);
    EXPECT_EQ(describe(), nullptr);
    EXPECT_EQ(entry(lib.Handle(), DLL_THREAD_ATTACH, nullptr), TRUE);  // only attach stores it
    EXPECT_EQ(describe(), nullptr);
    entry(lib.Handle(), DLL_PROCESS_ATTACH, nullptr);
    ASSERT_NE(describe(), nullptr);
    EXPECT_STREQ(describe(), L"Cut object by shape segments");
}

TEST_F(LoadedPlugin, NewModifierHasTheBlockDefaults) {
    auto* mod = static_cast<Modifier*>(lib.CreateInstance(OSM_CLASS_ID, kSlitform));
    ASSERT_NE(mod, nullptr);
    IParamBlock2* pb = mod->GetParamBlockByID(0);
    ASSERT_NE(pb, nullptr);
    EXPECT_EQ(mod->GetParamBlockByID(1), nullptr);
    EXPECT_EQ(pb->GetINode(0), nullptr);
    EXPECT_EQ(pb->GetInt(1), 1);
    for (int id : {2, 4, 5, 6, 8, 9}) EXPECT_EQ(pb->GetInt(id), 0) << id;
    EXPECT_EQ(pb->GetFloat(3), 0.001f);
    EXPECT_EQ(pb->GetFloat(7), 0.001f);
    EXPECT_EQ(pb->GetInt(10), 1);
    EXPECT_EQ(pb->GetInt(11), 4);
    EXPECT_EQ(pb->GetFloat(12), 27.0f);
    mod->DeleteThis();
}

TEST(PluginLoader, FailuresNameTheFileAndTheMissingPiece) {
    PluginLibrary lib;
    std::string error;
    EXPECT_FALSE(lib.Load("/nonexistent/Slitform.dlm", error));
    EXPECT_NE(error.find("/nonexistent/Slitform.dlm"), std::string::npos) << error;

    // A shared library without the entry points: the host runtime itself.
    std::string hostLib = std::string(SLITFORM_PLUGIN_FILE);
    hostLib = hostLib.substr(0, hostLib.rfind("/plugins/")) + "/host/libslitform_host.so";
    EXPECT_FALSE(lib.Load(hostLib, error));
    EXPECT_NE(error.find("LibVersion"), std::string::npos) << error;
    EXPECT_NE(error.find(hostLib), std::string::npos) << error;

    std::string junk = ::testing::TempDir() + "junk.dlm";
    std::ofstream(junk) << "not a library";
    EXPECT_FALSE(lib.Load(junk, error));
    EXPECT_NE(error.find(junk), std::string::npos);
    std::remove(junk.c_str());
}
