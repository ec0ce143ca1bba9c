// The one error type of the slitform library: every failure is thrown as it, with a
// code a program can act on and a one-line message saying what and where.
#pragma once

#include <stdexcept>
#include <string>

namespace slitform {

enum class ErrorCode {
    BadInput,        // a mesh or shape (or a value for one) malformed, out of range or empty
    BadParameter,    // a parameter unknown by name, or a value not of its type or range
    UnreadableFile,  // a file missing, refused or not understood
    UnwritableFile,  // an output that cannot be written (nothing was replaced)
    PluginMissing,   // the plug-in cannot be found or loaded
    CutFailed,       // the evaluation failed
    Cancelled,       // the progress listener stopped the cut
    OutOfMemory,     // the cut ran out of memory
};

// The code's name for scripts and logs: "bad_input", "bad_parameter", "unreadable_file",
// "unwritable_file", "plugin_missing", "cut_failed", "cancelled", "out_of_memory".
const char* ErrorCodeName(ErrorCode code);

class Error : public std::runtime_error {
public:
    Error(ErrorCode code, const std::string& message) : std::runtime_error(message), code_(code) {}
    ErrorCode Code() const { return code_; }

private:
    ErrorCode code_;
};

}  // namespace slitform
