// The update check through the About rollout, against the local HTTPS server.
#include "plugin/update/check_for_update.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "plugin/ui/resource.h"
#include "plugin/update/https_post.h"
#include "plugin/update/plugin_info.h"
#include "update_fixture.h"

namespace {

const std::wstring kAskAutoCheck =
    L"You use last version.\n\nDo you want to enable auto check version?";

}  // namespace

TEST_F(UpdateTest, AutomaticCheckWithNothingNewerIsSilent) {
    HWND about = OpenAbout();
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(server().Requests().infoRequests, 1);
    EXPECT_TRUE(ui.boxes.empty());
    EXPECT_TRUE(pluginInfo.checkDone);
    EXPECT_EQ(StoredAutoCheck(), L"(none)");
}

TEST_F(UpdateTest, ButtonCheckAnsweredNoTurnsAutomaticChecksOff) {
    pluginInfo.autoCheck = false;  // no automatic check on opening
    HWND about = OpenAbout();
    EXPECT_EQ(server().Requests().infoRequests, 0);
    ui.boxAnswers.push_back(IDNO);
    HostClickButton(about, IDC_CHECK_UPDATE);
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text, kAskAutoCheck);
    EXPECT_EQ(ui.boxes[0].title, L"Slitform");
    EXPECT_EQ(ui.boxes[0].type, MB_YESNO);
    EXPECT_EQ(ui.boxes[0].owner, about);
    EXPECT_EQ(StoredAutoCheck(), L"0");
    EXPECT_FALSE(pluginInfo.autoCheck);
    EXPECT_TRUE(pluginInfo.checkDone);

    // The next run of the host reads the setting and does not check.
    CloseRollouts();
    server().Requests();
    pluginInfo = PluginInfo();
    LibInitialize();
    OpenAbout();
    EXPECT_EQ(server().Requests().infoRequests, 0);
    EXPECT_EQ(ui.boxes.size(), 1u);
}

TEST_F(UpdateTest, ButtonAfterAutomaticCheckAsksAgainAndStoresYes) {
    HWND about = OpenAbout();
    EXPECT_TRUE(ui.boxes.empty());
    ui.boxAnswers.push_back(IDYES);
    HostClickButton(about, IDC_CHECK_UPDATE);
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text, kAskAutoCheck);
    EXPECT_EQ(StoredAutoCheck(), L"1");
    EXPECT_EQ(server().Requests().infoRequests, 2);
}

TEST_F(UpdateTest, NewerVersionIsOfferedWithAndWithoutInfo) {
    pluginInfo.autoCheck = false;
    HWND about = OpenAbout();
    server().SetInfo(InfoXml("2.0.2"));
    HostClickButton(about, IDC_CHECK_UPDATE);  // dismissed: No
    std::string info = "Faster cuts &amp; fixes";
    server().SetInfo(InfoXml("2.0.2", &info));
    HostClickButton(about, IDC_CHECK_UPDATE);
    std::string empty;
    server().SetInfo(InfoXml("2.0.2", &empty));
    HostClickButton(about, IDC_CHECK_UPDATE);
    ASSERT_EQ(ui.boxes.size(), 3u);
    const std::wstring offer =
        L"Current version is: 2.0.1.3\nNew version 2.0.2 is available for download.\n\n";
    EXPECT_EQ(ui.boxes[0].text, offer + L"Do you want to download new version?");
    EXPECT_EQ(ui.boxes[1].text,
              offer + L"Faster cuts & fixes\n\nDo you want to download new version?");
    EXPECT_EQ(ui.boxes[2].text, ui.boxes[0].text);
    for (const auto& box : ui.boxes) {
        EXPECT_EQ(box.type, MB_YESNO);
        EXPECT_EQ(box.title, L"Slitform");
    }
    EXPECT_TRUE(ui.saveRequests.empty());  // No downloads nothing
    EXPECT_EQ(StoredAutoCheck(), L"(none)");
    EXPECT_EQ(server().Requests().releaseRequests, 0);
}

TEST_F(UpdateTest, LongInfoIsShortenedSoTheQuestionStays) {
    std::string info(1000, 'i');
    server().SetInfo(InfoXml("3.0", &info));
    EXPECT_TRUE(CheckForUpdate(nullptr));
    ASSERT_EQ(ui.boxes.size(), 1u);
    const std::wstring& text = ui.boxes[0].text;
    EXPECT_EQ(text.size(), 259u);
    const std::wstring question = L"\n\nDo you want to download new version?";
    EXPECT_EQ(text.substr(text.size() - question.size()), question);
}

