// Downloading the release archive after a newer version was accepted.
#include "plugin/update/download_release.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "dialogs.h"
#include "plugin/ui/resource.h"
#include "plugin/update/plugin_info.h"
#include "resources.h"
#include "update_fixture.h"

namespace {

std::string Archive(size_t size) {
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 131 + i / 7) & 0xFF);
    return bytes;
}

}  // namespace

class Download : public UpdateTest {
protected:
    void SetUp() override {
        UpdateTest::SetUp();
        pluginInfo.autoCheck = false;
        about = OpenAbout();
        ASSERT_NE(about, nullptr);
        WatchProgress(about);
        server().SetInfo(InfoXml("2.0.2"));
        target = documents + "/Slitform.zip";
        WriteWholeFile(target, "the archive saved before");
    }

    // Presses "Check for update", accepts the offer and chooses target; the
    // message that ends the check.
    std::wstring DownloadThroughTheRollout() {
        ui.boxAnswers = {IDYES};
        ui.saveAnswers = {WideFromUtf8(target)};
        HostClickButton(about, IDC_CHECK_UPDATE);
        if (ui.boxes.size() != 2)
            return L"(no result box)";
        EXPECT_EQ(ui.boxes[1].type, MB_OK);
        EXPECT_EQ(ui.boxes[1].title, L"Slitform");
        return ui.boxes[1].text;
    }

    void ExpectTargetUnchanged() {
        EXPECT_EQ(ReadWholeFile(target), "the archive saved before");
        EXPECT_EQ(FolderEntries(documents),
                  std::vector<std::string>{"Slitform.zip"});  // no temporary left
        EXPECT_FALSE(HasProgressBar());
    }

    bool HasProgressBar() {
        for (HWND child : about->children)
            if (child->className == "msctls_progress32")
                return true;
        return false;
    }

    HWND about = nullptr;
    std::string target;
};

TEST_F(Download, CompleteArchiveReplacesTheChosenFile) {
    std::string archive = Archive(100000);
    server().SetRelease(archive, ReleaseMode::kComplete);
    EXPECT_EQ(DownloadThroughTheRollout(), L"Download complete");
    EXPECT_EQ(ReadWholeFile(target), archive);
    EXPECT_EQ(FolderEntries(documents), std::vector<std::string>{"Slitform.zip"});
    TestHttpsServer::Seen seen = server().Requests();
    EXPECT_EQ(seen.releaseRequests, 1);
    EXPECT_EQ(seen.releaseUserAgent, "downloader");
    EXPECT_EQ(seen.releaseRange, "bytes=0-");

    EXPECT_TRUE(ui.ghostingDisabled);
    EXPECT_EQ(barsMade, 1);
    EXPECT_EQ(barRanges, std::vector<int>{100});
    ASSERT_FALSE(progress.empty());
    EXPECT_EQ(progress.back(), 100);
    EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()));
    EXPECT_GT(progress.size(), 100u);  // one step per piece of at most 512 bytes
    EXPECT_FALSE(HasProgressBar());
}

// Under a UTF-8 locale a documents folder named in Cyrillic or Chinese takes the
// archive: the ANSI code page follows the locale.
TEST_F(Download, AFolderNamedInCyrillicOrChineseTakesTheArchive) {
    LocaleEnvironment utf8("en_US.UTF-8");
    server().SetRelease(Archive(1000), ReleaseMode::kComplete);
    std::string folder =
        documents +
        "/\xD0\x94\xD0\xBE\xD0\xBA\xD1\x83\xD0\xBC\xD0\xB5\xD0\xBD\xD1\x82\xD1\x8B "
        "\xE6\x96\x87\xE6\xA1\xA3";
    std::filesystem::create_directory(folder);
    target = folder + "/Slitform.zip";
    EXPECT_EQ(DownloadThroughTheRollout(), L"Download complete");
    EXPECT_EQ(ReadWholeFile(target), Archive(1000));
}

TEST_F(Download, NameWithoutExtensionGetsZip) {
    server().SetRelease(Archive(1000), ReleaseMode::kComplete);
    target = documents + "/Slitform";
    EXPECT_EQ(DownloadThroughTheRollout(), L"Download complete");
    EXPECT_EQ(ReadWholeFile(target + ".zip"), Archive(1000));
}

TEST_F(Download, TruncatedOrEmptyOrMissingArchiveFails) {
    struct Case {
        ReleaseMode mode;
        const char* what;
    };
    for (Case c : {Case{ReleaseMode::kDropHalfWay, "connection dropped half way"},
                   Case{ReleaseMode::kNoLength, "no content length"},
                   Case{ReleaseMode::kEmpty, "content length 0"},
                   Case{ReleaseMode::kNotFound, "error status"}}) {
        ui.boxes.clear();
        server().SetRelease(c.mode == ReleaseMode::kEmpty ? std::string() : Archive(60000), c.mode);
        EXPECT_EQ(DownloadThroughTheRollout(), L"Can't download file") << c.what;
        EXPECT_EQ(server().Requests().releaseRequests, 1) << c.what;
        ExpectTargetUnchanged();
    }
}

// A partial answer is the whole archive only when its range is all of it.
TEST_F(Download, PartOfTheArchiveFails) {
    for (ReleaseMode mode : {ReleaseMode::kLastHalf, ReleaseMode::kFirstHalf}) {
        ui.boxes.clear();
        server().SetRelease("0123456789", mode);
        EXPECT_EQ(DownloadThroughTheRollout(), L"Can't download file");
        ExpectTargetUnchanged();
    }
}

TEST_F(Download, EscapeAbortsAtTheFirstRead) {
    server().SetRelease(Archive(60000), ReleaseMode::kComplete);
    ui.HoldKey(VK_ESCAPE);
    EXPECT_EQ(DownloadThroughTheRollout(), L"Can't download file");
    EXPECT_EQ(ui.keyPolls[VK_ESCAPE], 1);
    EXPECT_EQ(barsMade, 1);
    EXPECT_EQ(progress, std::vector<int>{0});  // the range was set, nothing read
    ExpectTargetUnchanged();
}

TEST_F(Download, EscapeHalfWayRemovesWhatWasWritten) {
    server().SetRelease(Archive(60000), ReleaseMode::kComplete);
    ui.HoldKey(VK_ESCAPE, 20);
    EXPECT_EQ(DownloadThroughTheRollout(), L"Can't download file");
    EXPECT_EQ(ui.keyPolls[VK_ESCAPE], 21);
    EXPECT_GT(progress.back(), 0);
    EXPECT_LT(progress.back(), 100);
    ExpectTargetUnchanged();
}

TEST_F(Download, UnwritableFolderFailsBeforeAsking) {
    server().SetRelease(Archive(1000), ReleaseMode::kComplete);
    target = work + "/no-such-folder/Slitform.zip";
    EXPECT_EQ(DownloadThroughTheRollout(), L"Can't download file");
    EXPECT_EQ(server().Requests().releaseRequests, 0);
    EXPECT_FALSE(DownloadRelease(nullptr, about));
}
