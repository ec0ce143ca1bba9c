#include "io/text_advance.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGuiApplication>

double TextAdvance(const std::string& text, const std::string& family) {
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return 0.0;
    QString name = QString::fromStdString(family);
    if (!QFontDatabase().families().contains(name, Qt::CaseInsensitive))
        return 0.0;
    QFont font(name);
    font.setPixelSize(100);
    return QFontMetricsF(font).horizontalAdvance(QString::fromStdString(text));
}
