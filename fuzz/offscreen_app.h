// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#pragma once
// The Qt application a target with widgets needs, on the offscreen platform
// so no display is used. Call from LLVMFuzzerInitialize.

#include <stdlib.h>

#include <QApplication>

namespace kxsim::fuzz {

inline void startOffscreenApplication(int* argc, char*** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static QApplication app(*argc, *argv);
}

}  // namespace kxsim::fuzz

// Fontconfig keeps its font patterns for the life of the process.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
