#include "services/help.h"

#include "platform/form.h"

namespace kxsim::tools {

void ShowHelp(platform::Form& form) { form.showHelp(); }

}  // namespace kxsim::tools
