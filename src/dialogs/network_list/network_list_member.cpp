#include <vector>

#include "dialogs/network_list/network_list_form.h"
#include "kxsimlib/cdialogs.h"
#include "dialogs/dialog_call.h"
#include "core/module_data.h"

namespace kxsim {

Status CDialogs::SelectNetwork(std::u16string& Section, std::u16string& Keys, int32_t& Max,
                               std::u16string& InitFile, std::u16string& Caption, Picture& Icon,
                               int32_t& HelpId, std::u16string& Language, int32_t& result) {
    return dialogs::formCall<dialogs::NetworkListForm>([&](dialogs::NetworkListForm& form) {
        // A key the list cannot hold fails the call before anything is touched.
        std::vector<dialogs::KeyToken> tokens;
        if (Status s = dialogs::ReadKeyList(Keys, tokens); !s) return s;

        // Every use starts without a pressed button, so 1 always means OK in this call.
        form.Action = 0;
        form.CurrentApp = Section;
        form.SelectedKeys = Keys;
        form.MaxSelect = Max;
        core::languageFile() = Language;  // stays in force for later dialogs
        form.InitFile = InitFile;
        form.setCaption(QString::fromStdU16String(Caption));  // loads the window, still hidden
        form.setHelpContextId(HelpId);
        form.setIcon(Icon);
        // The close box runs no button; it counts as Cancel.
        if (form.showModal() == platform::Form::Ending::CloseBox) form.Action = 2;
        Keys = form.SelectedKeys;
        result = form.Action;
        form.unload();
        return Status();
    });
}

}  // namespace kxsim
