// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
// kxsim's text output as a terminal shows it.

#include <gtest/gtest.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <QProcess>
#include <QProcessEnvironment>
#include <filesystem>

#include "support/kxsim_process.h"
#include "support/temp_files.h"

namespace {

using kxsim::test::KxsimRun;
using kxsim::test::runKxsim;

QString path(const kxsim::test::TempFolder& folder, const char* name) {
    return QString::fromStdString((folder.path() / name).string());
}

// Runs kxsim with its standard output on a pseudo-terminal (raw, so the
// terminal driver adds no CR); gives what it wrote there.
KxsimRun runOnTerminal(const QStringList& args, const QString& dataHome) {
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0) return {};
    const int slave = ::open(::ptsname(master), O_RDWR | O_NOCTTY);
    termios raw{};
    ::tcgetattr(slave, &raw);
    ::cfmakeraw(&raw);
    ::tcsetattr(slave, TCSANOW, &raw);
    std::vector<std::string> words{KXSIM_PROGRAM};
    for (const QString& a : args) words.push_back(a.toStdString());
    const std::string home = "XDG_DATA_HOME=" + dataHome.toStdString();
    const pid_t child = ::fork();
    if (child == 0) {
        ::dup2(slave, STDOUT_FILENO);
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
        ::putenv(const_cast<char*>(home.c_str()));
        std::vector<char*> argv;
        for (auto& w : words) argv.push_back(w.data());
        argv.push_back(nullptr);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    ::close(slave);
    std::string out;
    char buffer[4096];
    pollfd pfd{master, POLLIN, 0};
    // The child's end closing shows as EIO or a hang-up on the master.
    while (::poll(&pfd, 1, 60'000) > 0) {
        const ssize_t n = ::read(master, buffer, sizeof buffer);
        if (n <= 0) break;
        out.append(buffer, size_t(n));
    }
    ::close(master);
    int status = 0;
    ::waitpid(child, &status, 0);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, QString::fromStdString(out), {}};
}

}  // namespace

// Control characters from a file (an escape sequence that would retitle the
// terminal, a bell, a C1 control) are escaped on a terminal, where a tab stays
// a tab; a pipe gets the value exactly, so a script can read it back.
TEST(KxsimText, control_characters_in_values_are_escaped_on_a_terminal_only) {
    kxsim::test::TempFolder folder;
    folder.write("suite.ini", "[S]\nk\x1b[2Jey=a\x1b]0;title\x07" "b\xc2\x9b" "c\\d\te\n");
    const QString ini = path(folder, "suite.ini");
    std::filesystem::create_directory(folder.path() / "kxsimlib");
    folder.write("kxsimlib/components.ini", "[Classes]\nC\x1b[31mDialogs={X}\n[{X}]\nInterface=I\x07\nLibrary=/l\n");
    const struct { QStringList args; bool terminal; QString out; } rows[] = {
        {{"profile", "get", ini, "S", "k\x1b[2Jey"}, true, "a\\x1b]0;title\\x07b\\u009bc\\d\te\n"},
        {{"profile", "keys", ini, "S"}, true, "k\\x1b[2Jey\n"},
        {{"profile", "get", ini, "S", "k\x1b[2Jey"}, false, QString::fromUtf8("a\x1b]0;title\x07" "b\xc2\x9b" "c\\d\te\n")},
        {{"profile", "keys", ini, "S"}, false, "k\x1b[2Jey\n"},
        {{"components"}, false, "C\\x1b[31mDialogs {X} I\\x07 not-creatable /l\n"},
    };
    for (const auto& row : rows) {
        const QString home = QString::fromStdString(folder.path().string());
        const KxsimRun run = row.terminal ? runOnTerminal(row.args, home) : runKxsim(row.args, home);
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        EXPECT_EQ(run.out, row.out) << row.args.join(' ').toStdString() << (row.terminal ? " on a terminal" : "");
    }
}

// A registration that fails says what failed and the system's reason.
TEST(KxsimText, a_failed_registration_names_the_path_and_the_reason) {
    kxsim::test::TempFolder folder;
    folder.write("file", "x");
    const KxsimRun run = runKxsim({"components", "register"}, path(folder, "file"));
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_TRUE(run.err.contains(QStringLiteral("register failed: cannot make the folder %1/kxsimlib: Not a directory")
                                     .arg(path(folder, "file"))))
        << run.err.toStdString();
}

// Whatever reaches stderr (arguments, paths, member names, messages) prints as
// one line of plain text: controls, DEL and bidirectional overrides escaped.
TEST(KxsimText, what_stderr_says_cannot_drive_the_terminal) {
    const QString rlo = QString(QChar(0x202E)), isolate = QString(QChar(0x2066));
    const struct { QStringList args; QString said; } rows[] = {
        {{"\x1b]0;PWNED\x07"}, "unknown command \\x1b]0;PWNED\\x07"},
        {{"nosuch\nkxsim: forged line"}, "unknown command nosuch\\x0akxsim: forged line"},
        {{"-\x1b[2J"}, "unknown option -\\x1b[2J"},
        {{"clone", "--x\x7f" + rlo}, "unknown option --x\\u007f\\u202e for clone"},
        {{"--language", "/nonexistent/" + isolate + "\xc2\x9b" "1m.ini", "clone", "--timeout", "0.1"},
         "no language file at /nonexistent/\\u2066\\u009b1m.ini"},
        {{"help", "\x1b[31m"}, "help needs a context number, not \\x1b[31m"},
        {{"call", "Commons.Evil\x1b[2J"}, "Evil\\x1b[2J"},
    };
    for (const auto& row : rows) {
        const KxsimRun run = runKxsim(row.args);
        const std::string what = row.args.join(' ').toStdString();
        EXPECT_TRUE(run.err.contains(row.said)) << what << "\n" << run.err.toStdString();
        for (const QChar c : run.err)
            EXPECT_TRUE(c == u'\n' || (c >= u' ' && c != u'\x7f' && !(c >= QChar(0x80) && c <= QChar(0x9f)) &&
                                       c != QChar(0x202E) && c != QChar(0x2066)))
                << what << ": U+" << std::hex << unsigned(c.unicode());
    }
}
