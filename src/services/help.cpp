#include "services/help.h"

#include "platform/form.h"

namespace kxsim::services {

void ShowHelp(platform::Form& form) { form.showHelp(); }

}  // namespace kxsim::services
