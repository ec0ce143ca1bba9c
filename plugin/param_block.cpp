#include "plugin/param_block.h"

#include "plugin/class_desc.h"
#include "plugin/module/init_order.h"
#include "plugin/ui/resource.h"

ParamBlockDesc2 slitform_param_blk __attribute__((init_priority(INIT_ORDER_PARAM_DESC))) (
    slitform_params, L"params", 0, GetSlitformDesc(), P_AUTO_CONSTRUCT | P_AUTO_UI | P_MULTIMAP,
    PBLOCK_REF,
    {
        ParamMapDesc{slitform_map_params, IDD_PARAMS, IDS_PARAMS, 0, 0, nullptr},
        ParamMapDesc{slitform_map_about, IDD_ABOUT, IDS_ABOUT, 0, APPENDROLL_CLOSED, nullptr},
    },
    {
        ParamDef::Node(pb_pick_path, L"Pick path", 0, IDS_PICK_PATH).PickButton(IDC_PICK_SHAPE),
        ParamDef::Bool(pb_remove_unused, L"remove_unused", P_ANIMATABLE, IDS_REMOVE_UNUSED, true)
            .CheckBox(IDC_REMOVE_UNUSED),
        ParamDef::Bool(pb_weld_on, L"weld_on", P_ANIMATABLE, IDS_WELD_ON, false)
            .CheckBox(IDC_WELD_ON),
        ParamDef::Float(pb_weld, L"weld", P_ANIMATABLE, IDS_WELD, 0.001f)
            .Range(0.0f, 10000000.0f)
            .Dim(stdWorldDim)
            .Spinner(EDITTYPE_UNIVERSE, IDC_WELD_EDIT, IDC_WELD_SPIN, 0.001f),
        ParamDef::Bool(pb_open, L"open", P_ANIMATABLE, IDS_OPEN, false).CheckBox(IDC_OPEN),
        ParamDef::Bool(pb_local, L"local", P_ANIMATABLE, IDS_LOCAL, false).CheckBox(IDC_LOCAL),
        ParamDef::Bool(pb_collinear_on, L"collinear_on", P_ANIMATABLE, IDS_COLLINEAR_ON, false)
            .CheckBox(IDC_COLLINEAR_ON),
        ParamDef::Float(pb_collinear, L"collinear", P_ANIMATABLE, IDS_COLLINEAR, 0.001f)
            .Range(0.0f, 10000000.0f)
            .Spinner(EDITTYPE_FLOAT, IDC_COLLINEAR_EDIT, IDC_COLLINEAR_SPIN, 0.001f),
        ParamDef::Bool(pb_through, L"through", P_ANIMATABLE, IDS_THROUGH, false)
            .CheckBox(IDC_THROUGH),
        ParamDef::Bool(pb_matid_on, L"matid_on", P_ANIMATABLE, IDS_MATID_ON, false)
            .CheckBox(IDC_MATID_ON),
        ParamDef::Int(pb_matid, L"matid", P_ANIMATABLE, IDS_MATID, 1)
            .Range(1, 999)
            .Spinner(EDITTYPE_INT, IDC_MATID_EDIT, IDC_MATID_SPIN, 1.0f),
        // The value of a button is its place in this list, not its place in the dialog.
        ParamDef::Int(pb_sel_level, L"sel_level", 0, IDS_SEL_LEVEL, 4)
            .Range(0, 4)
            .Radio({IDC_SEL_OBJECT, IDC_SEL_VERTS, IDC_SEL_EDGES, IDC_SEL_POLYGONS,
                    IDC_SEL_NO_CHANGE}),
        ParamDef::Float(pb_min_angle, L"min_angle", P_ANIMATABLE, IDS_MIN_ANGLE, 27.0f)
            .Range(0.0f, 33.0f)
            .Spinner(EDITTYPE_FLOAT, IDC_ANGLE_EDIT, IDC_ANGLE_SPIN, 0.1f),
    });
