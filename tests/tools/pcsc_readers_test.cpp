// The PC/SC reader list: the multi-string conversion, and kxsim reader --pcsc
// against the real daemon (started here when none runs and this user may).

#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>
#include <chrono>
#include <optional>
#include <string>

#include "pcsc_readers.h"
#include "support/kxsim_process.h"

using kxsim::tool::askPcscReaders;
using kxsim::tool::describe;
using kxsim::tool::PcscAnswer;
using kxsim::tool::readerListFromMultiString;

namespace {

using namespace std::string_view_literals;

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
        EXPECT_EQ(readerListFromMultiString(c.multi), c.list) << c.what;
}

// Waits up to \a seconds for the daemon to answer (any answer but "not running").
std::optional<PcscAnswer> waitForDaemon(QProcess& daemon, int seconds) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (std::chrono::steady_clock::now() < deadline) {
        PcscAnswer answer = askPcscReaders();
        if (answer.kind != PcscAnswer::Kind::NoService) return answer;
        if (daemon.state() == QProcess::NotRunning) return std::nullopt;
        daemon.waitForFinished(50);  // returns early when the daemon gives up
    }
    return std::nullopt;
}

// kxsim reader --pcsc without reader names: one line on stderr, exit status 2, no JSON.
void expectNoReaderList(const PcscAnswer& answer) {
    const kxsim::test::KxsimRun run = kxsim::test::runKxsim({QStringLiteral("reader"), QStringLiteral("--pcsc")});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.err, QStringLiteral("kxsim: %1\n").arg(QString::fromStdString(describe(answer))));
    EXPECT_EQ(run.out, QString());
}

TEST(pcsc_readers, kxsim_reader_pcsc_without_a_daemon_and_with_one_that_has_no_readers) {
    const PcscAnswer before = askPcscReaders();
    if (before.kind == PcscAnswer::Kind::NoService) expectNoReaderList(before);

    QProcess daemon;
    std::optional<PcscAnswer> answer;
    if (before.kind != PcscAnswer::Kind::NoService) {
        answer = before;  // someone's daemon runs already
    } else {
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

    if (answer->kind == PcscAnswer::Kind::Readers) {
        // Real readers are attached: the list is well formed; the dialog would wait for a user.
        EXPECT_FALSE(answer->readers.empty());
        EXPECT_NE(answer->readers.back(), u'\0');
        EXPECT_EQ(answer->readers.find(std::u16string(2, u'\0')), std::u16string::npos);
    } else {
        EXPECT_EQ(answer->kind, PcscAnswer::Kind::NoReaders) << describe(*answer);
        expectNoReaderList(*answer);
    }

    if (daemon.state() != QProcess::NotRunning) {
        daemon.terminate();
        if (!daemon.waitForFinished(10'000)) daemon.kill();
        daemon.waitForFinished();
    }
}

}  // namespace
