#include "surface/module_data.h"

namespace kxsim::surface {

std::u16string& languageFile() {
    thread_local std::u16string path;
    return path;
}

}  // namespace kxsim::surface
