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

// Why a store that is there cannot be taken, or empty when it can.
QString whyUnusable(const OrdinaryFile& file) {
    switch (file.outcome) {
    case OrdinaryFile::Outcome::Read:
    case OrdinaryFile::Outcome::Missing:
        return {};
    case OrdinaryFile::Outcome::NotOrdinary:
        return QStringLiteral("is not an ordinary file");
    case OrdinaryFile::Outcome::TooLarge:
        return QStringLiteral("is larger than %1 bytes").arg(kMaxSettingsFileSize);
    case OrdinaryFile::Outcome::Unreadable:
        break;
    }
    return QStringLiteral("cannot be read (%1)").arg(systemReason(file.error));
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

std::optional<std::u16string> SettingsFileStore::value(const std::u16string& key) const {
    // No lock: the file is only ever replaced whole, so a read sees one complete store.
    const OrdinaryFile file = readOrdinaryFile(QFile::encodeName(storePath()).toStdString(), kMaxSettingsFileSize);
    if (file.outcome != OrdinaryFile::Outcome::Read) return std::nullopt;
    return settingsText(file.bytes, key);
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

    const OrdinaryFile file = readOrdinaryFile(QFile::encodeName(path).toStdString(), kMaxSettingsFileSize);
    if (const QString why = whyUnusable(file); !why.isEmpty()) return refused(key, path, why);
    const std::string updated = withSetting(file.bytes, key, text);
    if (updated == file.bytes) return {};

    if (const int error = replaceWholeFile(QFile::encodeName(path).toStdString(), updated))
        return refused(key, path, QStringLiteral("cannot be written (%1)").arg(systemReason(error)));
    return {};
}

}  // namespace kxsim::platform
