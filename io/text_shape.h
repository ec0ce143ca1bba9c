// Lettering as a spline shape, from the outlines of a font's glyphs.
#pragma once

#include <string>
#include <vector>

#include "splshape.h"

// The outlines of text (UTF-8) set in the font family, 100 units high per em,
// one closed spline per glyph contour, the baseline on y = 0 and y up, z = 0;
// curves arrive as cubic Bezier segments. Needs a QGuiApplication (Qt's font
// engine). False, with a one-line error, for a family Qt does not know or text
// that draws nothing.
bool TextShape(const std::string& text, const std::string& family, std::vector<Spline3D>& splines,
               std::string& error);
