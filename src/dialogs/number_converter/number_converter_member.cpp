// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include "dialogs/dialog_call.h"
#include "dialogs/number_converter/number_converter_form.h"
#include "kxsimlib/cdialogs.h"

namespace kxsim {

Status CDialogs::Converter(std::u16string& result) {
    return dialogs::formCall<dialogs::NumberConverterForm>([&](dialogs::NumberConverterForm& form) {
        // The converter hands nothing back. Close unloads the window itself;
        // the next call loads it afresh and empty.
        result.clear();
        form.showModal();
        return Status();
    });
}

}  // namespace kxsim
