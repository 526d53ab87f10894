// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
//
// The settings store under load: ./kx soak [SECONDS [KILLS]] (defaults 600 s
// and 100 kills; not part of ./kx bench).
// Three processes write the store without a pause and one reads it; KILLS
// more writers, spread over the run, are killed in the middle of their writes
// (every tenth by exceeding a file size limit, as a full disk kills). Then it
// waits until what the killed writers left is old enough to be taken away,
// writes once more and checks: no write failed, no value read was torn or went
// back, each writer's last value is stored, nothing but the store is left.

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <random>
#include <string>
#include <thread>

#include "core/settings_store.h"
#include "platform/settings_file_store.h"
#include "platform/text_codec.h"

using namespace kxsim;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kWriters = 3;
constexpr int kLeftoverAgeSeconds = 31;  // older than this, a killed writer's temporary is taken away

// The value number i is stored as: "i|" and a pattern made from i, so a torn or mixed value shows.
std::u16string valueFor(long i) {
    std::string text = std::to_string(i) + "|";
    for (unsigned long x = static_cast<unsigned long>(i) * 2654435761u + 1; text.size() < 96; x = x * 6364136223846793005u + 1442695040888963407u)
        text += "0123456789abcdef"[x >> 60];
    return platform::fromUtf8(text);
}

// The number of a well-formed value, or -1.
long numberOf(const std::u16string& value) {
    const size_t bar = value.find(u'|');
    if (bar == std::u16string::npos || bar == 0) return -1;
    long i = 0;
    for (size_t k = 0; k < bar; ++k) {
        if (value[k] < u'0' || value[k] > u'9') return -1;
        i = i * 10 + (value[k] - u'0');
    }
    return valueFor(i) == value ? i : -1;
}

std::u16string key(int writer) { return u"Soak" + core::DecimalText(writer); }

struct Report {
    long done = 0, failed = 0, last = -1, torn = 0, back = 0;
    double slowest = 0;  // seconds, the longest write
    char firstFailure[240] = {};
};

// Runs \a body in a child that writes its report into a pipe; gives the pipe's reading end.
template <class Body>
int inChild(Body&& body, pid_t& child) {
    int fds[2];
    if (::pipe(fds) != 0) std::exit(2);
    std::fflush(nullptr);
    child = ::fork();
    if (child == 0) {
        ::close(fds[0]);
        const Report r = body();
        (void)!::write(fds[1], &r, sizeof r);
        ::_exit(0);
    }
    ::close(fds[1]);
    return fds[0];
}

Report collect(int fd, pid_t child) {
    Report r;
    if (::read(fd, &r, sizeof r) != static_cast<ssize_t>(sizeof r)) r.failed = -1;
    ::close(fd);
    ::waitpid(child, nullptr, 0);
    return r;
}

Report writeLoop(int writer, Clock::time_point until) {
    platform::SettingsFileStore store;
    Report r;
    for (long i = 0; Clock::now() < until; ++i) {
        const auto start = Clock::now();
        const Status s = store.setValue(key(writer), valueFor(i));
        r.slowest = std::max(r.slowest, std::chrono::duration<double>(Clock::now() - start).count());
        ++r.done;
        if (s) {
            r.last = i;
        } else if (r.failed++ == 0) {
            std::snprintf(r.firstFailure, sizeof r.firstFailure, "%s", platform::toUtf8(s.description()).c_str());
        }
    }
    return r;
}

Report readLoop(Clock::time_point until) {
    platform::SettingsFileStore store;
    Report r;
    long seen[kWriters + 1];
    std::fill(std::begin(seen), std::end(seen), -1);
    while (Clock::now() < until) {
        for (int w = 0; w <= kWriters; ++w) {
            const auto value = store.value(key(w));
            ++r.done;
            if (!value) continue;
            const long i = numberOf(*value);
            if (i < 0) ++r.torn;
            // Writer kWriters is the killed ones, each counting from 0 again.
            else if (w < kWriters && i < seen[w]) ++r.back;
            seen[w] = std::max(seen[w], i);
        }
    }
    return r;
}

}  // namespace

