// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include "platform/settings_file_store.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QString>
#include <chrono>
#include <cstring>

#include "platform/library_identity.h"
#include "platform/ordinary_file.h"
#include "platform/owned_file.h"
#include "platform/lock_wait.h"
#include "platform/settings_ini.h"
#include "platform/store_lock.h"
#include "platform/whole_file.h"

namespace kxsim::platform {
namespace {

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

// \a why names the file and says what is wrong with it.
Status refused(const std::u16string& key, const QString& why) {
    return Status::error(errors::PathFileAccess, QStringLiteral("The setting %1 could not be stored: %2")
                                                     .arg(QString::fromStdU16String(key), why)
                                                     .toStdU16String());
}

Status refused(const std::u16string& key, const QString& path, const QString& reason) {
    return refused(key, path + u' ' + reason);
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

    const StoreLock lock(path, kStoreLockWait);
    if (!lock.failure().isEmpty()) return refused(key, lock.failure());
    const std::string native = QFile::encodeName(path).toStdString();
    removeStaleTemporaries(native);

    const OrdinaryFile file = readStore(path);
    if (file.outcome != FileOutcome::Read && file.outcome != FileOutcome::Missing)
        return refused(key, path, QString::fromStdString(whyNotRead(file.outcome, file.error, kMaxSettingsFileSize)));
    const std::string updated = withSetting(file.bytes, key, text);
    if (updated == file.bytes) return {};
    // QSettings refuses a file the user may not write; so does the store, rather than replace it through the folder.
    if (const std::string why = whyNotReplaceable(native); !why.empty())
        return refused(key, path, QString::fromStdString(why));

    if (const int error = replaceWholeFile(native, updated))
        return refused(key, path, QStringLiteral("cannot be written (%1)").arg(systemReason(error)));
    return {};
}

}  // namespace kxsim::platform
