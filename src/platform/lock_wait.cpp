// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include "platform/lock_wait.h"

#include <poll.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace kxsim::platform {
namespace {

// The longest sleep without news from the folder.
constexpr std::chrono::milliseconds kPollInterval{5};

}  // namespace

LockWait::LockWait(const std::string& folder, std::chrono::milliseconds limit)
    : deadline_(std::chrono::steady_clock::now() + limit),
      watch_(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
    if (watch_ >= 0 && ::inotify_add_watch(watch_, folder.c_str(), IN_DELETE | IN_CLOSE_WRITE | IN_MOVED_FROM) < 0) {
        ::close(watch_);
        watch_ = -1;
    }
}

LockWait::~LockWait() {
    if (watch_ >= 0) ::close(watch_);
}

bool LockWait::next() {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline_ - std::chrono::steady_clock::now());
    if (left.count() <= 0) return false;
    const int wait = static_cast<int>(std::min(left, kPollInterval).count());
    if (watch_ < 0) {
        ::usleep(static_cast<useconds_t>(wait) * 1000);
        return true;
    }
    pollfd p{watch_, POLLIN, 0};
    if (::poll(&p, 1, wait) > 0) {
        char events[4096];
        while (::read(watch_, events, sizeof events) > 0) {
        }
    }
    return true;
}

}  // namespace kxsim::platform
