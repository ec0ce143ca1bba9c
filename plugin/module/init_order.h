// The order in which the library's static objects are constructed at load time,
// before its entry runs.
#pragma once

#define INIT_ORDER_PLUGIN_INFO 1001
#define INIT_ORDER_CLASS_DESC 1002
#define INIT_ORDER_PARAM_DESC 1003
#define INIT_ORDER_LIBRARY_ENTRY 1004
