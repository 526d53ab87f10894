// Every dialog from the member call to its window shown and fully initialised
// (built, translated, filled from the settings), after a first call has loaded
// what a process loads once. The window is closed with its close box as soon as
// it is up; closing is not timed. Target: median under 5 ms.

#include <benchmark/benchmark.h>

#include <QDialog>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <functional>
#include <vector>

#include "kxsimlib/cdialogs.h"
#include "surface/tooling.h"

namespace {

using Clock = std::chrono::steady_clock;

void showDialog(benchmark::State& state, const std::function<void(kxsim::CDialogs&)>& call) {
    kxsim::CDialogs dialogs;
    std::u16string language = KXSIM_SOURCE_DIR u"/lang/kxsim_de.ini";
    dialogs.Language(language);
    Clock::time_point start;
    Clock::duration shownAfter{};
    bool shown = false;
    auto guard = kxsim::tooling::observeDisplayedDialogs([&](QDialog& window) {
        shownAfter = Clock::now() - start;
        shown = true;
        QTimer::singleShot(0, &window, [&window] { window.close(); });
    });
    call(dialogs);  // the first call of the process is the first-dialog benchmark's
    std::vector<double> samples;
    for (auto _ : state) {
        shown = false;
        start = Clock::now();
        call(dialogs);
        if (!shown) {
            state.SkipWithError("the dialog was not shown");
            break;
        }
        const double seconds = std::chrono::duration<double>(shownAfter).count();
        state.SetIterationTime(seconds);
        samples.push_back(seconds);
    }
    if (samples.empty()) return;
    std::nth_element(samples.begin(), samples.begin() + samples.size() / 2, samples.end());
    state.counters["median_ms"] = samples[samples.size() / 2] * 1e3;
}

void BM_CloneOptions(benchmark::State& state) {
    showDialog(state, [](kxsim::CDialogs& d) {
        int32_t result = 0;
        d.CloneOptions(result);
    });
}
void BM_Converter(benchmark::State& state) {
    showDialog(state, [](kxsim::CDialogs& d) {
        std::u16string result;
        d.Converter(result);
    });
}
void BM_Kartenleser(benchmark::State& state) {
    showDialog(state, [](kxsim::CDialogs& d) {
        std::u16string readers(u"Reader A\0Reader B\0Reader C", 26);
        std::u16string result;
        d.Kartenleser(readers, result);
    });
}
void BM_MagnetOptions(benchmark::State& state) {
    showDialog(state, [](kxsim::CDialogs& d) {
        std::u16string result;
        d.MagnetOptions(result);
    });
}
void BM_SelectMeter(benchmark::State& state) {
    showDialog(state, [](kxsim::CDialogs& d) {
        std::u16string acm = u"120", amv = u"99999999", ccu = u"EUR", ppu = u"0.25";
        kxsim::Picture icon;
        int32_t result = 0;
        d.SelectMeter(acm, amv, ccu, ppu, icon, result);
    });
}
// The network list on the sample section of a few dozen networks.
void BM_SelectNetwork(benchmark::State& state) {
    showDialog(state, [](kxsim::CDialogs& d) {
        std::u16string section = u"Networks", keys = u"26201;26202;23415;", ini = KXSIM_SOURCE_DIR u"/samples/networks.ini",
                       caption = u"Preferred networks", language = KXSIM_SOURCE_DIR u"/lang/kxsim_de.ini";
        int32_t max = 8, help = kxsim::help::kNetworkList, result = 0;
        kxsim::Picture icon;
        d.SelectNetwork(section, keys, max, ini, caption, icon, help, language, result);
    });
}
// The short message form, which no member shows on its own.
void BM_ShortMessageForm(benchmark::State& state) {
    showDialog(state, [](kxsim::CDialogs&) {
        kxsim::dialogs::ShortMessageContents contents;
        int32_t action = 0;
        kxsim::tooling::showShortMessageForm(contents, action);
    });
}

#define DIALOG_BENCHMARK(f) BENCHMARK(f)->UseManualTime()->Unit(benchmark::kMillisecond)
DIALOG_BENCHMARK(BM_CloneOptions);
DIALOG_BENCHMARK(BM_Converter);
DIALOG_BENCHMARK(BM_Kartenleser);
DIALOG_BENCHMARK(BM_MagnetOptions);
DIALOG_BENCHMARK(BM_SelectMeter);
DIALOG_BENCHMARK(BM_SelectNetwork);
DIALOG_BENCHMARK(BM_ShortMessageForm);

}  // namespace
