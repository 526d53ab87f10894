// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
//
// The two files the library writes for the user, the settings store and the
// component registration: neither waits for ever on its lock, neither writes
// through what it must not, and both clean up after writers that were killed.
// Whatever could block runs in a child that an alarm ends. Busy writers are
// settings_store_test's.

#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>

#include "core/settings_store.h"
#include "platform/component_registry.h"
#include "platform/settings_file_store.h"
#include "support/child_process.h"
#include "support/temp_files.h"

using namespace kxsim;
namespace fs = std::filesystem;

namespace {

// One of the two stores, in a folder of the test's own.
struct Store {
    const char* name;
    fs::path file;
    std::function<std::string()> write;  // what a refused write said; empty when it wrote
};

class StoreFiles : public ::testing::Test {
protected:
    void SetUp() override {
        ::setenv("XDG_CONFIG_HOME", home_.path().c_str(), 1);
        ::setenv("XDG_DATA_HOME", home_.path().c_str(), 1);
        fs::create_directories(home_.path() / "Tolvane");
        fs::create_directories(home_.path() / "kxsimlib");
    }
    void TearDown() override {
        ::unsetenv("XDG_CONFIG_HOME");
        ::unsetenv("XDG_DATA_HOME");
    }
    std::vector<Store> stores() const {
        return {
            {"settings", home_.path() / "Tolvane" / "Kestrix.conf",
             [] {
                 const Status s = platform::SettingsFileStore().setValue(u"MagsMask", u"5");
                 return s ? std::string() : std::to_string(s.number()) + " " + platform::toUtf8(s.description());
             }},
            {"registration", home_.path() / "kxsimlib" / "components.ini",
             [] { return platform::writeRegistration("/lib/libkxsimlib.so.31").message(); }},
        };
    }
    // Runs \a body in a child that an alarm ends after ten seconds.
    static std::string inTimedChild(const std::function<std::string()>& body) {
        const test::ChildOutput end = test::inChildWithOutput([&](int out) {
            const std::string said = body();
            return ::write(out, said.data(), said.size()) < 0 ? 1 : 0;
        }, 10);
        return end.code == 0 ? end.output : "ended by signal " + std::to_string(-end.code);
    }
    test::TempFolder home_;
};

std::string content(const fs::path& file) {
    std::ifstream in(file);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void makeOld(const fs::path& file) {
    const timespec hourAgo[2] = {{::time(nullptr) - 3600, 0}, {::time(nullptr) - 3600, 0}};
    ::utimensat(AT_FDCWD, file.c_str(), hourAgo, AT_SYMLINK_NOFOLLOW);
}

}  // namespace

// A settings lock path that is no ordinary file (a FIFO blocked open() for
// ever) refuses the write at once, naming the lock.
TEST_F(StoreFiles, a_settings_lock_that_is_no_ordinary_file_refuses_the_write_at_once) {
    const fs::path lock = home_.path() / "Tolvane" / "Kestrix.conf.lock";
    const struct { const char* name; std::function<void()> make; } rows[] = {
        {"FIFO", [&] { ::mkfifo(lock.c_str(), 0600); }},
        {"folder", [&] { fs::create_directory(lock); }},
        {"link to a device", [&] { fs::create_symlink("/dev/zero", lock); }},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        fs::remove_all(lock);
        row.make();
        EXPECT_EQ(inTimedChild(stores()[0].write),
                  "75 The setting MagsMask could not be stored: " + lock.string() + " is not an ordinary file");
        EXPECT_FALSE(fs::exists(stores()[0].file));
    }
}

// A registration lock another run holds (and never lets go) is given up after
// the settings store's 5 s, naming the lock file.
TEST_F(StoreFiles, a_held_registration_lock_is_given_up_naming_it) {
    const fs::path lock = home_.path() / "kxsimlib" / "components.ini.lock";
    // Held here, through an open of its own: the writer's child opens it anew.
    const int held = ::open(lock.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);
    const std::string said = inTimedChild(stores()[1].write);
    ::close(held);
    EXPECT_NE(said.find("cannot lock " + lock.string()), std::string::npos) << said;
    EXPECT_FALSE(fs::exists(stores()[1].file));
}

// What stands at a store's path decides the write, the same for both stores:
// an ordinary file of the user's, also through a link, is replaced (the link
// stays); anything else is refused with the reason, and stays as it was.
TEST_F(StoreFiles, both_stores_write_only_an_ordinary_file_of_the_users_own) {
    const fs::path other = home_.path() / "elsewhere";
    fs::create_directories(other);
    const struct {
        const char* name;
        std::function<bool(const fs::path&)> make;  // false: cannot be made here
        const char* refusal;  // null: written
    } rows[] = {
        {"link to an ordinary file", [&](const fs::path& f) {
             std::ofstream(other / "target") << "[General]\nOld=1\n";
             fs::create_symlink(other / "target", f);
             return true;
         }, nullptr},
        {"link to a FIFO", [&](const fs::path& f) {
             fs::create_symlink(other / "fifo", f);
             return ::mkfifo((other / "fifo").c_str(), 0600) == 0;
         }, "is not an ordinary file"},
        {"link to a folder", [&](const fs::path& f) {
             fs::create_symlink(other, f);
             return true;
         }, "is not an ordinary file"},
        {"read-only file", [&](const fs::path& f) {
             std::ofstream(f) << "[General]\nOld=1\n";
             return ::chmod(f.c_str(), 0444) == 0;
         }, "is read-only"},
        {"another user's file", [&](const fs::path& f) {
             std::ofstream(f) << "[General]\nOld=1\n";
             return ::chown(f.c_str(), 4242, 4242) == 0;  // only root can give a file away
         }, "belongs to another user"},
    };
    for (const Store& store : stores()) {
        for (const auto& row : rows) {
            SCOPED_TRACE(std::string(store.name) + ": " + row.name);
            fs::remove_all(store.file);
            fs::remove_all(other);
            fs::create_directories(other);
            if (!row.make(store.file)) continue;
            struct stat before {};
            ::stat(store.file.c_str(), &before);
            const std::string was = S_ISREG(before.st_mode) ? content(store.file) : std::string();
            const std::string said = inTimedChild(store.write);
            struct stat after {};
            ::stat(store.file.c_str(), &after);
            if (!row.refusal) {
                EXPECT_EQ(said, "");
                EXPECT_TRUE(fs::is_symlink(store.file));
                EXPECT_NE(content(store.file), was);
            } else {
                EXPECT_NE(said.find(store.file.string() + " " + row.refusal), std::string::npos) << said;
                EXPECT_EQ(after.st_mode, before.st_mode);
                EXPECT_EQ(after.st_uid, before.st_uid);
                if (S_ISREG(before.st_mode)) {
                    EXPECT_EQ(content(store.file), was);
                }
            }
        }
    }
}

// A write takes away the temporaries of writers killed long ago, and only
// those: a fresh one (a live writer's), another file's, a name mkstemp would
// not give, a link, a folder or another user's file stay. The settings lock
// a killed writer left is taken over.
TEST_F(StoreFiles, a_write_removes_what_killed_writers_left_and_nothing_else) {
    for (const Store& store : stores()) {
        SCOPED_TRACE(store.name);
        const std::string base = store.file.string();
        const struct { std::string name; std::function<void(const fs::path&)> make; bool removed; } rows[] = {
            {base + ".a1B2c3", [](const fs::path& f) { std::ofstream(f) << "half"; makeOld(f); }, true},
            {base + ".Zz9Yy8", [](const fs::path& f) { std::ofstream(f) << "being written"; }, false},
            {base + ".bak", [](const fs::path& f) { std::ofstream(f) << "mine"; makeOld(f); }, false},
            {base + ".a1B2c", [](const fs::path& f) { std::ofstream(f) << "mine"; makeOld(f); }, false},
            {base + "x.a1B2c3", [](const fs::path& f) { std::ofstream(f) << "mine"; makeOld(f); }, false},
            {base + ".L1nk00", [](const fs::path& f) { fs::create_symlink("/etc/hostname", f); makeOld(f); }, false},
            {base + ".D1r000", [](const fs::path& f) { fs::create_directory(f); makeOld(f); }, false},
            {base + ".Us3r00", [](const fs::path& f) {
                 std::ofstream(f) << "theirs";
                 (void)!::chown(f.c_str(), 4242, 4242);
                 makeOld(f);
             }, false},
        };
        for (const auto& row : rows) row.make(row.name);
        if (std::string(store.name) == "settings") {
            // As QLockFile writes it: process, program, host.
            char host[256] = {};
            ::gethostname(host, sizeof host - 1);
            std::ofstream(base + ".lock") << "999999\nkxsim\n" << host << "\n";
            makeOld(base + ".lock");
        }
        EXPECT_EQ(inTimedChild(store.write), "");
        for (const auto& row : rows)
            EXPECT_EQ(fs::exists(fs::symlink_status(row.name)), !row.removed) << row.name;
    }
    EXPECT_FALSE(fs::exists(stores()[0].file.string() + ".lock"));
}
