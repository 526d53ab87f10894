// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include "platform/profile_reader.h"

#include "platform/ordinary_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <functional>

#include "platform/text_codec.h"
#include "support/temp_files.h"

using namespace kxsim::platform;
using kxsim::test::TempFolder;

namespace {

std::u16string get(const std::u16string& file, std::u16string_view section, std::u16string_view key,
                   std::u16string_view fallback = u"<default>", size_t size = 512) {
    return profileString(file, section, key, fallback, size);
}

}  // namespace

// The ASCII rules are replayed against the Windows reader in
// profile_reference_test; that reader folds only ASCII letters, ours all.
TEST(profile_reader, folds_the_case_of_every_letter_in_names) {
    TempFolder dir;
    const auto file = dir.write("lang.ini", "[Label]\n\xC3\xA4rger=Latin-1\n\xCF\x83\xCE\xB1=Greek\n"
                                            "\xD0\xB6=Cyrillic\n\xC5\x91=Latin Extended\n");
    const struct { std::u16string_view key, expected; } rows[] = {
        {u"ÄRGER", u"Latin-1"}, {u"ΣΑ", u"Greek"}, {u"Ж", u"Cyrillic"}, {u"Ő", u"Latin Extended"},
        {u"ärgeR ", u"Latin-1"}, {u"ärge", u"<default>"},
    };
    for (const auto& row : rows) EXPECT_EQ(get(file, u"LABEL", row.key), row.expected) << toUtf8(row.key);
}

TEST(profile_reader, defaults_lose_trailing_blanks_and_values_are_cut_to_the_buffer) {
    TempFolder dir;
    const auto file = dir.write("a.ini", "[S]\nLong=" + std::string(600, 'x') + "\nFive=12345\n");
    EXPECT_EQ(get(file, u"S", u"none", u"text  \t "), u"text  \t");
    EXPECT_EQ(get(u"/no/such/file.ini", u"S", u"k", u"Cancel   "), u"Cancel");
    EXPECT_EQ(get(file, u"S", u"Long").size(), 511u);
    const struct { size_t size; std::u16string_view expected; } rows[] = {{0, u""}, {1, u""}, {2, u"1"}, {5, u"1234"}, {6, u"12345"}, {100, u"12345"}};
    for (const auto& row : rows) EXPECT_EQ(get(file, u"S", u"Five", u"", row.size), row.expected) << row.size;
    EXPECT_EQ(get(file, u"S", u"none", u"abcdef", 4), u"abc");
}

