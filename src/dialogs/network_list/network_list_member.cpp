// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include "core/buttons.h"
#include "core/module_data.h"
#include "dialogs/dialog_call.h"
#include "dialogs/network_list/network_list_form.h"
#include "kxsimlib/cdialogs.h"

namespace kxsim {

Status CDialogs::SelectNetwork(std::u16string& Section, std::u16string& Keys, int32_t& Max,
                               std::u16string& InitFile, std::u16string& Caption, Picture& Icon,
                               int32_t& HelpId, std::u16string& Language, int32_t& result) {
    return dialogs::formCall<dialogs::NetworkListForm>([&](dialogs::NetworkListForm& form) {
        // A key the list cannot hold fails the call before anything is touched.
        dialogs::NetworkListRequest request{InitFile, Section, {}, Max};
        if (Status s = dialogs::ReadKeyList(Keys, request.selected); !s) return s;

        form.setRequest(std::move(request));
        core::languageFile() = Language;  // stays in force for later dialogs
        form.setCaption(QString::fromStdU16String(Caption));  // loads the window, still hidden
        form.setHelpContextId(HelpId);
        form.setIcon(Icon);
        // The close box runs no button; it counts as Cancel.
        const bool closeBox = form.showModal() == platform::Form::Ending::CloseBox;
        result = closeBox ? buttons::kCancel : form.action();
        if (result == buttons::kOk) Keys = form.chosenKeys();
        form.unload();
        return Status();
    });
}

}  // namespace kxsim
