// Sets one of the modifier's parameters by its internal name from text, with the
// checks a user's typing needs.
#pragma once

#include <string>

#include "iparamb2.h"

// False with a message that starts with the name (and "=value" where the value is at
// fault), and nothing changed, for an unknown name, a value that is
// not a number of the parameter's type (on/off, 1/0, true/false, yes/no for a
// switch), or one outside its range.
bool SetParameterByName(IParamBlock2* block, const std::string& name, const std::string& value,
                        std::string& error);
