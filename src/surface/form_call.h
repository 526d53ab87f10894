#pragma once
// The frame of a dialog member: the thread's object of its form, refused
// while that form is already on screen.

#include "kxsimlib/status.h"
#include "surface/member_call.h"
#include "surface/module_data.h"

namespace kxsim::surface {

/// Runs \a body with the thread's object of form \a F inside dialogCall.
/// Host code runs inside a modal loop, so a member may be called again while
/// its own form is open; that call fails with error 400 before it touches the
/// form or any argument, and the open dialog goes on as if nothing happened.
template <class F, class Body>
Status formCall(Body&& body) {
    return dialogCall([&] {
        F& form = formObject<F>();
        if (form.isShownModally()) return Status::error(errors::FormAlreadyShown);
        return body(form);
    });
}

}  // namespace kxsim::surface
