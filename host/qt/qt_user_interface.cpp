#include "qt_user_interface.h"

#include <QApplication>
#include <QFileDialog>
#include <QKeyEvent>
#include <QMessageBox>
#include <QStandardPaths>

QtUserInterface::QtUserInterface() {
    qApp->installEventFilter(this);
}

QtUserInterface::~QtUserInterface() {
    qApp->removeEventFilter(this);
}

int QtUserInterface::ShowMessageBox(HWND, const std::wstring& text, const std::wstring& title,
                                    UINT type) {
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(QString::fromStdWString(title));
    box.setText(QString::fromStdWString(text));
    switch (type & MB_TYPEMASK) {
        case MB_YESNO:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            break;
        case MB_YESNOCANCEL:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            break;
        case MB_OKCANCEL:
            box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
            break;
        default:
            box.setStandardButtons(QMessageBox::Ok);
            break;
    }
    switch (box.exec()) {
        case QMessageBox::Yes:
            return IDYES;
        case QMessageBox::No:
            return IDNO;
        case QMessageBox::Ok:
            return IDOK;
        case QMessageBox::Cancel:
            return IDCANCEL;
        default:
            return HostDismissedAnswer(type);
    }
}

bool QtUserInterface::AskSaveFile(const HostSaveFileRequest& request, std::wstring& path) {
    QStringList filters;
    for (const auto& [description, pattern] : request.filters)
        filters << QString::fromStdWString(description) + " (" + QString::fromStdWString(pattern) +
                       ")";
    QString selected = request.filterIndex >= 1 && request.filterIndex <= filters.size()
                           ? filters[request.filterIndex - 1]
                           : QString();
    QFileDialog::Options options;
    if (!(request.flags & OFN_OVERWRITEPROMPT))
        options |= QFileDialog::DontConfirmOverwrite;
    QString chosen = QFileDialog::getSaveFileName(
        QApplication::activeWindow(), QString::fromStdWString(request.title),
        QString::fromStdWString(request.proposed), filters.join(";;"), &selected, options);
    if (chosen.isEmpty())
        return false;
    path = chosen.toStdWString();
    return true;
}

std::wstring QtUserInterface::DocumentsFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation).toStdWString();
}

bool QtUserInterface::IsKeyDown(int virtualKey) {
    polling = true;
    QApplication::processEvents();
    polling = false;
    return virtualKey == VK_ESCAPE && escapeDown;
}

bool QtUserInterface::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Escape && !key->isAutoRepeat())
            escapeDown = event->type() == QEvent::KeyPress;
    }
    if (polling) {
        switch (event->type()) {
            case QEvent::KeyPress:
            case QEvent::KeyRelease:
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonRelease:
            case QEvent::MouseButtonDblClick:
            case QEvent::Wheel:
                return true;
            default:
                break;
        }
    }
    return QObject::eventFilter(watched, event);
}
