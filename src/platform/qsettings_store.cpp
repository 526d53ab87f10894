#include "platform/qsettings_store.h"

#include <fcntl.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
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

// Whether the store's file can be written: the file and its folder (QSettings
// writes a lock file and a new copy beside it) or, before the first write, the
// nearest folder that exists. QSettings keeps a refused change pending in its
// per-process cache, where every later access would retry it and report an
// access error, so a write that cannot succeed is refused before it is made.
bool writable(const QString& fileName) {
    const auto canWrite = [](const QString& path) {
        return ::faccessat(AT_FDCWD, QFile::encodeName(path).constData(), W_OK, AT_EACCESS) == 0;
    };
    const QFileInfo file(fileName);
    if (file.exists()) return file.isFile() && canWrite(fileName) && canWrite(file.absolutePath());
    QFileInfo folder(file.absolutePath());
    while (!folder.exists() && !folder.isRoot()) folder.setFile(folder.absolutePath());
    return folder.isDir() && canWrite(folder.absoluteFilePath());
}

}  // namespace

std::optional<std::u16string> QSettingsStore::value(const std::u16string& key) const {
    QSettings settings = openStore();
    const QVariant v = settings.value(QString::fromStdU16String(key));
    // A corrupt file reads as absent keys; a value of another type than text too.
    // A file that cannot be written is still read.
    if (settings.status() == QSettings::FormatError || !v.isValid() ||
        v.typeId() != QMetaType::QString)
        return std::nullopt;
    return v.toString().toStdU16String();
}

Status QSettingsStore::setValue(const std::u16string& key, const std::u16string& text) {
    QSettings settings = openStore();
    const bool canWrite = writable(settings.fileName());
    if (canWrite) {
        settings.setValue(QString::fromStdU16String(key), QString::fromStdU16String(text));
        settings.sync();  // merges with what other processes wrote, under the store's lock
        if (settings.status() == QSettings::NoError) return {};
    }
    const QString reason = !canWrite || settings.status() == QSettings::AccessError
                               ? QStringLiteral("cannot be written")
                               : QStringLiteral("is not a valid settings file");
    return Status::error(errors::PathFileAccess,
                         (QStringLiteral("The setting %1 could not be stored: %2 %3")
                              .arg(QString::fromStdU16String(key), settings.fileName(), reason))
                             .toStdU16String());
}

}  // namespace kxsim::platform
