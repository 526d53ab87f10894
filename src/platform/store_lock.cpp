// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include "platform/store_lock.h"

#include <sys/stat.h>

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <optional>

#include "platform/lock_wait.h"

namespace kxsim::platform {
namespace {

// Missing or an ordinary file (not followed through a link).
bool ordinaryOrMissing(const QString& path) {
    struct stat st;
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 ? S_ISREG(st.st_mode) : errno == ENOENT;
}

}  // namespace

StoreLock::StoreLock(const QString& store, std::chrono::milliseconds limit) : lock_(store + QStringLiteral(".lock")) {
    const QString path = store + QStringLiteral(".lock");
    std::optional<LockWait> wait;  // made only when the lock is taken
    for (;;) {
        if (!ordinaryOrMissing(path)) {
            failure_ = path + QStringLiteral(" is not an ordinary file");
            return;
        }
        if (lock_.tryLock(0)) return;
        if (lock_.error() != QLockFile::LockFailedError) break;
        if (!wait) wait.emplace(QFile::encodeName(QFileInfo(store).absolutePath()).toStdString(), limit);
        if (!wait->next()) break;
    }
    switch (lock_.error()) {
    case QLockFile::LockFailedError:
        failure_ = store + QStringLiteral(" is locked by another process");
        break;
    case QLockFile::PermissionError:
        failure_ = store + QStringLiteral(" cannot be written (Permission denied)");
        break;
    default:
        failure_ = store + QStringLiteral(" cannot be written");
    }
}

}  // namespace kxsim::platform
