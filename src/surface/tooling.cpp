#include "surface/tooling.h"

#include "platform/form.h"
#include "platform/library_identity.h"

namespace kxsim::tooling {

std::shared_ptr<void> observeDisplayedDialogs(std::function<void(QDialog&)> observer) {
    return std::make_shared<platform::ScopedDisplayObserver>(
        [observer = std::move(observer)](platform::Form& form) { observer(form.window()); });
}

std::u16string libraryFolder() { return platform::libraryFolder(); }

}  // namespace kxsim::tooling
