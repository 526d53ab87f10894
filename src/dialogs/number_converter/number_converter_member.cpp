#include "dialogs/number_converter/number_converter_form.h"
#include "kxsimlib/cdialogs.h"
#include "surface/member_call.h"
#include "surface/module_data.h"

namespace kxsim {

Status CDialogs::Converter(std::u16string& result) {
    // The converter hands nothing back.
    result.clear();
    return surface::dialogCall([] {
        // Close unloads the window itself; the next call loads it afresh and empty.
        surface::formObject<dialogs::NumberConverterForm>().showModal();
        return Status();
    });
}

}  // namespace kxsim
