// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
// MagnetOptions from the member call to its window shown, with a store just
// under the size limit (its keys last of 20,000 entries) and with a 50 MB
// store, which is not read. Target: under 100 ms whatever lies in the store.
// Then what an opening's settings cost alone: the MagnetOptions and
// Kartenleser models loading from the per-user store at its limit.

#include <benchmark/benchmark.h>

#include <QDialog>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTimer>
#include <chrono>

#include "dialogs/card_reader/card_reader_model.h"
#include "dialogs/magnetic_stripe/magnetic_stripe_model.h"
#include "kxsimlib/cdialogs.h"
#include "platform/settings_file_store.h"
#include "surface/tooling.h"

namespace {

using Clock = std::chrono::steady_clock;

void writeStore(qint64 size) {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/Tolvane");
    QDir().mkpath(folder);
    QFile file(folder + QStringLiteral("/Kestrix.conf"));
    file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    QByteArray bytes("[General]\n");
    for (int i = 0; bytes.size() < size - 200; ++i) bytes += "Filler" + QByteArray::number(i) + "=\"some, text; here\"\n";
    bytes += "MagsIds=ABC\nMagsMask=7\nMagsPref=%\nMagsSuff=?\nLeserName=R\nLeserTimer=3\nLeserPause=2\nLeserPinpad=1\n";
    file.write(bytes);
}

void BM_MagnetOptionsWithStore(benchmark::State& state) {
    writeStore(state.range(0));
    kxsim::CDialogs dialogs;
    Clock::time_point start;
    Clock::duration shownAfter{};
    auto guard = kxsim::tooling::observeDisplayedDialogs([&](QDialog& window) {
        shownAfter = Clock::now() - start;
        QTimer::singleShot(0, &window, [&window] { window.close(); });
    });
    for (auto _ : state) {
        start = Clock::now();
        std::u16string result;
        dialogs.MagnetOptions(result);
        state.SetIterationTime(std::chrono::duration<double>(shownAfter).count());
    }
}

constexpr int64_t kUnderLimit = kxsim::platform::kMaxSettingsFileSize - 1;
constexpr int64_t kFiftyMegabytes = 50'000'000;
BENCHMARK(BM_MagnetOptionsWithStore)->Arg(kUnderLimit)->Arg(kFiftyMegabytes)->UseManualTime()->Unit(benchmark::kMillisecond);

// 0: MagnetOptions, 1: Kartenleser, 2: MagnetOptions' four keys read one by
// one, as each opening read them before it took one snapshot.
void BM_OpeningReadsSettings(benchmark::State& state) {
    writeStore(kUnderLimit);
    const kxsim::platform::SettingsFileStore store;
    static const char* const kLabels[] = {"MagnetOptions", "Kartenleser", "MagnetOptions, key by key"};
    state.SetLabel(kLabels[state.range(0)]);
    for (auto _ : state) {
        if (state.range(0) == 0) {
            benchmark::DoNotOptimize(kxsim::dialogs::OpenMagnet(store));
        } else if (state.range(0) == 1) {
            kxsim::dialogs::CardReaderState reader;
            benchmark::DoNotOptimize(kxsim::dialogs::LoadCardReader(reader, u"R", store));
        } else {
            for (const char16_t* key : {u"MagsMask", u"MagsIds", u"MagsPref", u"MagsSuff"})
                benchmark::DoNotOptimize(store.value(key));
        }
    }
}
BENCHMARK(BM_OpeningReadsSettings)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

}  // namespace
