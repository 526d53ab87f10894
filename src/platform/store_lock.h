// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#pragma once
// The lock a settings write holds: QSettings' own lock file beside the store
// ("Kestrix.conf.lock"), so that QSettings writers keep out too. Waiting is
// bounded, and the lock file must be missing or an ordinary file: QLockFile
// reads an existing one to see whether its process still runs, and a FIFO
// there would block that read for ever.

#include <QLockFile>
#include <QString>
#include <chrono>

namespace kxsim::platform {

class StoreLock {
public:
    /// Takes the lock file of the store \a store within \a limit.
    StoreLock(const QString& store, std::chrono::milliseconds limit);
    /// Empty while the lock is held, else what stands in the way and why:
    /// "<lock file> is not an ordinary file", "<store> is locked by another process", ...
    const QString& failure() const { return failure_; }

private:
    QLockFile lock_;
    QString failure_;
};

}  // namespace kxsim::platform
