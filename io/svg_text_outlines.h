// Turning SVG text elements into paths of their glyph outlines, before drawing.
#pragma once

#include <rapidxml_ns/rapidxml_ns.hpp>
#include <string>
#include <vector>

// Replaces every text element under root (outside defs and symbol elements) by a
// path of its characters' outlines (TextShape) from its x and y, in its font-size
// (16 when not given, in user units) and the first family of its font-family
// ("DejaVu Sans" when not given); its transform stays. A tspan inside moves the pen
// by its first x, y, dx and dy and may set its own font-size and font-family; white
// space is laid out as SVG does by default. A text element whose font is missing,
// or any when no QGuiApplication runs, stays as it was, with the reason in problems.
void OutlineSvgTexts(rapidxml_ns::xml_document<char>& document, rapidxml_ns::xml_node<char>* root,
                     std::vector<std::string>& problems);
