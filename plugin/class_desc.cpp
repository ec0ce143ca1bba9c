#include "plugin/class_desc.h"

#include "plugin/module/init_order.h"
#include "plugin/module/module_handle.h"
#include "plugin/module/module_string.h"
#include "plugin/slitform.h"
#include "plugin/ui/resource.h"

namespace {
SlitformClassDesc slitformDesc __attribute__((init_priority(INIT_ORDER_CLASS_DESC)));
}  // namespace

ClassDesc2* GetSlitformDesc() {
    return &slitformDesc;
}

void* SlitformClassDesc::Create(BOOL) {
    return new Slitform();
}

const wchar_t* SlitformClassDesc::ClassName() {
    return GetString(IDS_CLASS_NAME);
}

const wchar_t* SlitformClassDesc::Category() {
    return GetString(IDS_CATEGORY);
}

HINSTANCE SlitformClassDesc::HInstance() {
    return hInstance;
}
