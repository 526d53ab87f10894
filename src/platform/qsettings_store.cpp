#include "platform/qsettings_store.h"

#include <QSettings>
#include <QString>

#include "platform/library_identity.h"

namespace kxsim::platform {
namespace {

// A fresh QSettings for every access reads the file again when another process
// of the same user has changed it.
QSettings openStore() {
    return QSettings(QSettings::NativeFormat, QSettings::UserScope,
                     QString::fromStdU16String(std::u16string(kCompanyName)),
                     QString::fromStdU16String(std::u16string(kProductName)));
}

}  // namespace

std::optional<std::u16string> QSettingsStore::value(const std::u16string& key) const {
    QSettings settings = openStore();
    const QVariant v = settings.value(QString::fromStdU16String(key));
    // A corrupt file reads as absent keys; a value of another type than text too.
    if (settings.status() != QSettings::NoError || !v.isValid() ||
        v.typeId() != QMetaType::QString)
        return std::nullopt;
    return v.toString().toStdU16String();
}

Status QSettingsStore::setValue(const std::u16string& key, const std::u16string& text) {
    QSettings settings = openStore();
    settings.setValue(QString::fromStdU16String(key), QString::fromStdU16String(text));
    settings.sync();  // merges with what other processes wrote, under the store's lock
    if (settings.status() == QSettings::NoError) return {};
    const QString reason = settings.status() == QSettings::AccessError
                               ? QStringLiteral("cannot be written")
                               : QStringLiteral("is not a valid settings file");
    return Status::error(errors::PathFileAccess,
                         (QStringLiteral("The setting %1 could not be stored: %2 %3")
                              .arg(QString::fromStdU16String(key), settings.fileName(), reason))
                             .toStdU16String());
}

}  // namespace kxsim::platform
