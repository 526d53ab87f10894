#include "surface/tooling.h"

#include "platform/form.h"
#include "platform/help_viewer.h"
#include "platform/help_window.h"
#include "platform/library_identity.h"

namespace kxsim::tooling {

std::shared_ptr<void> observeDisplayedDialogs(std::function<void(QDialog&)> observer) {
    return std::make_shared<platform::ScopedDisplayObserver>(
        [observer = std::move(observer)](platform::Form& form) { observer(form.window()); });
}

std::u16string libraryFolder() { return platform::libraryFolder(); }

QWidget* showHelpTopic(int32_t contextId, std::u16string& problem) {
    problem.clear();
    platform::openHelp(contextId, nullptr);
    platform::HelpWindow* window = platform::HelpWindow::instance();
    if (window) problem = window->problem().toStdU16String();
    return window;
}

}  // namespace kxsim::tooling
