#include "update/plugin_info.h"

#include "plugin/library.h"

PluginInfo pluginInfo __attribute__((init_priority(INIT_ORDER_PLUGIN_INFO)));
