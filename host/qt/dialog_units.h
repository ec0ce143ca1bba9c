// Dialog units: template rectangles measured in the dialog font, turned into
// pixels as Windows does, so that a panel keeps its proportions with any font.
#pragma once

#include <QFont>
#include <QRect>

// Horizontal base unit: the average width of the letters A to Z and a to z;
// vertical base unit: the font's height. Both in pixels.
struct DialogBaseUnits {
    int x = 0, y = 0;
};

// Takes the dialog font; gives its base units.
DialogBaseUnits DialogBaseUnitsOf(const QFont& font);
// Takes a rectangle in dialog units (a quarter of the horizontal base unit, an
// eighth of the vertical one); gives it in pixels, each value rounded to nearest.
QRect DialogRectToPixels(int x, int y, int width, int height, DialogBaseUnits units);
// The font of a dialog template of pointSize points: the application's default
// face at that size (the template's face is a Windows bitmap font).
QFont DialogFont(int pointSize);
