// Reading SVG drawings as spline shapes through SVG++.
#pragma once

#include <string>
#include <vector>

#include "splshape.h"

// Reads the SVG file content bytes (from the file at path) into splines: every
// subpath of the path, rect, circle, ellipse, line, polyline and polygon elements
// of the svg element and its g and nested svg elements becomes one spline, closed
// where the subpath is (z, or a closed shape). Element transforms, viewBox and
// units apply: a shape unit is one CSS pixel (1/96 inch) of the outermost svg
// element's viewport; an outermost svg element with a viewBox but no width or
// height is drawn at the viewBox's own scale. The y axis is flipped (SVG's points
// down, the shape's up); z is 0. Curves, arcs and rounded corners arrive as cubic
// Bezier segments, straight segments as knots whose handles lie on them. A use
// element draws what it refers to (see ExpandSvgUses); elements inside defs and
// symbol are drawn only so. A text element draws its glyphs' outlines (see
// OutlineSvgTexts) when a QGuiApplication runs. Other elements (image, ...),
// text left undrawn and elements of other namespaces are not drawn: when
// warnings is given, one line naming path lists them by name and count, and
// others the uses and texts left undrawn and why. False,
// with a one-line error naming path (and the line where known), for bad XML, a
// root element that is not an svg element in the SVG namespace, nesting deeper
// than 200 elements, a bad attribute value (path data, lengths, transforms), or a
// coordinate that leaves single precision.
bool ReadSvgShape(const std::string& path, const std::string& bytes, std::vector<Spline3D>& splines,
                  std::string& error, std::vector<std::string>* warnings = nullptr);
