#include "core/module_data.h"

namespace kxsim::core {

std::u16string& languageFile() {
    thread_local std::u16string path;
    return path;
}

}  // namespace kxsim::core
