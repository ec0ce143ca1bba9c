#include "update_fixture.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "plugin/update/plugin_info.h"
#include "registry.h"
#include "test_ca_file.h"

TestHttpsServer* UpdateServerEnvironment::server = nullptr;
std::string UpdateServerEnvironment::certFile;
std::string UpdateServerEnvironment::trustedCaFile;

extern "C" const char* SlitformTestCaFile() {
    return UpdateServerEnvironment::trustedCaFile.c_str();
}

namespace {

class Environment : public ::testing::Environment {
public:
    void SetUp() override {
        char pattern[] = "/tmp/slitform_update_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder = pattern;
        std::string keyFile;
        ASSERT_TRUE(
            TestHttpsServer::MakeCertificate(folder, UpdateServerEnvironment::certFile, keyFile));
        UpdateServerEnvironment::server =
            new TestHttpsServer(UpdateServerEnvironment::certFile, keyFile);
        ASSERT_TRUE(UpdateServerEnvironment::server->Running());
    }
    void TearDown() override {
        delete UpdateServerEnvironment::server;
        UpdateServerEnvironment::server = nullptr;
        std::filesystem::remove_all(folder);
    }

private:
    std::string folder;
};

::testing::Environment* const environment = ::testing::AddGlobalTestEnvironment(new Environment);

}  // namespace

std::string InfoXml(const std::string& version, const std::string* info) {
    std::string xml =
        "<?xml version=\"1.0\"?>\n<Plugins><Other Version=\"9.9\"/><Slitform Version=\"" + version +
        "\"";
    if (info)
        xml += " Info=\"" + *info + "\"";
    return xml + "/></Plugins>";
}

std::wstring StoredAutoCheck() {
    HKEY key = nullptr;
    if (RegOpenKeyW(HKEY_CURRENT_USER, L"Software\\Orvane\\Slitform\\2020", &key) != ERROR_SUCCESS)
        return L"(none)";
    WCHAR text[16] = {};
    DWORD size = sizeof text;
    LONG result = RegQueryValueExW(key, L"autocheckversion", nullptr, nullptr,
                                   reinterpret_cast<LPBYTE>(text), &size);
    RegCloseKey(key);
    return result == ERROR_SUCCESS ? std::wstring(text) : L"(none)";
}

std::string ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteWholeFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

std::vector<std::string> FolderEntries(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

void UpdateTest::SetUp() {
    ASSERT_NE(UpdateServerEnvironment::server, nullptr);
    char pattern[] = "/tmp/slitform_update_test_XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    work = pattern;
    documents = work + "/Documents";
    std::filesystem::create_directory(documents);
    std::filesystem::create_directory(work + "/settings");
    HostSetRegistryFolder(work + "/settings");
    setenv("SLITFORM_UPDATE_SERVER", server().Address().c_str(), 1);
    UpdateServerEnvironment::trustedCaFile = UpdateServerEnvironment::certFile;
    ui.documents = std::wstring(documents.begin(), documents.end());
    HostSetUserInterface(&ui);
    server().SetInfo(InfoXml("2.0.1.3"));
    server().SetRelease("", ReleaseMode::kComplete);
    server().Requests();
    // A new run of the host: the record as loaded, then initialised.
    pluginInfo = PluginInfo();
    LibInitialize();
}

void UpdateTest::TearDown() {
    CloseRollouts();
    HostSetUserInterface(nullptr);
    unsetenv("SLITFORM_UPDATE_SERVER");
    UpdateServerEnvironment::trustedCaFile.clear();
    std::filesystem::remove_all(work);
}

HWND UpdateTest::OpenAbout() {
    panel.maps.clear();
    mod.BeginEditParams(&panel, 0, nullptr);
    editing = true;
    for (IParamMap2* map : panel.maps)
        if (map->GetMapID() == 1)
            return map->GetHWnd();
    return nullptr;
}

void UpdateTest::CloseRollouts() {
    if (editing)
        mod.EndEditParams(&panel, 0, nullptr);
    editing = false;
}

void UpdateTest::WatchProgress(HWND dialog) {
    dialog->changed = [this](HWND d) {
        for (HWND child : d->children) {
            if (child->className != "msctls_progress32" || child->changed)
                continue;
            ++barsMade;
            child->changed = [this](HWND bar) {
                if (barRanges.size() < static_cast<size_t>(barsMade))
                    barRanges.push_back(bar->rangeHigh);
                progress.push_back(bar->position);
            };
        }
    };
}
