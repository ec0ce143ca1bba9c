// Checking an OBJ text line by line before the OBJ library reads it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Whether every number on the lines the library reads is one it reads whole:
// "v" lines hold at least three numbers and nothing else, "vw" lines a vertex
// index then joint and weight pairs with whole joints that fit an int, "f",
// "l" and "p" corners are index[/index[/index]] of non-zero whole numbers
// that fit an int (an "f" position index naming one of the vertices before
// it, counted back from there when negative), and "s" groups fit an int. The
// library takes the readable start of a number and 0 for the rest, and
// overflows on indices beyond an int. False with problem ("line 7: ...")
// naming the first line that breaks this; lines end at LF, CR or CR LF. Gives the
// number of corners of every "f" line with 3 or more, in order, in faceDegrees: the
// library counts them in a byte.
bool CheckObjLines(const std::string& text, std::vector<std::uint32_t>& faceDegrees,
                   std::string& problem);
