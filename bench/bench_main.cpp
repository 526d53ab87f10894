// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
// Main of the window benchmarks: a QApplication on the offscreen platform
// (unless another is asked for) and private settings, then Google Benchmark.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryDir>
#include <cstdlib>

#include "quiet_offscreen.h"

int main(int argc, char** argv) {
    QTemporaryDir home;
    ::setenv("XDG_CONFIG_HOME", home.path().toUtf8().constData(), 0);
    ::setenv("XDG_RUNTIME_DIR", home.path().toUtf8().constData(), 0);
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    kxsim::bench::quietOffscreenWarnings();
    QApplication app(argc, argv);
    ::benchmark::Initialize(&argc, argv);
    ::benchmark::RunSpecifiedBenchmarks();
    ::benchmark::Shutdown();
    return 0;
}
