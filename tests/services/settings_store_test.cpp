// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <csignal>
#include <cstdlib>
#include <functional>

#include "platform/settings_file_store.h"
#include "support/child_process.h"
#include "core/settings_store.h"

using kxsim::platform::SettingsFileStore;
using namespace kxsim::core;
using kxsim::test::inChild;
using kxsim::test::inChildren;
using namespace std::literals;

namespace {

// QSettings fixes its folders on first use, so the private config folder is
// chosen before any test runs; each test clears it.
const QString& configHome() {
    static QTemporaryDir dir;
    static const QString path = (::setenv("XDG_CONFIG_HOME", dir.path().toUtf8().constData(), 1), dir.path());
    return path;
}

QString storeFolder() { return configHome() + QStringLiteral("/Tolvane"); }
QString storeFile() { return storeFolder() + QStringLiteral("/Kestrix.conf"); }

QByteArray fileBytes() {
    QFile file(storeFile());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(none)");
}

class SettingsStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        QDir(storeFolder()).removeRecursively();
        QFile::remove(storeFolder());
    }
};

}  // namespace

// Each text is stored by the store and read back by QSettings, and stored by
// QSettings and read back by the store: files stay readable both ways.
TEST_F(SettingsStoreTest, texts_round_trip_with_qsettings_both_ways) {
    const std::u16string values[] = {u"", u"  padded  ", u"a=b;c", u"x,y", u"Zeile 1\nZeile 2\r\t",
                                     u"\"quoted\" \\ back", u"W\u00e4hlen \u03a3 \u0436 \U0001F600", u"{|}",
                                     u"#hash", u"@at", u"@@two", std::u16string(u"nul\0" u"1f", 6),
                                     u"\x01" u"a\x1f" u"b\x7f"};
    const std::u16string keys[] = {u"LeserName", u"Key with blanks", u"Sch\u00fcssel", u"K\u4e2d"};
    int n = 0;
    for (const auto& key : keys) {
        for (const auto& value : values) {
            SCOPED_TRACE(n);
            ASSERT_TRUE(SettingsFileStore().setValue(key, value));
            EXPECT_EQ(SettingsFileStore().value(key), value);
            // A copy of its own per row: QSettings caches what it read by file name.
            const QString copy = configHome() + QStringLiteral("/copy%1.conf").arg(n++);
            ASSERT_TRUE(QFile::copy(storeFile(), copy));
            QSettings qt(copy, QSettings::IniFormat);
            EXPECT_EQ(qt.value(QString::fromStdU16String(key)).toString().toStdU16String(), value);
            qt.setValue(QString::fromStdU16String(key), QString::fromStdU16String(value + u"!"));
            qt.sync();
            ASSERT_TRUE(QFile::remove(storeFile()) && QFile::copy(copy, storeFile()));
            EXPECT_EQ(SettingsFileStore().value(key), value + u"!");
        }
    }
    EXPECT_EQ(SettingsFileStore().value(u"Missing"), std::nullopt);
}

// Values the store cannot keep as they are: refused, and nothing changes.
TEST_F(SettingsStoreTest, a_setting_that_cannot_be_kept_faithfully_is_refused) {
    SettingsFileStore store;
    ASSERT_TRUE(store.setValue(u"MagsPref", u"kept"));
    const QByteArray before = fileBytes();
    const struct {
        std::u16string key, value;
    } rows[] = {{u"MagsPref", u"lone \xD800 high"}, {u"MagsPref", u"lone \xDC00 low"},
                {u"MagsPref", u"\xDE00\xD800"}, {u"Mags\xD801", u"x"}, {u"", u"x"},
                {u"Mags/Pref", u"x"}, {u"Mags\\Pref", u"x"}};
    for (const auto& row : rows) {
        SCOPED_TRACE(&row - rows);
        EXPECT_EQ(store.setValue(row.key, row.value).number(), 5);
        EXPECT_EQ(store.value(u"MagsPref"), u"kept");
        EXPECT_EQ(fileBytes(), before);
    }
}

// Three writers busy at once never wait in vain and lose no key, and a store
// that read before they wrote sees what they wrote.
TEST_F(SettingsStoreTest, three_busy_writers_never_fail_and_lose_no_key) {
    constexpr int kKeys = 150;
    SettingsFileStore store;
    ASSERT_TRUE(store.setValue(u"P0K0", u"before"));
    EXPECT_EQ(store.value(u"P0K0"), u"before");
    const auto failures = inChildren(3, [](int c) {
        SettingsFileStore writer;
        int failed = 0;
        for (int i = 0; i < kKeys; ++i)
            failed += !writer.setValue(u"P" + DecimalText(c) + u"K" + DecimalText(i), DecimalText(i)).ok();
        return failed;
    }, 120);
    EXPECT_EQ(failures, (std::vector<int>{0, 0, 0}));
    for (int c = 0; c < 3; ++c)
        for (int i = 0; i < kKeys; ++i)
            EXPECT_EQ(store.value(u"P" + DecimalText(c) + u"K" + DecimalText(i)), DecimalText(i));
}

