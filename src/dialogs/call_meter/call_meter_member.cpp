// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include "core/help_context.h"
#include "dialogs/call_meter/call_meter_form.h"
#include "dialogs/dialog_call.h"
#include "kxsimlib/cdialogs.h"

namespace kxsim {

Status CDialogs::SelectMeter(std::u16string& Acm, std::u16string& Amv, std::u16string& Ccu,
                             std::u16string& Ppu, Picture& Icon, int32_t& result) {
    return dialogs::formCall<dialogs::CallMeterForm>([&](dialogs::CallMeterForm& form) {
        form.Action = 0;
        form.setHelpContextId(help::kCallMeter);
        form.showIcon(Icon);
        form.putHostTexts(Acm, Amv, Ccu, Ppu);
        if (Status opening = form.computeOpening(); !opening) {
            form.unload();
            return opening;
        }
        const auto ending = form.showModal();
        // Closed by OK or Cancel, the window is only hidden and its fields hold
        // the user's texts. Closed any other way it is gone, and the host gets
        // back exactly what it passed.
        if (ending == platform::Form::Ending::Hidden) {
            Acm = form.fieldText(dialogs::MeterField::Acm);
            Amv = form.fieldText(dialogs::MeterField::Amv);
            Ccu = form.fieldText(dialogs::MeterField::Ccu);
            Ppu = form.fieldText(dialogs::MeterField::Ppu);
        }
        result = form.Action;
        form.unload();
        return Status();
    });
}

}  // namespace kxsim
