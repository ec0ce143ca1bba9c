// The Qt back end of message boxes, the save dialog, the documents folder and keys.
#include "qt_user_interface.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

namespace {

// Presses the button with this role of the message box that opens next.
void AnswerNextBox(QMessageBox::StandardButton answer) {
    QTimer::singleShot(0, [answer] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* box = qobject_cast<QMessageBox*>(w))
                if (QAbstractButton* b = box->button(answer))
                    b->click();
    });
}

}  // namespace

TEST(QtUserInterface, MessageBoxesAnswerWithTheButtonPressed) {
    QtUserInterface ui;
    HostUserInterface* before = HostSetUserInterface(&ui);
    AnswerNextBox(QMessageBox::Yes);
    EXPECT_EQ(MessageBoxW(nullptr, L"Do you want to download new version?", L"Slitform", MB_YESNO),
              IDYES);
    AnswerNextBox(QMessageBox::No);
    EXPECT_EQ(MessageBoxW(nullptr, L"You use last version.", L"Slitform", MB_YESNO), IDNO);
    AnswerNextBox(QMessageBox::Ok);
    EXPECT_EQ(MessageBoxW(nullptr, L"Download complete", L"Slitform", MB_OK), IDOK);
    HostSetUserInterface(before);
}

TEST(QtUserInterface, EscapeIsSeenWhilePollingAndOtherInputIsHeldBack) {
    QtUserInterface ui;
    QWidget window;
    window.show();
    EXPECT_FALSE(ui.IsKeyDown(VK_ESCAPE));
    QApplication::postEvent(&window,
                            new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
    EXPECT_TRUE(ui.IsKeyDown(VK_ESCAPE));
    EXPECT_FALSE(ui.IsKeyDown('A'));
    QApplication::postEvent(&window,
                            new QKeyEvent(QEvent::KeyRelease, Qt::Key_Escape, Qt::NoModifier));
    EXPECT_FALSE(ui.IsKeyDown(VK_ESCAPE));
    EXPECT_FALSE(ui.DocumentsFolder().empty());
}
