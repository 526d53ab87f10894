// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
// kxsim lang as a translator uses it: the template, and the check of a file.

#include <gtest/gtest.h>

#include <QFile>

#include "support/kxsim_process.h"
#include "support/temp_files.h"

namespace {

using kxsim::test::KxsimRun;
using kxsim::test::runKxsim;

}  // namespace

TEST(KxsimLang, the_shipped_german_file_has_every_text_and_nothing_unused) {
    const KxsimRun run = runKxsim({"lang", "check", KXSIM_SOURCE_DIR "/lang/kxsim_de.ini"});
    EXPECT_EQ(run.exitCode, 0) << run.out.toStdString() << run.err.toStdString();
    EXPECT_EQ(run.err, QString());
}

// The template passes the check; each fault a translator can make in it is named.
TEST(KxsimLang, check_names_what_a_file_lacks_or_holds_in_vain) {
    kxsim::test::TempFolder folder;
    const QString file = QString::fromStdString((folder.path() / "xx.ini").string());
    ASSERT_EQ(runKxsim({"lang", "template", file}).exitCode, 0);
    QFile in(file);
    ASSERT_TRUE(in.open(QIODevice::ReadOnly));
    const QString made = QString::fromUtf8(in.readAll());
    ASSERT_TRUE(made.contains("\n; WNetze\n")) << made.toStdString();
    const struct {
        QString from, to;  // the template with its first "from" replaced by "to"
        QString named;     // empty: complete
    } rows[] = {
        {"", "", ""},
        {"?=?\n", "", ""},  // a text without a letter reads the same in every language
        {"Higher=Higher\n", "", "missing [Label] Higher (WNetze)"},
        {"Please enter the number to add:=Please enter the number to add:\n", "", "missing [Label] Please enter the number to add: (WNetze)"},
        {"Higher=Higher\n", "Higher\nHigher=Higher\n", "missing [Label] Higher (WNetze)"},  // a line without "=" hides it
        {"[Label]\n", "[Label]\nNonsense=Unsinn\n", "unused [Label] Nonsense: no dialog looks it up"},
        {"Higher=Higher\n", "Higher=Higher\nhigher=again\n", "repeated [Label] higher: only its first line is read"},
        {"[Label]\n", "[label]\nx=1\n[Label]\n", "repeated [Label]: the reader reads only its first section of that name"},
    };
    for (const auto& row : rows) {
        QString text = made;
        if (!row.from.isEmpty()) {
            ASSERT_TRUE(text.contains(row.from)) << row.from.toStdString();
            text.replace(text.indexOf(row.from), row.from.size(), row.to);
        }
        folder.write("edited.ini", text.toStdString());
        const KxsimRun run = runKxsim({"lang", "check", QString::fromStdString((folder.path() / "edited.ini").string())});
        EXPECT_EQ(run.exitCode, row.named.isEmpty() ? 0 : 1) << row.to.toStdString() << run.out.toStdString();
        if (!row.named.isEmpty()) {
            EXPECT_TRUE(run.out.contains(row.named + "\n")) << run.out.toStdString();
        }
    }
}