TEST_F(SettingsStoreTest, a_corrupt_file_reads_as_absent_keys) {
    ASSERT_TRUE(QDir().mkpath(storeFolder()));
    for (const QByteArray& bytes : {QByteArray("\x00\xff\xfe[[[=\x01\x02", 10),
                                    QByteArray("[General]\nLeserName=trunc"), QByteArray(4096, '\xff')}) {
        QFile file(storeFile());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size());
        file.close();
        EXPECT_EQ(SettingsFileStore().value(u"LeserTimer"), std::nullopt);
    }
}

// Reading several keys at once (as a dialog opening does) gives each key as
// reading it alone does: the last entry wins, a list or typed value is
// absent, keys of other sections are not the store's.
TEST_F(SettingsStoreTest, reading_all_keys_gives_each_as_reading_it_alone) {
    ASSERT_TRUE(QDir().mkpath(storeFolder()));
    QFile file(storeFile());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("Before=1\n[general]\nTwice=first\nList=a,b\nTwice=second\nTyped=@Variant(x)\nLast=\"a; b\"\n"
               "Gone=1\nGone=a,b\n[Other]\nOther=no\n[General]\nLater=yes\n");
    file.close();
    const SettingsFileStore store;
    const auto keys = {u"Before"sv, u"Twice"sv, u"List"sv, u"Typed"sv, u"Last"sv, u"Gone"sv, u"Other"sv, u"Later"sv};
    SettingsValues alone;
    for (std::u16string_view key : keys)
        if (auto text = store.value(std::u16string(key))) alone[std::u16string(key)] = *text;
    EXPECT_EQ(alone, (SettingsValues{{u"Before", u"1"}, {u"Twice", u"second"}, {u"Last", u"a; b"}, {u"Later", u"yes"}}));
    EXPECT_EQ(store.readKeys(keys), alone);
}

// A store that is no ordinary file, too large to read or without a folder
// gives the defaults at once and refuses every write with a reason; nothing
// ever blocks (the child is killed after ten seconds).
TEST_F(SettingsStoreTest, a_store_that_cannot_be_read_gives_defaults_and_refuses_writes) {
    const QByteArray file = storeFile().toUtf8();
    const struct { const char* name; std::function<bool()> make; const char16_t* reason; } rows[] = {
        {"FIFO", [&] { return ::mkfifo(file.constData(), 0600) == 0; }, u"is not an ordinary file"},
        {"device", [&] { return ::symlink("/dev/zero", file.constData()) == 0; }, u"is not an ordinary file"},
        {"folder", [&] { return QDir().mkpath(storeFile()); }, u"is not an ordinary file"},
        {"too large", [&] {
             QFile f(storeFile());
             return f.open(QIODevice::WriteOnly) &&
                    f.write(QByteArray("[General]\nMagsMask=3\n") +
                            QByteArray(kxsim::platform::kMaxSettingsFileSize, ';')) > 0;
         }, u"is larger than 1048576 bytes"},
        // A file where its folder belongs: even root cannot write below it.
        {"no folder", [&] { return QDir(storeFolder()).removeRecursively() && QFile(storeFolder()).open(QIODevice::WriteOnly); },
         u"cannot be written (its folder cannot be made)"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        SetUp();
        ASSERT_TRUE(QDir().mkpath(storeFolder()));
        ASSERT_TRUE(row.make());
        const std::u16string expected = u"The setting MagsMask could not be stored: " +
                                        storeFile().toStdU16String() + u" " + row.reason;
        const int code = inChild([&] {
            SettingsFileStore store;
            if (store.value(u"MagsMask") != std::nullopt || !store.readKeys({u"MagsMask"}).empty()) return 11;
            const kxsim::Status s = store.setValue(u"MagsMask", u"5");
            return s.number() != 75 ? 12 : s.description() != expected ? 13 : store.value(u"MagsMask") ? 14 : 0;
        }, 10);
        EXPECT_EQ(code, 0) << "11: read a value, 12: not refused, 13: wrong description, 14: refused value read, "
                              "negative: blocked";
    }
}

// A full disk (here: a file size limit) refuses the write; the file, later
// reads and later writes of other keys never see the refused value.
TEST_F(SettingsStoreTest, a_write_refused_by_a_full_disk_leaves_no_trace) {
    ASSERT_TRUE(SettingsFileStore().setValue(u"MagsPref", u"before"));
    const QByteArray before = fileBytes();
    const int code = inChild([] {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{512, 512};
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) return 10;
        SettingsFileStore store;
        const kxsim::Status s = store.setValue(u"MagsPref", std::u16string(2000, u'x'));
        if (s.number() != 75 || s.description().find(u"cannot be written") == std::u16string::npos) return 11;
        return store.value(u"MagsPref") != u"before" ? 12 : !store.setValue(u"LeserName", u"small") ? 13 : 0;
    });
    EXPECT_EQ(code, 0) << "10: no limit, 11: not refused, 12: refused value read, 13: later write failed";
    EXPECT_EQ(SettingsFileStore().value(u"MagsPref"), u"before");
    EXPECT_EQ(SettingsFileStore().value(u"LeserName"), u"small");
    EXPECT_TRUE(fileBytes().startsWith(before));
}
