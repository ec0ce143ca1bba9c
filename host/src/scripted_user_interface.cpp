#include "scripted_user_interface.h"

int ScriptedUserInterface::ShowMessageBox(HWND owner, const std::wstring& text,
                                          const std::wstring& title, UINT type) {
    boxes.push_back(Box{owner, text, title, type});
    if (boxAnswers.empty())
        return HostDismissedAnswer(type);
    int answer = boxAnswers.front();
    boxAnswers.pop_front();
    return answer;
}

bool ScriptedUserInterface::AskSaveFile(const HostSaveFileRequest& request, std::wstring& path) {
    saveRequests.push_back(request);
    if (saveAnswers.empty())
        return false;
    std::optional<std::wstring> answer = saveAnswers.front();
    saveAnswers.pop_front();
    if (!answer)
        return false;
    path = *answer;
    return true;
}

bool ScriptedUserInterface::IsKeyDown(int virtualKey) {
    int poll = keyPolls[virtualKey]++;
    auto held = heldFrom.find(virtualKey);
    return held != heldFrom.end() && poll >= held->second;
}
