// The registration file's place.

#include "kxsimlib/component.h"
#include "platform/component_registry.h"

namespace kxsim {

std::string registrationFile() { return platform::registrationFilePath(); }

}  // namespace kxsim
