// The Qt back end of the host's user-interface calls for a program with a window:
// message boxes and the save dialog as Qt dialogs, the documents folder from Qt's
// standard paths, and the key state of the Escape key.
#pragma once

#include <QObject>

#include "user_interface.h"

class QtUserInterface : public QObject, public HostUserInterface {
public:
    QtUserInterface();
    ~QtUserInterface() override;

    int ShowMessageBox(HWND owner, const std::wstring& text, const std::wstring& title,
                       UINT type) override;
    bool AskSaveFile(const HostSaveFileRequest& request, std::wstring& path) override;
    std::wstring DocumentsFolder() override;
    // Delivers the events waiting (a plug-in that polls keys is busy on the user
    // interface's thread, so the windows repaint meanwhile); while it does, other
    // input is held back, and only the Escape key is watched.
    bool IsKeyDown(int virtualKey) override;
    // Qt's windows are never replaced by ghost windows: nothing to turn off.
    void DisableGhosting() override {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool polling = false;
    bool escapeDown = false;
};