int main(int argc, char** argv) {
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 600;
    const int kills = argc > 2 ? std::atoi(argv[2]) : 100;
    char folder[] = "/tmp/kxsim-soak-XXXXXX";
    if (!::mkdtemp(folder)) return 2;
    ::setenv("XDG_CONFIG_HOME", folder, 1);
    const auto start = Clock::now(), until = start + std::chrono::seconds(seconds);

    pid_t children[kWriters + 1];
    int reports[kWriters + 1];
    for (int w = 0; w < kWriters; ++w) reports[w] = inChild([&] { return writeLoop(w, until); }, children[w]);
    reports[kWriters] = inChild([&] { return readLoop(until); }, children[kWriters]);

    // The killed writers, spread over the run.
    std::mt19937 random(std::random_device{}());
    int killedByLimit = 0;
    for (int k = 0; k < kills; ++k) {
        std::this_thread::sleep_until(start + std::chrono::milliseconds(int64_t{seconds} * 1000 * k / kills));
        const bool byLimit = k % 10 == 9;
        std::fflush(nullptr);
        const pid_t victim = ::fork();
        if (victim == 0) {
            if (byLimit) {
                const rlimit small{200, 200};  // smaller than the store: the write dies in the middle
                ::setrlimit(RLIMIT_FSIZE, &small);
            }
            platform::SettingsFileStore store;
            for (long i = 0;; ++i) (void)store.setValue(key(kWriters), valueFor(i));
        }
        // One held to a file size limit dies by it once it gets the lock; give it time.
        const int micros = byLimit ? 10'000'000 : std::uniform_int_distribution<int>(2000, 40000)(random);
        int status = 0;
        for (const auto end = Clock::now() + std::chrono::microseconds(micros);
             Clock::now() < end && ::waitpid(victim, &status, WNOHANG) == 0;)
            std::this_thread::sleep_for(std::chrono::microseconds(std::min(micros, 1000)));
        if (::waitpid(victim, &status, WNOHANG) == 0) {
            ::kill(victim, SIGKILL);
            ::waitpid(victim, &status, 0);
        }
        killedByLimit += WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ;
    }

    Report total;
    long lost = 0;
    platform::SettingsFileStore store;
    for (int w = 0; w < kWriters; ++w) {
        const Report r = collect(reports[w], children[w]);
        total.done += r.done;
        total.failed += r.failed;
        total.slowest = std::max(total.slowest, r.slowest);
        if (r.failed && !total.firstFailure[0]) std::snprintf(total.firstFailure, sizeof total.firstFailure, "%s", r.firstFailure);
        lost += r.last >= 0 && store.value(key(w)) != valueFor(r.last);
    }
    const Report reader = collect(reports[kWriters], children[kWriters]);

    // What killed writers left goes with the next write once it is old enough.
    std::this_thread::sleep_for(std::chrono::seconds(kLeftoverAgeSeconds));
    const Status last = store.setValue(u"SoakDone", u"1");
    long leftovers = 0;
    for (const auto& entry : std::filesystem::directory_iterator(std::string(folder) + "/Tolvane")) {
        if (entry.path().filename() == "Kestrix.conf") continue;
        std::printf("left over: %s\n", entry.path().filename().c_str());
        ++leftovers;
    }
    std::printf("%d s, %d writers: %ld writes, %ld failed, slowest %.3f s; %ld reads, %ld torn, %ld went back; "
                "%d writers killed mid-write (%d by the file size limit); %ld values lost; %ld files left over%s\n",
                seconds, kWriters, total.done, total.failed, total.slowest, reader.done, reader.torn, reader.back,
                kills, killedByLimit, lost, leftovers, last ? "" : "; the last write failed");
    if (total.firstFailure[0]) std::printf("first failure: %s\n", total.firstFailure);
    std::filesystem::remove_all(folder);
    return total.failed || reader.torn || reader.back || lost || leftovers || !last ? 1 : 0;
}
