// Loads the Slitform plug-in as the host does and prints what it offers: its
// description, its modifier class and the parameters with defaults and ranges.
//   plugin_info [PLUGIN_FILE]
#include <cstdio>
#include <string>

#include "app/plugin_loader.h"
#include "object.h"
#include "resources.h"

namespace {

std::string Text(const wchar_t* s) { return s ? Utf8FromWide(s) : std::string("(none)"); }

const char* TypeName(ParamType2 type) {
    switch (type) {
        case TYPE_FLOAT: return "float";
        case TYPE_INT: return "int";
        case TYPE_BOOL: return "bool";
        case TYPE_INODE: return "node";
    }
    return "?";
}

}  // namespace

int main(int argc, char** argv) {
    std::string path = argc > 1 ? argv[1] : DefaultPluginPath();
    PluginLibrary lib;
    std::string error;
    if (!lib.Load(path, error)) {
        std::fprintf(stderr, "plugin_info: %s\n", error.c_str());
        return 1;
    }
    std::printf("%s\n", Text(lib.Description().c_str()).c_str());
    for (int c = 0; c < lib.NumClasses(); ++c) {
        ClassDesc2* cd = lib.GetClassDesc(c);
        std::printf("class %s (%s), category %s, class ID (0x%08X, 0x%08X)\n", Text(cd->ClassName()).c_str(),
                    Text(cd->InternalName()).c_str(), Text(cd->Category()).c_str(), cd->ClassID().PartA(),
                    cd->ClassID().PartB());
        auto* obj = static_cast<BaseObject*>(cd->Create(FALSE));
        for (int b = 0; b < cd->NumParamBlockDescs(); ++b) {
            ParamBlockDesc2* pbd = cd->GetParamBlockDesc(b);
            IParamBlock2* block = obj ? obj->GetParamBlockByID(pbd->ID) : nullptr;
            std::printf("parameter block \"%s\": %d parameters\n", Utf8FromWide(pbd->intName).c_str(), pbd->Count());
            for (int i = 0; i < pbd->Count(); ++i) {
                const ParamDef& p = pbd->GetParamDefByIndex(i);
                std::printf("  %2d %-14s %-5s", p.id, Utf8FromWide(p.intName).c_str(), TypeName(p.type));
                if (p.type == TYPE_FLOAT) {
                    std::printf(" default %g", block ? block->GetFloat(p.id) : p.defFloat);
                    if (p.hasRange) std::printf(", range %g to %g", p.lowFloat, p.highFloat);
                } else if (p.type == TYPE_INT || p.type == TYPE_BOOL) {
                    std::printf(" default %d", block ? block->GetInt(p.id) : p.defInt);
                    if (p.hasRange) std::printf(", range %d to %d", p.lowInt, p.highInt);
                } else {
                    std::printf(" default none");
                }
                std::printf("\n");
            }
        }
        if (obj) obj->DeleteThis();
    }
    return 0;
}
