// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include "dialogs/card_reader/card_reader_form.h"
#include "dialogs/dialog_call.h"
#include "kxsimlib/cdialogs.h"

namespace kxsim {

Status CDialogs::Kartenleser(std::u16string& Readers, std::u16string& result) {
    return dialogs::formCall<dialogs::CardReaderForm>([&](dialogs::CardReaderForm& form) {
        form.setReaderList(Readers);
        const auto ending = form.showModal();
        result = form.prefName();
        form.unload();
        // The name is handed back even when storing the choices failed; the
        // failed Status tells the host that they will not be there next time.
        return ending == platform::Form::Ending::Hidden ? form.confirmStatus() : Status();
    });
}

}  // namespace kxsim
