// What the update tests share: one local HTTPS server for the whole run, and
// per test a fresh settings folder, documents folder, scripted user interface
// and a newly initialised plug-in record.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "iparamb2.h"
#include "plugin/slitform.h"
#include "scripted_user_interface.h"
#include "test_https_server.h"

extern "C" int LibInitialize();

// The server and its certificate, made once before the first test, and the CA
// file that HTTPS requests trust instead of the system's store (none when empty).
struct UpdateServerEnvironment {
    static TestHttpsServer* server;
    static std::string certFile;
    static std::string trustedCaFile;
};

// An answer of the server naming version, with an Info attribute when info is given.
std::string InfoXml(const std::string& version, const std::string* info = nullptr);
// The stored text of the setting "autocheckversion", or "(none)".
std::wstring StoredAutoCheck();
std::string ReadWholeFile(const std::string& path);
void WriteWholeFile(const std::string& path, const std::string& bytes);
// The names in folder.
std::vector<std::string> FolderEntries(const std::string& folder);

class UpdateTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Opens the modifier's rollouts as the command panel does; the About dialog.
    HWND OpenAbout();
    void CloseRollouts();
    // Follows the progress bars made on dialog: every position they show.
    void WatchProgress(HWND dialog);

    TestHttpsServer& server() { return *UpdateServerEnvironment::server; }

    class Panel : public Interface {
    public:
        TimeValue GetTime() override { return 0; }
        void RolloutOpened(IParamMap2* map) override { maps.push_back(map); }
        void RolloutClosing(IParamMap2*) override {}
        std::vector<IParamMap2*> maps;
    };

    std::string work;       // this test's folder
    std::string documents;  // the user's documents folder in it
    ScriptedUserInterface ui;
    Slitform mod;
    Panel panel;
    bool editing = false;
    int barsMade = 0;
    std::vector<int> progress;   // positions shown, in order
    std::vector<int> barRanges;  // the high end of each bar's range
};

// Sets the locale's environment for one test and restores it.
class LocaleEnvironment {
public:
    explicit LocaleEnvironment(const char* lcAll) {
        for (const char* variable : {"LC_ALL", "LC_CTYPE", "LANG"}) {
            const char* value = getenv(variable);
            saved.emplace_back(variable, value ? std::optional<std::string>(value) : std::nullopt);
        }
        setenv("LC_ALL", lcAll, 1);
    }
    ~LocaleEnvironment() {
        for (const auto& [variable, value] : saved) {
            if (value)
                setenv(variable.c_str(), value->c_str(), 1);
            else
                unsetenv(variable.c_str());
        }
    }

private:
    std::vector<std::pair<std::string, std::optional<std::string>>> saved;
};
