// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include "dialogs/dialog_call.h"
#include "dialogs/magnetic_stripe/magnetic_stripe_form.h"
#include "kxsimlib/cdialogs.h"

namespace kxsim {

Status CDialogs::MagnetOptions(std::u16string& result) {
    return dialogs::formCall<dialogs::MagneticStripeForm>([&](dialogs::MagneticStripeForm& form) {
        const auto ending = form.showModal();
        result = form.magsIds();
        form.unload();
        // The identifiers are handed back even when storing the settings
        // failed; the failed Status tells the host that they were not kept.
        return ending == platform::Form::Ending::Hidden ? form.confirmStatus() : Status();
    });
}

}  // namespace kxsim
