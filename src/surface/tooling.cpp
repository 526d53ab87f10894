// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include "surface/tooling.h"

#include <QApplication>

#include <map>
#include <tuple>
#include <utility>

#include "dialogs/dialog_call.h"
#include "platform/guarded.h"
#include "platform/language_text.h"
#include "dialogs/number_converter/number_converter_model.h"
#include "dialogs/short_message/short_message_form.h"
#include "dialogs/short_message/short_message_member.h"
#include "platform/component_registry.h"
#include "platform/design.h"
#include "platform/form.h"
#include "platform/guarded.h"
#include "platform/language_text.h"
#include "platform/help_viewer.h"
#include "platform/help_window.h"
#include "platform/ini_document.h"
#include "platform/library_identity.h"
#include "platform/profile_reader.h"
#include "platform/qt_bootstrap.h"
#include "platform/text_codec.h"
#include "services/leading_number.h"
#include "services/settings.h"
#include "services/translation.h"
#include "surface/cdialogs_members.h"
#include "surface/dispatch_table.h"

namespace kxsim::tooling {
namespace {

// A parameter's value from an Argument of the same type; false for another type.
template <class T>
bool take(const Argument& from, T& to) {
    const T* held = std::get_if<T>(&from);
    if (held) to = *held;
    return held != nullptr;
}

// Calls the member function Fn with \a args converted by its own parameter
// types, as call by name does with Variants.
template <auto Fn>
Status typedCall(CDialogs& target, const MemberDescription& member, std::vector<Argument>& args, Argument& result) {
    using M = surface::detail::MemberFn<decltype(Fn)>;
    using Values = typename M::Values;
    const bool withResult = member.role != MemberRole::PropertyPut;  // the final parameter is the result
    const size_t argCount = withResult ? M::count - 1 : M::count;
    if (args.size() != argCount) return Status::error(errors::WrongArgCount);
    Values values{};
    bool converted = true;
    [&]<size_t... I>(std::index_sequence<I...>) {
        ((converted = converted && (I >= argCount || take(args[I], std::get<I>(values)))), ...);
    }(std::make_index_sequence<M::count>{});
    if (!converted) return Status::error(errors::TypeMismatch);
    // The result starts as given, so a call refused before the member runs leaves it so.
    if (withResult) take(result, std::get<M::count - 1>(values));
    const Status status = std::apply([&](auto&... v) { return (target.*Fn)(v...); }, values);
    [&]<size_t... I>(std::index_sequence<I...>) {
        ((I < argCount ? void(args[I] = Argument(std::get<I>(values))) : void()), ...);
    }(std::make_index_sequence<M::count>{});
    result = withResult ? Argument(std::get<M::count - 1>(values)) : Argument();
    return status;
}

using TypedCall = Status (*)(CDialogs&, const MemberDescription&, std::vector<Argument>&, Argument&);

const std::map<const MemberDescription*, TypedCall>& typedCalls() {
    static const auto calls = [] {
        std::map<const MemberDescription*, TypedCall> out;
        surface::forEachCDialogsMember([&]<auto Fn>(const MemberDescription& member) { out[&member] = &typedCall<Fn>; });
        return out;
    }();
    return calls;
}

}  // namespace

const std::vector<const MemberDescription*>& cdialogsMembers() {
    static const auto members = [] {
        std::vector<const MemberDescription*> out;
        surface::forEachCDialogsMember([&]<auto>(const MemberDescription& member) { out.push_back(&member); });
        return out;
    }();
    return members;
}

const MemberDescription* findMember(std::u16string_view name) {
    if (name == dialogs::shortMessageFormMember().name) return &dialogs::shortMessageFormMember();
    for (const MemberDescription* member : cdialogsMembers())
        if (member->name == name) return member;
    return nullptr;
}

Status callMember(CDialogs& target, const MemberDescription& member, std::vector<Argument>& args, Argument& result) {
    return platform::guarded([&] {
        const auto it = typedCalls().find(&member);
        if (it == typedCalls().end()) return Status::error(errors::NotSupported);
        return it->second(target, member, args, result);
    });
}

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

Status showShortMessageForm(ShortMessageContents& contents, int32_t& action) {
    return dialogs::dialogCall([&] {
        dialogs::ShortMessageForm form;
        form.setContents({contents.name, contents.statusIndex, contents.address, contents.validityIndex,
                          {contents.validity.label, contents.validity.value}, contents.center, contents.text,
                          contents.report});
        const auto ending = form.showModal();
        action = form.action();
        if (ending == platform::Form::Ending::Hidden) {
            const dialogs::ShortMessageContents shown = form.contents();
            contents = {shown.name,   shown.statusIndex, shown.address, shown.validityIndex,
                        {shown.validity.label, shown.validity.value}, shown.center, shown.text, shown.report};
        }
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

std::u16string whyNoProfileFile(const std::u16string& path) {
    int error = 0;
    const platform::FileOutcome outcome =
        path.empty() ? platform::FileOutcome::Missing
                     : platform::checkOrdinaryFile(platform::toUtf8(path), platform::kMaxProfileFileSize, nullptr, &error);
    return platform::fromUtf8(platform::whyNotRead(outcome, error, platform::kMaxProfileFileSize));
}

std::u16string profileNameKey(std::u16string_view name) {
    const auto blank = [](char16_t c) { return c == u' ' || (c >= u'\t' && c <= u'\r') || c == 0x1A; };
    while (!name.empty() && blank(name.front())) name.remove_prefix(1);
    while (!name.empty() && blank(name.back())) name.remove_suffix(1);
    return platform::foldCase(name);
}

std::shared_ptr<void> recordTranslationLookups(std::function<void(const TranslatableText&)> record) {
    return services::recordLookups([record = std::move(record)](const services::LookedUpText& text) {
        record(TranslatableText{text.form, text.section, text.key});
    });
}

std::vector<TranslatableText> formTranslateTexts() {
    std::vector<TranslatableText> texts;
    for (const services::FormText* text : services::formTexts()) texts.push_back({std::u16string(text->form()), std::u16string(platform::kLabelSection), std::u16string(text->text())});
    return texts;
}

ConverterFields convertNumber(std::u16string_view input) {
    const dialogs::ConverterFields f = dialogs::ConvertNumber(input);
    return {f.status, f.hex, f.dec, f.oct, f.bin};
}

std::vector<RegisteredClass> registeredClasses() {
    std::vector<RegisteredClass> out;
    for (const platform::RegisteredClass& c : platform::readRegistration())
        out.push_back({c.name, c.classId, c.interfaceName, c.interfaceId, c.creatable, c.library});
    return out;
}

std::u16string fromUtf8(std::string_view bytes) { return platform::fromUtf8(bytes); }

ReaderSetup readerSetup() {
    // One read of the store for all four keys.
    const core::SettingsSnapshot store(services::currentSettingsStore(),
                                       {settings::kReaderName.key, settings::kReaderTimer.key,
                                        settings::kReaderPause.key, settings::kReaderPinpad.key});
    const auto number = [&](const settings::NumberSetting& s) {
        return services::LongOfText(core::ReadSetting(store, s)).value_or(s.fallback);
    };
    return {core::ReadSetting(store, settings::kReaderName), number(settings::kReaderTimer),
            number(settings::kReaderPause), number(settings::kReaderPinpad) != 0};
}

}  // namespace kxsim::tooling