TEST_F(UpdateTest, CancelledSaveDialogSaysSo) {
    server().SetInfo(InfoXml("2.1"));
    ui.boxAnswers = {IDYES};
    ui.saveAnswers = {std::nullopt};
    EXPECT_TRUE(CheckForUpdate(nullptr));
    ASSERT_EQ(ui.boxes.size(), 2u);
    EXPECT_EQ(ui.boxes[1].text, L"Can't save file");
    EXPECT_EQ(ui.boxes[1].type, MB_OK);
    EXPECT_EQ(ui.boxes[1].title, L"Slitform");
    ASSERT_EQ(ui.saveRequests.size(), 1u);
    const HostSaveFileRequest& asked = ui.saveRequests[0];
    EXPECT_EQ(asked.proposed, ui.documents + L"/Slitform");
    ASSERT_EQ(asked.filters.size(), 1u);
    EXPECT_EQ(asked.filters[0].first, L"Zip archive");
    EXPECT_EQ(asked.filters[0].second, L"*.zip");
    EXPECT_EQ(asked.filterIndex, 1);
    EXPECT_EQ(asked.flags, 0xA002u);
    EXPECT_TRUE(asked.title.empty());
    EXPECT_TRUE(asked.initialDir.empty());
    EXPECT_EQ(server().Requests().releaseRequests, 0);
}

TEST_F(UpdateTest, PathOutsideTheAnsiCodePageIsNotSaved) {
    LocaleEnvironment latin1("de_DE.ISO-8859-1");
    server().SetInfo(InfoXml("2.1"));
    ui.boxAnswers = {IDYES};
    ui.saveAnswers = {ui.documents + L"/\u0444\u0430\u0439\u043b.zip"};
    CheckForUpdate(nullptr);
    ASSERT_EQ(ui.boxes.size(), 2u);
    EXPECT_EQ(ui.boxes[1].text, L"Can't save file");
    EXPECT_EQ(server().Requests().releaseRequests, 0);
}

TEST_F(UpdateTest, UntrustedCertificateEndsTheCheckSilently) {
    // The system's store does not know the test certificate, and the product
    // takes no other certificates from its environment.
    UpdateServerEnvironment::trustedCaFile.clear();
    setenv("SLITFORM_CA_FILE", UpdateServerEnvironment::certFile.c_str(), 1);
    pluginInfo.checkDone = false;
    EXPECT_FALSE(CheckForUpdate(nullptr));
    EXPECT_TRUE(ui.boxes.empty());
    EXPECT_FALSE(pluginInfo.checkDone);
    EXPECT_EQ(server().Requests().infoRequests, 0);  // nothing was sent
    unsetenv("SLITFORM_CA_FILE");
}

TEST_F(UpdateTest, AnswerWithoutTheRecordEndsTheCheckSilently) {
    for (const std::string& answer :
         {std::string("this is not XML"), std::string("<Plugins><Other Version=\"9\"/></Plugins>"),
          std::string()}) {
        server().SetInfo(answer);
        pluginInfo.checkDone = false;
        EXPECT_FALSE(CheckForUpdate(nullptr)) << answer;
        EXPECT_TRUE(ui.boxes.empty()) << answer;
        EXPECT_FALSE(pluginInfo.checkDone) << answer;
    }
    // A record without a version compares as 0: nothing newer, and the question.
    server().SetInfo("<Slitform/>");
    EXPECT_FALSE(CheckForUpdate(nullptr));
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text, kAskAutoCheck);
}

TEST_F(UpdateTest, NoServerConfiguredEndsTheCheckSilently) {
    unsetenv("SLITFORM_UPDATE_SERVER");
    EXPECT_FALSE(CheckForUpdate(nullptr));
    EXPECT_TRUE(ui.boxes.empty());
    EXPECT_EQ(server().Requests().infoRequests, 0);
}

TEST_F(UpdateTest, HttpsPostSendsTheRequestAndReadsTheAnswer) {
    std::string answer(3000, 'a');
    answer[2999] = 'z';
    server().SetInfo(answer);
    std::vector<char> buffer(4096, 0);
    const std::string host = server().Address();
    std::wstring address(host.begin(), host.end());
    ASSERT_TRUE(HttpsPost(address.c_str(), L"/info.xml", L"Content-Type: application/octet-stream",
                          buffer.data(), buffer.size()));
    EXPECT_EQ(std::string(buffer.data()), answer);
    TestHttpsServer::Seen seen = server().Requests();
    EXPECT_EQ(seen.infoMethod, "POST");
    EXPECT_EQ(seen.infoUserAgent, "Slitform");
    EXPECT_EQ(seen.infoContentType, "application/octet-stream");
    EXPECT_EQ(seen.infoAccept, "application/octet-stream, application/x-www-form-urlencoded");
    EXPECT_EQ(seen.infoBody, "");

    // The request's text goes as the body; an answer that does not fit is cut
    // at a whole piece and stays zero-terminated.
    std::vector<char> small(1100, 0);
    std::string body = "query";
    std::copy(body.begin(), body.end(), small.begin());
    ASSERT_TRUE(HttpsPost(address.c_str(), L"/info.xml", nullptr, small.data(), small.size()));
    EXPECT_EQ(server().Requests().infoBody, "query");
    std::string cut = small.data();
    EXPECT_LT(cut.size(), small.size());
    EXPECT_GT(cut.size(), small.size() - 512);
    EXPECT_EQ(cut, answer.substr(0, cut.size()));

    std::wstring closedPort = L"127.0.0.1:1";
    EXPECT_FALSE(
        HttpsPost(closedPort.c_str(), L"/info.xml", nullptr, buffer.data(), buffer.size()));
}
