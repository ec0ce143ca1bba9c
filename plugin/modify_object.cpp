// The modify pipeline of the Slitform modifier.
#include "plugin/slitform.h"

void Slitform::ModifyObject(TimeValue, ModContext&, ObjectState*, INode*) {}
