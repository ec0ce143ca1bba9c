#include "app/cli/plugin_info.h"

#include <cstdio>
#include <ostream>
#include <string>

#include "resources.h"
#include "session/parameter_help.h"

namespace {

std::string Text(const wchar_t* s) {
    return s ? Utf8FromWide(s) : std::string("(none)");
}

const char* TypeName(ParamType2 type) {
    switch (type) {
        case TYPE_FLOAT:
            return "float";
        case TYPE_INT:
            return "int";
        case TYPE_BOOL:
            return "bool";
        case TYPE_INODE:
            return "node";
    }
    return "?";
}

}  // namespace

void PrintPluginInfo(const PluginLibrary& lib, std::ostream& out) {
    char line[256];
    out << Text(lib.Description().c_str()) << "\n";
    auto version = reinterpret_cast<LibVersionFn>(lib.Symbol("LibVersion"));
    std::snprintf(line, sizeof line, "library %s, host version 0x%08lX\n", lib.Path().c_str(),
                  version ? version() : 0ul);
    out << line;
    for (int c = 0; c < lib.NumClasses(); ++c) {
        ClassDesc2* cd = lib.GetClassDesc(c);
        std::snprintf(line, sizeof line, "class %s (%s), category %s, class ID (0x%08X, 0x%08X)\n",
                      Text(cd->ClassName()).c_str(), Text(cd->InternalName()).c_str(),
                      Text(cd->Category()).c_str(), cd->ClassID().PartA(), cd->ClassID().PartB());
        out << line;
        for (int b = 0; b < cd->NumParamBlockDescs(); ++b) {
            ParamBlockDesc2* pbd = cd->GetParamBlockDesc(b);
            out << "parameter block \"" << Utf8FromWide(pbd->intName) << "\": " << pbd->Count()
                << " parameters\n";
            for (int i = 0; i < pbd->Count(); ++i) {
                const ParamDef& p = pbd->GetParamDefByIndex(i);
                std::snprintf(line, sizeof line, "  %2d %-14s %-5s", p.id,
                              Utf8FromWide(p.intName).c_str(), TypeName(p.type));
                out << line;
                if (p.type == TYPE_FLOAT) {
                    std::snprintf(line, sizeof line, " default %g", p.defFloat);
                    out << line;
                    if (p.hasRange) {
                        std::snprintf(line, sizeof line, ", range %g to %g", p.lowFloat,
                                      p.highFloat);
                        out << line;
                    }
                } else if (p.type == TYPE_INT || p.type == TYPE_BOOL) {
                    out << " default " << p.defInt;
                    if (p.hasRange)
                        out << ", range " << p.lowInt << " to " << p.highInt;
                } else {
                    out << " default none";
                }
                out << "\n";
                std::string help = ParameterHelp(Utf8FromWide(p.intName));
                if (!help.empty())
                    out << "       " << help << "\n";
            }
        }
    }
}
