#include "surface/tooling.h"

#include <QApplication>

#include "dialogs/dialog_call.h"
#include "dialogs/short_message/short_message_form.h"
#include "platform/design.h"
#include "platform/form.h"
#include "platform/guarded.h"
#include "platform/help_viewer.h"
#include "platform/help_window.h"
#include "platform/library_identity.h"
#include "platform/profile_reader.h"
#include "platform/qt_bootstrap.h"
#include "platform/text_codec.h"
#include "services/leading_number.h"
#include "services/settings.h"

namespace kxsim::tooling {

std::shared_ptr<void> observeDisplayedDialogs(std::function<void(QDialog&)> observer) {
    return std::make_shared<platform::ScopedDisplayObserver>(
        [observer = std::move(observer)](platform::Form& form) { observer(form.window()); });
}

Status startApplication() { return platform::guarded(platform::ensureGuiThread); }

void setQtArguments(std::vector<std::string> arguments) { platform::setApplicationArguments(std::move(arguments)); }

void useDarkPalette() {
    QApplication::setStyle(QStringLiteral("Fusion"));  // a style that draws with the palette
    QApplication::setPalette(platform::darkPalette());
}

std::u16string libraryFolder() { return platform::libraryFolder(); }

Status showShortMessageForm(dialogs::ShortMessageContents& contents, int32_t& action) {
    return dialogs::dialogCall([&] {
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

std::u16string profileString(const std::u16string& file, std::u16string_view section, std::u16string_view key,
                             std::u16string_view fallback, size_t bufferSize) {
    return platform::profileString(file, section, key, fallback, bufferSize);
}

std::vector<std::u16string> profileKeyNames(const std::u16string& file, std::u16string_view section,
                                            size_t bufferSize, std::u16string_view fallback) {
    return platform::profileKeyNames(file, section, bufferSize, fallback);
}

std::vector<std::u16string> profileSectionNames(const std::u16string& file, size_t bufferSize) {
    return platform::profileSectionNames(file, bufferSize);
}

bool isProfileFile(const std::u16string& path) { return platform::isOrdinaryFile(path); }

dialogs::ConverterFields convertNumber(std::u16string_view input) { return dialogs::ConvertNumber(input); }

std::vector<platform::RegisteredClass> registeredClasses() { return platform::readRegistration(); }

std::u16string fromUtf8(std::string_view bytes) { return platform::fromUtf8(bytes); }

ReaderSetup readerSetup() {
    const tools::SettingsStore& store = tools::currentSettingsStore();
    const auto number = [&](const settings::NumberSetting& s) {
        return tools::LongOfText(tools::ReadSetting(store, s)).value_or(s.fallback);
    };
    return {tools::ReadSetting(store, settings::kReaderName), number(settings::kReaderTimer),
            number(settings::kReaderPause), number(settings::kReaderPinpad) != 0};
}

}  // namespace kxsim::tooling
