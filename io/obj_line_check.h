// Checking an OBJ text line by line before the OBJ library reads it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// What the checked lines tell beside the library: for every "f" line with 3 corners or
// more, in order, its corner count (the library counts them in a byte) and the bits of
// its smoothing group, "s N" giving bit (N - 1) mod 32 for any N from 1 (the library
// reads N into an int), "s 0", "s off" and negative numbers none.
struct ObjLineFacts {
    std::vector<std::uint32_t> faceDegrees;
    std::vector<std::uint32_t> faceSmoothing;
    long long wideGroupLine = 0;  // the first line of a group number past 32 bits; 0: none
};

// Whether every number on the lines the library reads is one it reads whole:
// "v" lines hold at least three numbers and nothing else, "vw" lines a vertex
// index then joint and weight pairs with whole joints that fit an int, "f",
// "l" and "p" corners are index[/index[/index]] of non-zero whole numbers
// that fit an int (an "f" position index naming one of the vertices before
// it, counted back from there when negative). The library takes the readable start
// of a number and 0 for the rest, and overflows on indices beyond an int. False with
// problem ("line 7: ...") naming the first line that breaks this; lines end at LF, CR
// or CR LF. Gives facts about the faces as it goes.
bool CheckObjLines(const std::string& text, ObjLineFacts& facts, std::string& problem);
