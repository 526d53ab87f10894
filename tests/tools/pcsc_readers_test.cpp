// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
// kxsim's PC/SC layer (tools/kxsim/card/pcsc.h): the reader multi-string, the
// wording of PC/SC results, and kxsim reader --pcsc against the real daemon
// (started here when none runs and this user may).

#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>
#include <chrono>
#include <optional>
#include <string>

#include "pcsc.h"
#include "support/kxsim_process.h"

using kxsim::card::CardError;
using kxsim::card::kartenleserList;
using kxsim::card::listReaders;
using kxsim::card::pcscError;
using kxsim::card::ReaderListing;
using kxsim::card::splitReaderList;

namespace {

using namespace std::string_view_literals;

// The one splitter of kxsim reader --pcsc, the card commands and the workbench, as Kartenleser gets its list.
TEST(pcsc_readers, multi_string_becomes_the_nul_separated_reader_list) {
    const struct { const char* what; std::string_view multi; std::u16string_view list; } cases[] = {
        {"two readers", "A\0B\0\0"sv, u"A\0B"sv},
        {"nothing at all", ""sv, u""sv},
        {"the list ends at the first empty name", "A\0\0B\0\0"sv, u"A"sv},
        {"a buffer cut before its final NUL keeps its last name", "A\0B"sv, u"A\0B"sv},
        {"blanks are part of a name", " A \0 \0\0"sv, u" A \0 "sv},
        {"UTF-8 names", "Lecteur \xc3\xa9t\xc3\xa9\0\0"sv, u"Lecteur \u00e9t\u00e9"sv},
        {"an invalid byte becomes U+FFFD", "A\xff\0\0"sv, u"A\uFFFD"sv},
    };
    for (const auto& c : cases)
        EXPECT_EQ(kartenleserList(splitReaderList(c.multi)), c.list) << c.what;
}

// A PC/SC result as the user reads it: its own sentence for the causes the user can mend, else what failed and the code.
TEST(pcsc_readers, results_name_their_cause) {
    const std::string other = std::string("reading: ") + pcsc_stringify_error(SCARD_E_SHARING_VIOLATION) + " (0x8010000B)";
    const struct { LONG rv; CardError::Kind kind; std::string message; } cases[] = {
        {SCARD_E_NO_SERVICE, CardError::Kind::Reader, "no PC/SC daemon is running (start pcscd)"},
        {SCARD_E_SERVICE_STOPPED, CardError::Kind::Reader, "no PC/SC daemon is running (start pcscd)"},
        {SCARD_E_NO_READERS_AVAILABLE, CardError::Kind::Reader, "the PC/SC daemon lists no connected reader"},
        {SCARD_W_REMOVED_CARD, CardError::Kind::Removed, "reading: the card was removed or reset"},
        {SCARD_W_RESET_CARD, CardError::Kind::Removed, "reading: the card was removed or reset"},
        {SCARD_E_UNKNOWN_READER, CardError::Kind::Reader, "reading: the PC/SC daemon knows no such reader"},
        {SCARD_E_SHARING_VIOLATION, CardError::Kind::Reader, other},
    };
    for (const auto& c : cases) {
        const auto error = pcscError(c.rv, "reading");
        EXPECT_EQ(error.kind, c.kind) << c.message;
        EXPECT_EQ(error.what(), c.message);
    }
}

// Waits up to \a seconds for the daemon to answer (any answer but "not running").
std::optional<ReaderListing> waitForDaemon(QProcess& daemon, int seconds) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (std::chrono::steady_clock::now() < deadline) {
        ReaderListing answer = listReaders();
        if (answer.kind != ReaderListing::Kind::NoDaemon) return answer;
        if (daemon.state() == QProcess::NotRunning) return std::nullopt;
        daemon.waitForFinished(50);  // returns early when the daemon gives up
    }
    return std::nullopt;
}

// kxsim reader --pcsc without reader names: one line on stderr, exit status 2, no JSON.
void expectNoReaderList(const ReaderListing& answer) {
    const kxsim::test::KxsimRun run = kxsim::test::runKxsim({QStringLiteral("reader"), QStringLiteral("--pcsc")});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.err, QStringLiteral("kxsim: %1\n").arg(QString::fromStdString(answer.problem)));
    EXPECT_EQ(run.out, QString());
}

TEST(pcsc_readers, kxsim_reader_pcsc_without_a_daemon_and_with_one_that_has_no_readers) {
    std::optional<ReaderListing> answer = listReaders();  // someone's daemon may run already
    QProcess daemon;
    if (answer->kind == ReaderListing::Kind::NoDaemon) {
        expectNoReaderList(*answer);
        const QString pcscd = QStringLiteral(KXSIM_PCSCD);
        if (pcscd.isEmpty()) GTEST_SKIP() << "pcscd is not installed (Debian package pcscd), so only the conversion is tested";
        // In the foreground, ending by itself after a minute unused should this test die.
        daemon.start(pcscd, {QStringLiteral("--foreground"), QStringLiteral("--auto-exit")});
        if (!daemon.waitForStarted(10'000)) GTEST_SKIP() << "pcscd could not be started: " << daemon.errorString().toStdString();
        answer = waitForDaemon(daemon, 10);
        if (!answer) {
            const QString log = QString::fromUtf8(daemon.readAllStandardOutput() + daemon.readAllStandardError());
            daemon.kill();
            daemon.waitForFinished();
            GTEST_SKIP() << "pcscd did not come up (it needs to create /run/pcscd, usually as root): "
                         << log.trimmed().toStdString();
        }
    }

    if (answer->kind == ReaderListing::Kind::Readers) {
        // Real readers are attached: the list is well formed; the dialog would wait for a user.
        EXPECT_FALSE(answer->names.empty());
        for (const std::string& name : answer->names) EXPECT_FALSE(name.empty());
    } else {
        EXPECT_EQ(answer->kind, ReaderListing::Kind::NoReaders) << answer->problem;
        expectNoReaderList(*answer);
    }

    if (daemon.state() != QProcess::NotRunning) {
        daemon.terminate();
        if (!daemon.waitForFinished(10'000)) daemon.kill();
        daemon.waitForFinished();
    }
}

}  // namespace
