// How far the pen moves setting a piece of text.
#pragma once

#include <string>

// The advance of text (UTF-8) set in the font family at 100 units per em, as
// TextShape sets it; 0 when no QGuiApplication runs or Qt does not know the family.
double TextAdvance(const std::string& text, const std::string& family);
