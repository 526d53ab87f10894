// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
// kxsim as a shell script uses it: usage, exit codes, the generated completion.

#include <gtest/gtest.h>

#include <QProcess>
#include <QRegularExpression>

#include "support/kxsim_process.h"
#include "support/temp_files.h"

using kxsim::test::KxsimRun;
using kxsim::test::runKxsim;

// The commands are the lines of kxsim --help that start with a word (options start with "-", exit codes with a digit).
TEST(KxsimCli, every_command_prints_its_usage_for_help_and_exits_0) {
    QStringList commands;
    const QRegularExpression listed(QStringLiteral("^  ([a-z][a-z-]*)\\b"), QRegularExpression::MultilineOption);
    for (const QRegularExpressionMatch& line : listed.globalMatch(runKxsim({"--help"}).out)) commands << line.captured(1);
    ASSERT_GE(commands.size(), 10) << commands.join(' ').toStdString();
    for (const QString& command : commands) {
        const KxsimRun run = runKxsim({command, "--help"});
        EXPECT_EQ(run.exitCode, 0) << command.toStdString();
        EXPECT_TRUE(run.out.startsWith("usage: kxsim " + command)) << run.out.toStdString();
    }
}

// Mistakes exit with 2 and a one-line hint on stderr; a failed call with 3 and
// nothing on stdout; a missing file is said and the call goes on.
TEST(KxsimCli, exit_codes_and_notes) {
    kxsim::test::TempFolder folder;
    const QString missing = QString::fromStdString((folder.path() / "missing.ini").string());
    const QString large = QString::fromStdString((folder.path() / "large.ini").string());
    folder.write("large.ini", "[Label]\nOK=Ja\n");
    std::filesystem::resize_file(folder.path() / "large.ini", (uint64_t{64} << 20) + 1);  // sparse: no time writing it
    const struct {
        QStringList args;
        int exitCode;
        QString err;  // stderr contains this
    } rows[] = {
        {{"network", "--bogus"}, 2, "unknown option --bogus for network (kxsim network --help shows the usage)"},
        {{"network", "--section", "S"}, 2, "network needs --ini"},
        {{"clone", "--timeout", "0"}, 2, "--timeout needs seconds above 0, up to 86400, not 0"},
        {{"card", "--bogus"}, 2, "unknown option --bogus for card (kxsim card --help shows the usage)"},
        {{"workbench", "--page", "nosuch"}, 2, "the workbench has no page nosuch"},
        {{"nosuch"}, 2, "unknown command nosuch (kxsim --help shows the usage)"},
        {{"meter", "--acm", "1E999", "--timeout", "5"}, 3, "Overflow (error 6)"},
        {{"network", "--ini", missing, "--section", "S", "--caption", "C", "--timeout", "0.1"}, 5, "no INI file at " + missing},
        {{"--language", missing, "clone", "--timeout", "0.1"}, 5, "no language file at " + missing + " (it is not there)"},
        {{"--language", large, "clone", "--timeout", "0.1"}, 5, "no language file at " + large + " (it is larger than 67108864 bytes)"},
    };
    for (const auto& row : rows) {
        const KxsimRun run = runKxsim(row.args);
        const std::string what = row.args.join(' ').toStdString();
        EXPECT_EQ(run.exitCode, row.exitCode) << what << "\n" << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(row.err)) << what << "\n" << run.err.toStdString();
        if (row.exitCode == 2 || row.exitCode == 3) {
            EXPECT_EQ(run.out, QString()) << what;
        }
    }
}

// Qt's own warnings (no XDG_RUNTIME_DIR, what the offscreen plugin cannot do)
// stay off stderr, which scripts read as errors, until asked for.
TEST(KxsimCli, qt_chatter_shows_only_when_asked_for) {
    const struct { QStringList args; QString logging; bool chatter; } rows[] = {
        {{"clone", "--timeout", "0.1"}, {}, false},
        {{"workbench", "--png", "/dev/null"}, {}, false},
        {{"--verbose", "clone", "--timeout", "0.1"}, {}, true},
        {{"clone", "--timeout", "0.1"}, "default.warning=true", true},
    };
    for (const auto& row : rows) {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.remove("XDG_RUNTIME_DIR");
        env.remove("QT_LOGGING_RULES");
        if (!row.logging.isEmpty()) env.insert("QT_LOGGING_RULES", row.logging);
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(KXSIM_PROGRAM), row.args);
        ASSERT_TRUE(p.waitForFinished(60'000));
        const QString err = QString::fromUtf8(p.readAllStandardError());
        if (row.chatter) EXPECT_TRUE(err.contains("XDG_RUNTIME_DIR not set")) << err.toStdString();
        else EXPECT_EQ(err, QString()) << row.args.join(' ').toStdString();
    }
}

// The completion kxsim writes, asked as bash asks it.
TEST(KxsimCli, bash_completion_offers_commands_options_and_words) {
    const QString script = runKxsim({"--bash-completion"}).out;
    ASSERT_TRUE(script.contains("complete -F _kxsim kxsim"));
    const struct {
        QString words;  // COMP_WORDS, the last one being completed
        QString offered;
    } rows[] = {
        {"kxsim netw", "network networks-ini"},
        {"kxsim network --ti", "--timeout --title"},
        {"kxsim profile ''", "get keys sections"},
        {"kxsim help 71", "7105 7108 7111 7120"},
        {"kxsim reader --reader ''", ""},  // no PC/SC daemon here: nothing, and no error
    };
    for (const auto& row : rows) {
        QProcess bash;
        bash.start("bash", {"-c", script + QStringLiteral("\nCOMP_WORDS=(%1); COMP_CWORD=$((${#COMP_WORDS[@]} - 1)); "
                                                          "COMP_WORDS[0]=%2; _kxsim; echo \"${COMPREPLY[*]}\"")
                                                  .arg(row.words, QStringLiteral(KXSIM_PROGRAM))});
        ASSERT_TRUE(bash.waitForFinished(30'000));
        QStringList offered = QString::fromUtf8(bash.readAllStandardOutput()).split(QRegularExpression("\\s+"), Qt::SkipEmptyParts);
        offered.sort();
        EXPECT_EQ(offered.join(' '), row.offered) << row.words.toStdString();
        EXPECT_EQ(bash.readAllStandardError(), QByteArray()) << row.words.toStdString();
    }
}
