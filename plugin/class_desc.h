// The class descriptor through which the host learns about the Slitform modifier
// and creates it.
#pragma once

#include "contract/slitform_class_id.h"
#include "iparamb2.h"

class SlitformClassDesc : public ClassDesc2 {
public:
    int IsPublic() override { return TRUE; }
    void* Create(BOOL loading = FALSE) override;
    const wchar_t* ClassName() override;
    SClass_ID SuperClassID() override { return OSM_CLASS_ID; }
    Class_ID ClassID() override { return SLITFORM_CLASS_ID; }
    const wchar_t* Category() override;
    const wchar_t* InternalName() override { return L"Slitform"; }
    HINSTANCE HInstance() override;
};

// The one static descriptor.
ClassDesc2* GetSlitformDesc();
