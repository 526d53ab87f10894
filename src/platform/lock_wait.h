// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#pragma once
// Waiting, for a limited time, for a lock another process holds on a file in
// a folder. The waiter wakes as soon as something in the folder is removed
// or closed after writing (a lock file goes, a lock's descriptor is closed),
// so it tries again the moment the holder lets go, rather than after a sleep
// in which a busy holder takes the lock again; without such news it still
// tries every few milliseconds (a folder on a network file system says
// nothing).

#include <chrono>
#include <string>

namespace kxsim::platform {

/// How long a writer of a store file (settings, component registrations)
/// waits for another process's write to end.
inline constexpr std::chrono::milliseconds kStoreLockWait{5000};

class LockWait {
public:
    LockWait(const std::string& folder, std::chrono::milliseconds limit);
    ~LockWait();
    LockWait(const LockWait&) = delete;
    LockWait& operator=(const LockWait&) = delete;

    /// Waits until the lock may be free again; false once the limit has passed.
    bool next();

private:
    std::chrono::steady_clock::time_point deadline_;
    int watch_ = -1;  // inotify, or -1 where there is none to have
};

}  // namespace kxsim::platform
