// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#pragma once
// Running part of a test in forked children: for code that must not share the
// test's process (another writer, a limit, a user switch) or that may block.

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace kxsim::test {

/// Waits for \a child: its exit code, minus the signal that killed it, -1000 when there is none.
inline int exitCode(pid_t child) {
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child) return -1000;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
}

/// Forks \a count children at once, each running \a body with its index and
/// exiting with what it returns; gives their exit codes in order (minus the
/// signal for one that was killed). A child still running after \a seconds
/// is ended by an alarm, so a blocking body fails the test instead of hanging it.
inline std::vector<int> inChildren(int count, const std::function<int(int index)>& body, unsigned seconds = 60) {
    std::fflush(nullptr);
    std::vector<pid_t> children;
    for (int i = 0; i < count; ++i) {
        const pid_t child = ::fork();
        if (child == 0) {
            ::alarm(seconds);
            ::_exit(body(i));
        }
        children.push_back(child);
    }
    std::vector<int> codes;
    for (pid_t child : children) codes.push_back(exitCode(child));
    return codes;
}

/// Runs \a body in one child; see inChildren.
inline int inChild(const std::function<int()>& body, unsigned seconds = 60) {
    return inChildren(1, [&](int) { return body(); }, seconds).front();
}

struct ChildOutput {
    int code = -1000;  ///< as inChildren gives it
    std::string output;
};

/// Runs \a body in one child that writes its output to the pipe it is given;
/// gives its exit code and everything written to the pipe. Ended by an alarm
/// as in inChildren.
inline ChildOutput inChildWithOutput(const std::function<int(int out)>& body, unsigned seconds = 60) {
    int fds[2];
    if (::pipe(fds) != 0) return {};
    std::fflush(nullptr);
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(fds[0]);
        ::alarm(seconds);
        ::_exit(body(fds[1]));
    }
    ::close(fds[1]);
    ChildOutput end;
    char buffer[4096];
    for (ssize_t n; child > 0 && (n = ::read(fds[0], buffer, sizeof buffer)) > 0;) end.output.append(buffer, size_t(n));
    ::close(fds[0]);
    end.code = exitCode(child);
    return end;
}

}  // namespace kxsim::test
