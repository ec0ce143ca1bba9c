// One cut from start to end: the plug-in loaded, the object and the shape placed,
// the modifier's parameters set, the evaluation, and the result, report and
// picture written.
#pragma once

#include <iosfwd>
#include <memory>
#include <string>

#include "app/cli/cli_options.h"
#include "io/mesh_attributes.h"
#include "polyobj.h"
#include "splshape.h"

// Takes the options (outputs, parameters, transforms, steps), the object, what
// its mesh carries besides (carried onto the result) and the shape. Returns the
// exit code: 0, 1 for a failure to load, cut or write, or 2 for a parameter
// refused; the message is in error. Prints a short summary to out (to err when
// the report goes to stdout) and warnings about a result that is likely not
// what was meant to err.
int RunCut(const CliOptions& options, std::unique_ptr<PolyObject> object,
           const MeshAttributes& attributes, std::unique_ptr<SplineShape> shape, std::ostream& out,
           std::ostream& err, std::string& error);
