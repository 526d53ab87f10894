// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
// Opening the network list on a large section: SelectNetwork from the call to
// its return, the window closed by Cancel as soon as it is displayed. The
// empty-section run is the same dialog without list entries, so the
// difference between the two is the cost of filling both lists.

#include <benchmark/benchmark.h>

#include <QAbstractButton>
#include <QDialog>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <fstream>
#include <string>

#include "core/help_context.h"
#include "kxsimlib/cdialogs.h"
#include "platform/form.h"

namespace {

constexpr int kKeys = 3000;

// 3,000 five-digit keys: 18,001 characters of key names, near the 20,000 the
// dialog reads, each with an operator-like name.
std::string writeSection(const QTemporaryDir& dir) {
    const std::string path = dir.filePath(QStringLiteral("networks.ini")).toStdString();
    std::ofstream out(path, std::ios::binary);
    out << "[Networks]\r\n";
    for (int i = 0; i < kKeys; ++i)
        out << (10000 + i) << "=Mobile Operator " << i << " (Network " << (10000 + i) << ")\r\n";
    out << "[Empty]\r\n";
    return path;
}

void openAndCancel(benchmark::State& state, const char16_t* sectionName) {
    QTemporaryDir dir;
    const std::u16string file = QString::fromStdString(writeSection(dir)).toStdU16String();
    int entries = 0;
    kxsim::platform::ScopedDisplayObserver closer([&entries](kxsim::platform::Form& form) {
        QDialog* w = &form.window();
        entries = w->findChild<QListWidget*>(QStringLiteral("List1"))->count() +
                  w->findChild<QListWidget*>(QStringLiteral("List2"))->count();
        QTimer::singleShot(0, w, [w] { w->findChild<QAbstractButton*>(QStringLiteral("CBAction(2)"))->click(); });
    });
    kxsim::CDialogs dialogs;
    for (auto _ : state) {
        std::u16string section = sectionName;
        std::u16string keys = u"10000;10001;10500;12999;11111;10042;10043;10044;";
        int32_t max = 20;
        std::u16string initFile = file;
        std::u16string caption = u"Preferred Networks";
        kxsim::Picture icon;
        int32_t helpId = kxsim::help::kNetworkList;
        std::u16string language;
        int32_t result = 0;
        const kxsim::Status s =
            dialogs.SelectNetwork(section, keys, max, initFile, caption, icon, helpId, language, result);
        if (!s || result != 2) state.SkipWithError("SelectNetwork failed");
    }
    state.counters["entries"] = entries;
}

void BM_SelectNetwork_3000Keys(benchmark::State& state) { openAndCancel(state, u"Networks"); }
void BM_SelectNetwork_EmptySection(benchmark::State& state) { openAndCancel(state, u"Empty"); }

}  // namespace

BENCHMARK(BM_SelectNetwork_3000Keys)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SelectNetwork_EmptySection)->Unit(benchmark::kMillisecond);
