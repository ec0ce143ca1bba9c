// Checking the numbers of a JSON text before Qt's parser sees them.
#pragma once

#include <cstddef>
#include <string>

// Whether every number outside the strings of text is a JSON number that is
// finite as a double and is followed by more text; Qt 5's parser leaks memory
// when it refuses a number. False with the offset and the text of the first
// one that is not.
bool CheckJsonNumbers(const std::string& text, std::size_t& offset, std::string& number);
