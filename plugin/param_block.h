// The parameter block description of the Slitform modifier: block "params", its
// two rollouts and thirteen parameters.
#pragma once

#include "iparamb2.h"

// Block ID and reference number of the block.
enum { slitform_params = 0 };
#define PBLOCK_REF 0

// Rollouts.
enum { slitform_map_params = 0, slitform_map_about = 1 };

// Parameter IDs.
enum {
    pb_pick_path = 0,
    pb_remove_unused = 1,
    pb_weld_on = 2,
    pb_weld = 3,
    pb_open = 4,
    pb_local = 5,
    pb_collinear_on = 6,
    pb_collinear = 7,
    pb_through = 8,
    pb_matid_on = 9,
    pb_matid = 10,
    pb_sel_level = 11,
    pb_min_angle = 12,
};

extern ParamBlockDesc2 slitform_param_blk;
