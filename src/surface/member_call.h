#pragma once
// The frame every public member runs in: no exception crosses it, and dialog
// members refuse to run where widgets cannot be used.

#include <functional>

#include "kxsimlib/status.h"

namespace kxsim::surface {

/// Runs \a body and turns any exception into a failed Status.
Status guarded(const std::function<Status()>& body);

/// As guarded, after making sure a dialog can be shown on this thread.
Status dialogCall(const std::function<Status()>& body);

}  // namespace kxsim::surface
