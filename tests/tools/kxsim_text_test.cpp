// kxsim's text output as a terminal shows it.

#include <gtest/gtest.h>

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

}  // namespace

// Control characters from a file (an escape sequence that would retitle the
// terminal, a bell, a C1 control) are printed escaped.
TEST(KxsimText, control_characters_in_values_are_escaped) {
    kxsim::test::TempFolder folder;
    folder.write("suite.ini", "[S]\nk\x1b[2Jey=a\x1b]0;title\x07" "b\xc2\x9b" "c\\d\n");
    const QString ini = path(folder, "suite.ini");
    std::filesystem::create_directory(folder.path() / "kxsimlib");
    folder.write("kxsimlib/components.ini", "[Classes]\nC\x1b[31mDialogs={X}\n[{X}]\nInterface=I\x07\nLibrary=/l\n");
    const struct { QStringList args; QString out; } rows[] = {
        {{"profile", "get", ini, "S", "k\x1b[2Jey"}, "a\\x1b]0;title\\x07b\\u009bc\\d\n"},
        {{"profile", "keys", ini, "S"}, "k\\x1b[2Jey\n"},
        {{"components"}, "C\\x1b[31mDialogs {X} I\\x07 not-creatable /l\n"},
    };
    for (const auto& row : rows) {
        const KxsimRun run = runKxsim(row.args, QString::fromStdString(folder.path().string()));
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        EXPECT_EQ(run.out, row.out) << row.args.join(' ').toStdString();
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
