// One cut from start to end: the plug-in loaded, a scene of the object and the
// shape, the modifier applied with its parameters, the evaluation, and the
// result, report and picture written.
#pragma once

#include <iosfwd>
#include <memory>
#include <string>

#include "app/cli_options.h"
#include "iparamb2.h"
#include "polyobj.h"
#include "splshape.h"

// Takes the options (outputs, parameters, transforms, steps), the object and the
// shape. Returns the exit code: 0, or 1 with a one-line message in
// error. Prints a short summary to out.
int RunCut(const CliOptions& options, std::unique_ptr<PolyObject> object,
           std::unique_ptr<SplineShape> shape, std::ostream& out, std::string& error);

// Sets a parameter of the block by its internal name from text; false with a
// message for an unknown name, a value that is not a number of the parameter's
// type, or one outside its range.
bool SetParameterByName(IParamBlock2* block, const std::string& name, const std::string& value,
                        std::string& error);
