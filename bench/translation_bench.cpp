// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
// Translating a form of 30 controls against a language file of 2,000 entries,
// and one lookup in such a file.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstring>
#include <fstream>

#include <QDialog>
#include <QLabel>
#include <QPushButton>

#include "kxsimlib/cdialogs.h"
#include "platform/form.h"
#include "platform/profile_reader.h"
#include "platform/text_codec.h"
#include "services/translation.h"
#include "support/temp_files.h"

namespace {

class ThirtyControls : public kxsim::platform::Form {
public:
    ThirtyControls() : Form(QStringLiteral("WBench")) {}

protected:
    void build(QDialog& w) override {
        w.setWindowTitle(QStringLiteral("Text 7"));
        for (int i = 0; i < 20; ++i)
            add(new QLabel(QStringLiteral("Text %1").arg(i * 97), &w), QStringLiteral("Label"), i);
        for (int i = 0; i < 10; ++i)
            add(new QPushButton(QStringLiteral("Missing %1").arg(i), &w), QStringLiteral("CBAction"), i);
    }
};

const kxsim::test::TempFolder& folder() {
    static kxsim::test::TempFolder dir;
    return dir;
}

std::u16string languageFile() {
    static const std::u16string path = [] {
        std::string text = "[Label]\n";
        for (int i = 0; i < 2000; ++i)
            text += "Text " + std::to_string(i) + "=Übersetzung " + std::to_string(i) + "\n";
        return folder().write("bench.ini", text);
    }();
    return path;
}

void BM_TranslateForm30Controls(benchmark::State& state) {
    kxsim::CDialogs dialogs;
    std::u16string path = languageFile();
    dialogs.Language(path);
    ThirtyControls form;
    for (auto _ : state) {
        state.PauseTiming();
        form.unload();
        form.window();
        state.ResumeTiming();
        kxsim::services::TranslateForm(form);
    }
}
BENCHMARK(BM_TranslateForm30Controls)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_ProfileLookupUnchangedFile(benchmark::State& state) {
    const std::u16string path = languageFile();
    int i = 0;
    for (auto _ : state) {
        const std::u16string key = u"Text 1" + std::u16string(1, char16_t(u'0' + (i++ % 10)));
        benchmark::DoNotOptimize(kxsim::platform::profileString(path, u"Label", key, key, 512));
    }
}
BENCHMARK(BM_ProfileLookupUnchangedFile)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace

namespace {

// Kernel memory figures of this process in KiB ("VmRSS:", "VmHWM:").
long statusKiB(const char* field) {
    std::ifstream in("/proc/self/status");
    for (std::string line; std::getline(in, line);)
        if (line.rfind(field, 0) == 0) return std::stol(line.substr(std::strlen(field)));
    return 0;
}

// Parses \a path afresh: the cached parse is dropped first, so the old and the
// new parse never share the peak.
void parseAfresh(benchmark::State& state, const std::string& native, const std::u16string& path) {
    state.PauseTiming();
    std::rename(native.c_str(), (native + ".away").c_str());
    kxsim::platform::loadIniFile(path);
    std::rename((native + ".away").c_str(), native.c_str());
    ::utimensat(AT_FDCWD, native.c_str(), nullptr, 0);
    std::ofstream("/proc/self/clear_refs") << "5";  // the peak starts again from here
    const long before = statusKiB("VmRSS:");
    state.ResumeTiming();
    benchmark::DoNotOptimize(kxsim::platform::loadIniFile(path));
    state.counters["peak_MiB"] = double(statusKiB("VmHWM:") - before) / 1024;
}

void BM_ProfileParse2000Keys(benchmark::State& state) {
    const std::u16string path = languageFile();
    const std::string native = kxsim::platform::toUtf8(path);
    for (auto _ : state) parseAfresh(state, native, path);
}
BENCHMARK(BM_ProfileParse2000Keys)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

// The worst files under the size limit: 64 MiB of two-byte lines, of "[a]"
// headers, of "=" entries of the empty name, of entries all named apart
// ("0=", "1=" ... in hex: 8.5 million), of headers all named apart ("[0]",
// "[1]" ... in decimal: 7 million), and a first header or entry whose line
// fills half the file, named again on every later line.
std::string worstFile(int pattern) {
    const size_t limit = kxsim::platform::kMaxProfileFileSize;
    std::string bytes;
    bytes.reserve(limit);
    if (pattern == 5) bytes = "[a]" + std::string(limit / 2, 'x') + "\n";
    if (pattern == 6) bytes = "k=" + std::string(limit / 2, 'x') + "\n";
    static const char* const kLines[] = {"a\n", "[a]\n", "=\n", nullptr, nullptr, "[a]\n", "k=\n"};
    char numbered[24];
    for (unsigned n = 0;; ++n) {
        std::string_view next;
        if (pattern == 3) next = std::string_view(numbered, std::snprintf(numbered, sizeof numbered, "%x=\n", n));
        else if (pattern == 4) next = std::string_view(numbered, std::snprintf(numbered, sizeof numbered, "[%u]\n", n));
        else next = kLines[pattern];
        if (bytes.size() + next.size() > limit) break;
        bytes += next;
    }
    return bytes;
}

void BM_ProfileParseWorst64MiB(benchmark::State& state) {
    static const char* const kLabels[] = {"a lines", "[a] lines", "= lines", "hex= lines", "[decimal] lines",
                                          "[a]+32 MiB, then [a] lines", "k=32 MiB, then k= lines"};
    const int pattern = static_cast<int>(state.range(0));
    std::string bytes = worstFile(pattern);
    const std::u16string path = folder().write("worst" + std::to_string(pattern) + ".ini", bytes);
    std::string().swap(bytes);
    const std::string native = kxsim::platform::toUtf8(path);
    for (auto _ : state) parseAfresh(state, native, path);
    state.SetLabel(kLabels[pattern]);
}
BENCHMARK(BM_ProfileParseWorst64MiB)->DenseRange(0, 6)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
