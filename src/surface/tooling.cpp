#include "surface/tooling.h"

#include "dialogs/short_message/short_message_form.h"
#include "platform/form.h"
#include "platform/help_viewer.h"
#include "platform/help_window.h"
#include "platform/library_identity.h"
#include "platform/qt_bootstrap.h"
#include "surface/member_call.h"

namespace kxsim::tooling {

std::shared_ptr<void> observeDisplayedDialogs(std::function<void(QDialog&)> observer) {
    return std::make_shared<platform::ScopedDisplayObserver>(
        [observer = std::move(observer)](platform::Form& form) { observer(form.window()); });
}

Status startApplication() { return surface::guarded(platform::ensureGuiThread); }

std::u16string libraryFolder() { return platform::libraryFolder(); }

Status showShortMessageForm(dialogs::ShortMessageContents& contents, int32_t& action) {
    return surface::dialogCall([&] {
        dialogs::ShortMessageForm form;
        form.setContents(contents);
        const auto ending = form.showModal();
        action = form.action();
        if (ending == platform::Form::Ending::Hidden) contents = form.contents();
        form.unload();
        return Status();
    });
}

QWidget* showHelpTopic(int32_t contextId, std::u16string& problem) {
    problem.clear();
    platform::openHelp(contextId, nullptr);
    platform::HelpWindow* window = platform::HelpWindow::instance();
    if (window) problem = window->problem().toStdU16String();
    return window;
}

}  // namespace kxsim::tooling
