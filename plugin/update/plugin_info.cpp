#include "plugin/update/plugin_info.h"

#include "plugin/module/init_order.h"

PluginInfo pluginInfo __attribute__((init_priority(INIT_ORDER_PLUGIN_INFO)));
