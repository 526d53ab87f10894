// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include "dialogs/clone_options/clone_options_form.h"
#include "dialogs/dialog_call.h"
#include "kxsimlib/cdialogs.h"

namespace kxsim {

Status CDialogs::CloneOptions(int32_t& result) {
    return dialogs::formCall<dialogs::CloneOptionsForm>([&](dialogs::CloneOptionsForm& form) {
        if (form.showModal() == platform::Form::Ending::CloseBox) form.closedByCloseBox();
        result = form.Selection();
        form.unload();
        return Status();
    });
}

}  // namespace kxsim
