// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#pragma once
// The frame every dialog member runs in: inside the exception frame
// (platform::guarded), dialog members refuse to run where widgets cannot be
// used or while their own form is on screen.

#include <functional>

#include "core/module_data.h"
#include "kxsimlib/status.h"

namespace kxsim::dialogs {

/// As platform::guarded, after making sure a dialog can be shown on this thread.
Status dialogCall(const std::function<Status()>& body);

/// Runs \a body with the thread's object of form \a F inside dialogCall.
/// Host code runs inside a modal loop, so a member may be called again while
/// its own form is open; that call fails with error 400 before it touches the
/// form or any argument, and the open dialog goes on as if nothing happened.
template <class F, class Body>
Status formCall(Body&& body) {
    return dialogCall([&] {
        F& form = core::formObject<F>();
        if (form.isShownModally()) return Status::error(errors::FormAlreadyShown);
        return body(form);
    });
}

}  // namespace kxsim::dialogs
