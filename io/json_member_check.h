// Checking the member names of a JSON text before Qt's parser sees them.
#pragma once

#include <cstddef>
#include <string>

// Whether no object of text names a member twice; Qt 5's parser leaks memory on some
// repeated members. Names are compared as written, escapes included. False with the
// offset and the name of the first repeated member.
bool CheckJsonMembers(const std::string& text, std::size_t& offset, std::string& name);
