#include "platform/settings_file_store.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>
#include <QString>
#include <cstring>

#include "platform/library_identity.h"
#include "platform/ordinary_file.h"
#include "platform/settings_ini.h"
#include "platform/whole_file.h"

namespace kxsim::platform {
namespace {

// A writer waits this long for another process's write to end.
constexpr int kLockWaitMs = 5000;

QString systemReason(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

QString storePath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + u'/' +
           QString::fromStdU16String(std::u16string(kCompanyName)) + u'/' +
           QString::fromStdU16String(std::u16string(kProductName)) + QStringLiteral(".conf");
}

// The store's file, read by the one rule for files within the store's limit.
OrdinaryFile readStore(const QString& path) {
    return readOrdinaryFile(QFile::encodeName(path).toStdString(), kMaxSettingsFileSize);
}

Status refused(const std::u16string& key, const QString& path, const QString& reason) {
    return Status::error(errors::PathFileAccess,
                         QStringLiteral("The setting %1 could not be stored: %2 %3")
                             .arg(QString::fromStdU16String(key), path, reason)
                             .toStdU16String());
}

QString lockFailure(const QLockFile& lock) {
    switch (lock.error()) {
    case QLockFile::LockFailedError:
        return QStringLiteral("is locked by another process");
    case QLockFile::PermissionError:
        return QStringLiteral("cannot be written (Permission denied)");
    default:
        return QStringLiteral("cannot be written");
    }
}

}  // namespace

// No lock for a read: the file is only ever replaced whole, so a read sees one complete store.
std::optional<std::u16string> SettingsFileStore::value(const std::u16string& key) const {
    const OrdinaryFile file = readStore(storePath());
    if (file.outcome != FileOutcome::Read) return std::nullopt;
    return settingsText(file.bytes, key);
}

core::SettingsValues SettingsFileStore::readKeys(std::initializer_list<std::u16string_view> keys) const {
    const OrdinaryFile file = readStore(storePath());
    if (file.outcome != FileOutcome::Read) return {};
    return settingsTexts(file.bytes, keys);
}

Status SettingsFileStore::setValue(const std::u16string& key, const std::u16string& text) {
    if (!isStorableSetting(key, text))
        return Status::error(errors::InvalidCall,
                             u"The setting " + key + u" could not be stored: its name or value is not valid text");
    const QString path = storePath();
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return refused(key, path, QStringLiteral("cannot be written (its folder cannot be made)"));

    // The lock file QSettings takes for the same store, so older writers keep out too.
    QLockFile lock(path + QStringLiteral(".lock"));
    if (!lock.tryLock(kLockWaitMs)) return refused(key, path, lockFailure(lock));

    const OrdinaryFile file = readStore(path);
    if (file.outcome != FileOutcome::Read && file.outcome != FileOutcome::Missing)
        return refused(key, path, QString::fromStdString(whyNotRead(file.outcome, file.error, kMaxSettingsFileSize)));
    const std::string updated = withSetting(file.bytes, key, text);
    if (updated == file.bytes) return {};

    if (const int error = replaceWholeFile(QFile::encodeName(path).toStdString(), updated))
        return refused(key, path, QStringLiteral("cannot be written (%1)").arg(systemReason(error)));
    return {};
}

}  // namespace kxsim::platform
