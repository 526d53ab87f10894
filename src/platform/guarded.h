// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#pragma once
// The exception frame of every public call: no exception crosses it. The
// dialogs' member frame (dialogs::dialogCall) runs inside it too.

#include <functional>

#include "kxsimlib/status.h"

namespace kxsim::platform {

/// Runs \a body and turns any exception into a failed Status: OutOfMemory for
/// std::bad_alloc, Internal with the exception's text for any other.
Status guarded(const std::function<Status()>& body);

}  // namespace kxsim::platform
