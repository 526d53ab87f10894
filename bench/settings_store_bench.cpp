// MagnetOptions from the member call to its window shown, with a store just
// under the size limit (its keys last of 20,000 entries) and with a 50 MB
// store, which is not read. Target: under 100 ms whatever lies in the store.

#include <benchmark/benchmark.h>

#include <QDialog>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTimer>
#include <chrono>

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
    bytes += "MagsIds=ABC\nMagsMask=7\nMagsPref=%\nMagsSuff=?\n";
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

}  // namespace
