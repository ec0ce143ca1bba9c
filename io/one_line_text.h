// File content quoted in error messages, made safe to print.
#pragma once

#include <cstddef>
#include <string>

// text on one line and harmless to a terminal or a dialog: control characters
// (C0, DEL and UTF-8-encoded C1, which start escape sequences) become spaces,
// and text beyond limit bytes is cut, at a character boundary, and ends "...".
std::string OneLine(const std::string& text, std::size_t limit);
