// Resource IDs of the plug-in: strings, dialog templates, controls and bitmaps.
#pragma once

// Strings.
#define IDS_LIBDESCRIPTION 1
#define IDS_CATEGORY 2
#define IDS_CLASS_NAME 3
#define IDS_PARAMS 4
#define IDS_ABOUT 6
#define IDS_PICK_PATH 7
#define IDS_REMOVE_UNUSED 8
#define IDS_WELD 9
#define IDS_OPEN 10
#define IDS_LOCAL 11
#define IDS_THROUGH 12
#define IDS_MATID_ON 13
#define IDS_MATID 14
#define IDS_SEL_LEVEL 15
#define IDS_MIN_ANGLE 16
#define IDS_WELD_ON 17
#define IDS_COLLINEAR 102
#define IDS_COLLINEAR_ON 103

// Dialog templates and bitmaps.
#define IDD_PARAMS 101
#define IDD_ABOUT 107
#define IDB_BANNER 101

// Parameters rollout.
#define IDC_PICK_SHAPE 1001
#define IDC_WELD_EDIT 1002
#define IDC_WELD_SPIN 1003
#define IDC_WELD_ON 1004
#define IDC_COLLINEAR_EDIT 1005
#define IDC_COLLINEAR_SPIN 1006
#define IDC_REMOVE_UNUSED 1007
#define IDC_OPEN 1008
#define IDC_LOCAL 1009
#define IDC_COLLINEAR_ON 1010
#define IDC_THROUGH 1011
#define IDC_MATID_EDIT 1012
#define IDC_MATID_SPIN 1013
#define IDC_MATID_ON 1014
#define IDC_SEL_OBJECT 1015
#define IDC_SEL_EDGES 1016
#define IDC_SEL_VERTS 1017
#define IDC_SEL_POLYGONS 1018
#define IDC_SEL_NO_CHANGE 1019
#define IDC_ANGLE_EDIT 1020
#define IDC_ANGLE_SPIN 1021

// About rollout.
#define IDC_CHECK_UPDATE 1001
#define IDC_VERSION 1049
#define IDC_BANNER 1126
