// A user-interface back end for tests: answers come from queues the test fills,
// and everything asked is recorded.
#pragma once

#include <deque>
#include <map>
#include <optional>

#include "user_interface.h"

class ScriptedUserInterface : public HostUserInterface {
public:
    struct Box {
        HWND owner;
        std::wstring text, title;
        UINT type;
    };

    int ShowMessageBox(HWND owner, const std::wstring& text, const std::wstring& title,
                       UINT type) override;
    bool AskSaveFile(const HostSaveFileRequest& request, std::wstring& path) override;
    std::wstring DocumentsFolder() override { return documents; }
    bool IsKeyDown(int virtualKey) override;
    void DisableGhosting() override { ghostingDisabled = true; }

    // Key virtualKey is down from its poll number fromPoll on (0: the first).
    void HoldKey(int virtualKey, int fromPoll = 0) { heldFrom[virtualKey] = fromPoll; }

    // Answers of the next boxes; with none left a box is dismissed (IDOK for
    // MB_OK, IDNO for MB_YESNO, IDCANCEL otherwise).
    std::deque<int> boxAnswers;
    // Answers of the next save dialogs: a path, or nullopt to cancel; with none
    // left the dialog is cancelled.
    std::deque<std::optional<std::wstring>> saveAnswers;
    std::wstring documents = L"/nonexistent/Documents";

    std::vector<Box> boxes;  // every box shown, in order
    std::vector<HostSaveFileRequest> saveRequests;
    std::map<int, int> keyPolls;  // polls of each key so far
    bool ghostingDisabled = false;

private:
    std::map<int, int> heldFrom;
};
