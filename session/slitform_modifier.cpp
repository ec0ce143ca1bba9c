#include "session/slitform_modifier.h"

#include "contract/slitform_class_id.h"

Modifier* NewSlitformModifier(const PluginLibrary& lib) {
    return static_cast<Modifier*>(lib.CreateInstance(OSM_CLASS_ID, SLITFORM_CLASS_ID));
}
