#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>

#include "platform/qsettings_store.h"
#include "services/settings_store.h"

using kxsim::platform::QSettingsStore;
using namespace kxsim::tools;

namespace {

// QSettings fixes its folders on first use, so the private config folder is
// chosen before any test runs; each test clears it.
const QString& configHome() {
    static QTemporaryDir dir;
    static const bool set = [] {
        ::setenv("XDG_CONFIG_HOME", dir.path().toUtf8().constData(), 1);
        return true;
    }();
    (void)set;
    static const QString path = dir.path();
    return path;
}

QString storeFile() { return configHome() + QStringLiteral("/Tolvane/Kestrix.conf"); }

class SettingsStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        QDir(configHome() + QStringLiteral("/Tolvane")).removeRecursively();
        QFile::remove(configHome() + QStringLiteral("/Tolvane"));
    }
};

}  // namespace

TEST_F(SettingsStoreTest, writes_and_reads_back_texts_exactly) {
    QSettingsStore store;
    const std::u16string values[] = {u"", u"  padded  ", u"a=b;c", u"Zeile 1\nZeile 2",
                                     u"\"quoted\"", u"Wählen Σ ж", u"{|}", u"#hash"};
    int n = 0;
    for (const auto& value : values) {
        const std::u16string key = u"Key" + DecimalText(n++);
        ASSERT_TRUE(store.setValue(key, value));
        EXPECT_EQ(store.value(key), value);
    }
    EXPECT_EQ(store.value(u"Missing"), std::nullopt);
    EXPECT_TRUE(QFile::exists(storeFile()));
}

TEST_F(SettingsStoreTest, a_value_written_by_another_process_is_read) {
    QSettingsStore store;
    ASSERT_TRUE(store.setValue(u"LeserName", u"before"));
    EXPECT_EQ(store.value(u"LeserName"), u"before");
    const pid_t child = fork();
    if (child == 0) {
        QSettingsStore other;
        _exit(other.setValue(u"LeserName", u"from the other process").ok() ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(store.value(u"LeserName"), u"from the other process");
}

TEST_F(SettingsStoreTest, two_processes_writing_at_once_lose_no_key) {
    constexpr int kKeys = 40;
    pid_t children[2];
    for (int c = 0; c < 2; ++c) {
        children[c] = fork();
        if (children[c] == 0) {
            QSettingsStore store;
            bool ok = true;
            for (int i = 0; i < kKeys; ++i)
                ok = store.setValue(u"P" + DecimalText(c) + u"K" + DecimalText(i), DecimalText(i)).ok() && ok;
            _exit(ok ? 0 : 1);
        }
    }
    for (pid_t child : children) {
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_EQ(WEXITSTATUS(status), 0);
    }
    QSettingsStore store;
    for (int c = 0; c < 2; ++c)
        for (int i = 0; i < kKeys; ++i)
            EXPECT_EQ(store.value(u"P" + DecimalText(c) + u"K" + DecimalText(i)), DecimalText(i));
}

TEST_F(SettingsStoreTest, a_write_that_cannot_be_stored_fails_with_a_reason) {
    // A file where the store's folder belongs: even root cannot write below it.
    QFile blocker(configHome() + QStringLiteral("/Tolvane"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QSettingsStore store;
    const kxsim::Status s = store.setValue(u"MagsIds", u"{|}");
    EXPECT_FALSE(s);
    EXPECT_EQ(s.number(), 75);
    EXPECT_NE(s.description().find(u"MagsIds could not be stored"), std::u16string::npos);
    EXPECT_EQ(store.value(u"MagsIds"), std::nullopt);
}

TEST_F(SettingsStoreTest, a_corrupt_file_reads_as_absent_keys) {
    ASSERT_TRUE(QDir().mkpath(configHome() + QStringLiteral("/Tolvane")));
    const QByteArray garbage[] = {QByteArray("\x00\xff\xfe[[[=\x01\x02", 10),
                                  QByteArray("[General]\nLeserName=trunc"), QByteArray(4096, '\xff')};
    for (const QByteArray& bytes : garbage) {
        QFile file(storeFile());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
        file.close();
        QSettingsStore store;
        EXPECT_NO_FATAL_FAILURE(store.value(u"LeserTimer"));
        EXPECT_EQ(store.value(u"LeserTimer"), std::nullopt);
    }
}

TEST_F(SettingsStoreTest, a_read_only_folder_refuses_writes_and_keeps_what_it_holds) {
    {
        QSettingsStore store;
        ASSERT_TRUE(store.setValue(u"LeserName", u"kept"));
    }
    const QByteArray folder = (configHome() + QStringLiteral("/Tolvane")).toUtf8();
    const QByteArray file = storeFile().toUtf8();
    // Root writes anywhere: the writer then runs as an ordinary user who owns the folder.
    const bool root = ::geteuid() == 0;
    constexpr uid_t kNobody = 65534;
    const auto own = [&](uid_t user) {
        for (const QByteArray& path : {configHome().toUtf8(), folder, file})
            ASSERT_EQ(::chown(path.constData(), user, user), 0) << path.constData();
    };
    if (root) own(kNobody);
    ASSERT_EQ(::chmod(folder.constData(), 0500), 0);

    const pid_t child = fork();
    if (child == 0) {
        if (root && (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)) _exit(10);
        QSettingsStore store;
        const kxsim::Status s = store.setValue(u"MagsIds", u"{|}");
        const std::u16string expected =
            u"The setting MagsIds could not be stored: " + storeFile().toStdU16String() + u" cannot be written";
        if (s.ok()) _exit(11);
        if (s.number() != 75) _exit(12);
        if (s.description() != expected) _exit(13);
        if (store.value(u"LeserName") != u"kept") _exit(14);
        if (store.value(u"MagsIds") != std::nullopt) _exit(15);
        _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ::chmod(folder.constData(), 0700);
    if (root) own(0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "10: no user to switch to, 11: reported stored, 12: wrong number, "
                                         "13: wrong description, 14: lost a key, 15: kept the refused key";
    QSettingsStore store;
    EXPECT_EQ(store.value(u"LeserName"), u"kept");
    EXPECT_EQ(store.value(u"MagsIds"), std::nullopt);
}

TEST(settings_defaults, absent_keys_give_the_default_as_text) {
    MemorySettingsStore store;
    EXPECT_EQ(ReadSetting(store, u"MagsMask", 15), u"15");
    EXPECT_EQ(ReadSetting(store, u"LeserPause", -3), u"-3");
    EXPECT_EQ(ReadSetting(store, u"MagsIds", u"{|}"), u"{|}");
    EXPECT_EQ(ReadSetting(store, u"MagsPref"), u"");
    store.values[u"MagsMask"] = u"5";
    EXPECT_EQ(ReadSetting(store, u"MagsMask", 15), u"5");
}
