#include "slitform/parameter_list.h"

#include <mutex>

#include "api/library_lock.h"
#include "api/plugin_path.h"
#include "resources.h"
#include "session/parameter_help.h"
#include "session/plugin_library.h"
#include "slitform/error.h"

namespace slitform {

std::vector<ParameterInfo> ListParameters(const std::string& plugin) {
    std::lock_guard<std::mutex> hold(LibraryLoadLock());
    PluginLibrary lib;
    std::string error;
    if (!lib.Load(PluginPath(plugin), error))
        throw Error(ErrorCode::PluginMissing, error);
    std::vector<ParameterInfo> list;
    for (int c = 0; c < lib.NumClasses(); ++c) {
        ClassDesc2* cd = lib.GetClassDesc(c);
        for (int b = 0; b < cd->NumParamBlockDescs(); ++b) {
            ParamBlockDesc2* pbd = cd->GetParamBlockDesc(b);
            for (int i = 0; i < pbd->Count(); ++i) {
                const ParamDef& p = pbd->GetParamDefByIndex(i);
                if (p.type != TYPE_FLOAT && p.type != TYPE_INT && p.type != TYPE_BOOL)
                    continue;
                ParameterInfo info;
                info.name = Utf8FromWide(p.intName);
                info.meaning = ParameterHelp(info.name);
                info.hasRange = p.hasRange;
                if (p.type == TYPE_FLOAT) {
                    info.kind = "number";
                    info.defaultValue = p.defFloat;
                    info.low = p.lowFloat;
                    info.high = p.highFloat;
                } else {
                    info.kind = p.type == TYPE_BOOL ? "switch" : "whole";
                    info.defaultValue = p.defInt;
                    info.low = p.lowInt;
                    info.high = p.highInt;
                }
                if (p.type == TYPE_BOOL) {
                    info.hasRange = true;
                    info.low = 0;
                    info.high = 1;
                }
                list.push_back(info);
            }
        }
    }
    return list;
}

}  // namespace slitform
