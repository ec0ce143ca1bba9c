// The address of the maker's web server that the update check asks.
#pragma once

#include <string>

// "host" or "host:port" (443 without a port). $SLITFORM_UPDATE_SERVER comes
// first, so that tests can point the check at a server of their own without
// touching the user's settings; then value "updateserver" of the plug-in's
// settings key; else a name under the reserved domain .invalid, which never
// resolves, so that a check with no server configured ends at once and
// silently, as one without a connection does.
std::wstring UpdateServerAddress();
