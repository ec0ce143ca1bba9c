// The stored setting of the automatic update check: value "autocheckversion"
// of the plug-in's settings key, the text "0" or "1".
#pragma once

// Sets pluginInfo.autoCheck from the stored setting; keeps it when the key or
// the value cannot be read.
void ReadAutoCheckSetting();
// Stores pluginInfo.autoCheck, making the key when missing; false when the key
// can be neither opened nor made.
bool WriteAutoCheckSetting();
