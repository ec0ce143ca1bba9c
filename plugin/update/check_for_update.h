// The update check: asks the maker's web server for the latest version, offers
// a newer one for download, and asks about automatic checking.
#pragma once

#include "windefs.h"

// Runs the check with owner as the owner of its boxes and of the download's
// progress bar. Silent when the server cannot be reached or its answer has no
// version record. A newer version is offered (and on Yes saved where the user
// chooses); otherwise, unless pluginInfo.checkDone is set, the user is asked
// whether to check automatically, and the answer is stored. Sets checkDone
// once the server answered; true when a newer version was found.
bool CheckForUpdate(HWND owner);
