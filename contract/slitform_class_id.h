// The identity of the Slitform modifier, by which hosts create it and scenes
// store it.
#pragma once

#include "classid.h"

#define SLITFORM_CLASS_ID Class_ID(0x99B58387, 0xD1918693)
