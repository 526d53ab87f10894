#pragma once
// Running part of a test in forked children: for code that must not share the
// test's process (another writer, a limit, a user switch) or that may block.

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <functional>
#include <vector>

namespace kxsim::test {

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
    for (pid_t child : children) {
        int status = 0;
        if (child < 0 || ::waitpid(child, &status, 0) != child) codes.push_back(-1000);
        else codes.push_back(WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status));
    }
    return codes;
}

/// Runs \a body in one child; see inChildren.
inline int inChild(const std::function<int()>& body, unsigned seconds = 60) {
    return inChildren(1, [&](int) { return body(); }, seconds).front();
}

}  // namespace kxsim::test
