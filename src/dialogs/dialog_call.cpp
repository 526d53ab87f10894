// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include "dialogs/dialog_call.h"

#include "platform/guarded.h"
#include "platform/qt_bootstrap.h"

namespace kxsim::dialogs {

Status dialogCall(const std::function<Status()>& body) {
    return platform::guarded([&] {
        if (Status s = platform::ensureGuiThread(); !s) return s;
        return body();
    });
}

}  // namespace kxsim::dialogs