// One rule for what a path holds, whoever reads it: the one reader, the
// question whether a file is there, and the profile reader, where a missing
// path reads as an empty file (the default loses its quotes) and anything
// else not read is "not openable" (the default keeps them).
TEST(profile_reader, only_ordinary_files_are_read) {
    TempFolder dir;
    dir.write("real.ini", "[S]\nk=v\n");
    std::filesystem::create_directory(dir.path() / "folder.ini");
    ASSERT_EQ(::mkfifo((dir.path() / "fifo.ini").c_str(), 0600), 0);
    std::filesystem::create_symlink("/dev/null", dir.path() / "device.ini");
    std::filesystem::create_symlink("loop2.ini", dir.path() / "loop1.ini");
    std::filesystem::create_symlink("loop1.ini", dir.path() / "loop2.ini");
    std::filesystem::create_symlink("real.ini", dir.path() / "link.ini");
    std::filesystem::create_symlink("gone.ini", dir.path() / "dangling.ini");

    using enum FileOutcome;
    const struct { const char* name; FileOutcome outcome; std::u16string_view value; } rows[] = {
        {"real.ini", Read, u"v"},          {"link.ini", Read, u"v"},
        {"folder.ini", NotOrdinary, u"'q'"}, {"fifo.ini", NotOrdinary, u"'q'"}, {"device.ini", NotOrdinary, u"'q'"},
        {"loop1.ini", Unreadable, u"'q'"}, {"dangling.ini", Missing, u"q"}, {"absent.ini", Missing, u"q"},
        {"real.ini/below.ini", Missing, u"q"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const OrdinaryFile file = readOrdinaryFile((dir.path() / row.name).string(), 1024);
        EXPECT_EQ(file.outcome, row.outcome);
        EXPECT_EQ(file.bytes, row.outcome == Read ? "[S]\nk=v\n" : "");
        EXPECT_EQ(isOrdinaryFile(dir.file(row.name)), row.outcome == Read);
        EXPECT_EQ(get(dir.file(row.name), u"S", u"k", u"'q'"), row.value);
    }
    EXPECT_EQ(get(u"", u"S", u"k"), u"<default>");

    // The limit holds before the read and while it runs: a file of /proc says
    // it is empty and then gives more.
    EXPECT_EQ(readOrdinaryFile((dir.path() / "real.ini").string(), 7).outcome, TooLarge);
    const OrdinaryFile growing = readOrdinaryFile("/proc/self/maps", 16);
    EXPECT_EQ(growing.outcome, TooLarge);
    EXPECT_EQ(growing.bytes, "");
    EXPECT_EQ(whyNotRead(TooLarge, 0, 16), "is larger than 16 bytes");
    EXPECT_EQ(whyNotRead(Unreadable, ELOOP, 16), "cannot be read (Too many levels of symbolic links)");
}

TEST(profile_reader, lists_key_names_in_file_order_within_the_buffer) {
    TempFolder dir;
    const auto file = dir.write("k.ini", "[Net]\n26201=T-Mobile\n26202=Vodafone\n00101=Test\n=empty\n26203=O2\n");
    using Names = std::vector<std::u16string>;
    const struct { size_t size; Names expected; } rows[] = {
        {20000, {u"26201", u"26202", u"00101"}},  // the empty name ends the list
        {19, {u"26201", u"26202", u"00101"}}, {18, {u"26201", u"26202", u"0010"}},  // cut after size - 2 characters
        {9, {u"26201", u"2"}}, {8, {u"26201"}}, {2, {}}, {1, {}},
    };
    for (const auto& row : rows) EXPECT_EQ(profileKeyNames(file, u"net", row.size), row.expected) << row.size;
    EXPECT_EQ(profileKeyNames(file, u"Nope", 100), Names{});
    EXPECT_EQ(profileKeyNames(u"/no/file", u"Net", 100), Names{});
}

TEST(profile_reader, a_file_beyond_the_size_limit_reads_as_missing_without_being_read) {
    TempFolder dir;
    const std::string head = "[Label]\nOK=Ja\n";
    // Sparse files: no time is spent writing them.
    const auto sized = [&](const std::string& name, uint64_t size) {
        const auto file = dir.write(name, head);
        std::filesystem::resize_file(dir.path() / name, size);
        return file;
    };
    const auto atLimit = sized("limit.ini", 1 << 20);
    const auto over = sized("over.ini", kMaxProfileFileSize + 1);
    const auto huge = sized("huge.ini", uint64_t{100} << 20);

    struct rusage before {};
    ::getrusage(RUSAGE_SELF, &before);
    EXPECT_EQ(get(atLimit, u"Label", u"OK"), u"Ja");
    EXPECT_EQ(get(over, u"Label", u"OK"), u"<default>");
    EXPECT_EQ(get(huge, u"Label", u"OK"), u"<default>");
    EXPECT_EQ(profileKeyNames(huge, u"Label", 100), std::vector<std::u16string>{});
    EXPECT_EQ(loadIniFile(huge), nullptr);
    struct rusage after {};
    ::getrusage(RUSAGE_SELF, &after);
    EXPECT_LT(after.ru_maxrss - before.ru_maxrss, 32 * 1024) << "KiB more at the peak";

    // Cut back below the limit, the same file is read again.
    std::filesystem::resize_file(dir.path() / "huge.ini", head.size());
    EXPECT_EQ(get(huge, u"Label", u"OK"), u"Ja");
}

// Each lookup reads the file as it now is: changed (same size, same second),
// vanished, or swapped for something that is no ordinary file.
TEST(profile_reader, sees_a_changed_vanished_or_swapped_file_at_once) {
    TempFolder dir;
    const auto file = dir.write("swap.ini", "[S]\nk=one\n");
    const std::filesystem::path native = dir.path() / "swap.ini";
    const struct { const char* what; std::function<void()> change; std::u16string_view expected; } steps[] = {
        {"first", [] {}, u"one"},
        {"same size", [&] { dir.write("swap.ini", "[S]\nk=two\n"); }, u"two"},
        {"longer", [&] { dir.write("swap.ini", "[S]\nk=three\n"); }, u"three"},
        {"gone", [&] { std::filesystem::remove(native); }, u"<default>"},
        {"folder", [&] { std::filesystem::create_directory(native); }, u"<default>"},
        {"loop", [&] { std::filesystem::remove(native); std::filesystem::create_symlink("swap.ini", native); }, u"<default>"},
        {"back", [&] { std::filesystem::remove(native); dir.write("swap.ini", "[S]\nk=back\n"); }, u"back"},
    };
    for (const auto& step : steps) {
        step.change();
        EXPECT_EQ(get(file, u"S", u"k"), step.expected) << step.what;
    }
}

// Bytes to text: UTF-8 (with or without a BOM), else Windows-1252.
TEST(profile_reader, decodes_the_file_and_splits_its_lines) {
    TempFolder dir;
    const struct { const char* name; std::string bytes; std::u16string expected; } rows[] = {
        {"utf8.ini", "[S]\nk=Abbrechen \xC3\xA4\xE2\x82\xAC\n", u"Abbrechen ä€"},
        {"bom.ini", "\xEF\xBB\xBF[S]\nk=\xC3\xBC\n", u"ü"},
        {"ansi.ini", "[S]\nk=Abbrechen \xE4\x80\n", u"Abbrechen ä€"},
        {"binary.ini", std::string("\x00\xff[S]\x00\nk=x\n\xfe", 12), u"<default>"},
        {"long.ini", "[S]\nk=" + std::string(4 << 20, 'x'), std::u16string(511, u'x')},
        {"nul.ini", std::string("[S]\nk=a\0b\n", 10), std::u16string(u"a\0b", 3)},
    };
    for (const auto& row : rows) EXPECT_EQ(get(dir.write(row.name, row.bytes), u"S", u"k"), row.expected) << row.name;
}

// Sections are found by their header line however it is written: first in
// the file, long (its name's end noted at parsing), repeated (only the first
// is read), with text after the last "]".
TEST(profile_reader, finds_the_first_section_of_a_name_however_its_header_is_written) {
    TempFolder dir;
    const std::string longName(100, 'z'), tail(70, 'x');
    const auto file = dir.write("s.ini", "[First]\nk=first\n[Long]" + tail + "\nk=long\n[ Spaced ] after ] " + tail +
                                             "\nk=spaced\n[" + longName + "]\nk=longname\n[first]\nk=again\n[long]\nk=again\n" +
                                             "[]\nk=empty\n[" + longName + "]  " + tail + "\nk=again\n[Last]\nk=last");
    const struct { std::string section; std::u16string_view expected; } rows[] = {
        {"FIRST", u"first"}, {"long", u"long"}, {"Spaced ] after", u"spaced"}, {longName, u"longname"},
        {"", u"<default>"}, {"last", u"last"}, {"Spaced", u"<default>"},
    };
    for (const auto& row : rows) EXPECT_EQ(get(file, fromUtf8(row.section), u"k"), row.expected) << row.section;
    for (const char* section : {"First", "Long", "Last"})
        EXPECT_EQ(profileKeyNames(file, fromUtf8(section), 100), std::vector<std::u16string>{u"k"}) << section;
}
