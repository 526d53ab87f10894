#pragma once
// Making sure a dialog can be shown: a QApplication on this thread, created on
// first need, and a display it can reach.

#include "kxsimlib/status.h"

namespace kxsim::platform {

/// Success when widgets may be used on the calling thread now. Creates the
/// QApplication when the host has none. Fails, without touching Qt, when no
/// display can be opened or when called off the application's thread.
Status ensureGuiThread();

}  // namespace kxsim::platform
