#include "dialogs/clone_options/clone_options_form.h"
#include "kxsimlib/cdialogs.h"
#include "surface/member_call.h"
#include "surface/module_data.h"

namespace kxsim {

Status CDialogs::CloneOptions(int32_t& result) {
    return surface::dialogCall([&] {
        auto& form = surface::formObject<dialogs::CloneOptionsForm>();
        if (form.showModal() == platform::Form::Ending::CloseBox) form.closedByCloseBox();
        result = form.Selection();
        form.unload();
        return Status();
    });
}

}  // namespace kxsim
