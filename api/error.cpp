#include "slitform/error.h"

namespace slitform {

const char* ErrorCodeName(ErrorCode code) {
    switch (code) {
        case ErrorCode::BadInput:
            return "bad_input";
        case ErrorCode::BadParameter:
            return "bad_parameter";
        case ErrorCode::UnreadableFile:
            return "unreadable_file";
        case ErrorCode::UnwritableFile:
            return "unwritable_file";
        case ErrorCode::PluginMissing:
            return "plugin_missing";
        case ErrorCode::CutFailed:
            return "cut_failed";
        case ErrorCode::Cancelled:
            return "cancelled";
        case ErrorCode::OutOfMemory:
            return "out_of_memory";
    }
    return "unknown";
}

}  // namespace slitform
