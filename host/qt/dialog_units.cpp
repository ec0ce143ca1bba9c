#include "dialog_units.h"

#include <QApplication>
#include <QFontMetrics>

namespace {

// a * b / c rounded half away from zero, as Windows' MulDiv does.
int MulDiv(int a, int b, int c) {
    long long product = static_cast<long long>(a) * b;
    long long half = c / 2;
    return static_cast<int>(product >= 0 ? (product + half) / c : (product - half) / c);
}

}  // namespace

DialogBaseUnits DialogBaseUnitsOf(const QFont& font) {
    QFontMetrics metrics(font);
    int letters = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    DialogBaseUnits units;
    units.x = (letters / 26 + 1) / 2;
    units.y = metrics.height();
    return units;
}

QRect DialogRectToPixels(int x, int y, int width, int height, DialogBaseUnits units) {
    return QRect(MulDiv(x, units.x, 4), MulDiv(y, units.y, 8), MulDiv(width, units.x, 4),
                 MulDiv(height, units.y, 8));
}

QFont DialogFont(int pointSize) {
    QFont font = QApplication::font();
    if (pointSize > 0)
        font.setPointSize(pointSize);
    return font;
}
