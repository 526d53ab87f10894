// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
// The first dialog of a fresh process: started by first_dialog_bench, it opens
// the card reader dialog with no QApplication in place (the library starts
// one), writes the nanoseconds from main to the window shown to the file
// descriptor named by its argument, and closes the window.

#include <unistd.h>

#include <QDialog>
#include <QTimer>
#include <chrono>
#include <cstdlib>
#include <string>

#include "kxsimlib/cdialogs.h"
#include "quiet_offscreen.h"
#include "surface/tooling.h"

int main(int argc, char** argv) {
    const auto start = std::chrono::steady_clock::now();
    if (argc != 2) return 2;
    kxsim::bench::quietOffscreenWarnings();
    const int fd = std::atoi(argv[1]);
    bool reported = false;
    auto guard = kxsim::tooling::observeDisplayedDialogs([&](QDialog& window) {
        const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(
                            std::chrono::steady_clock::now() - start).count();
        const std::string text = std::to_string(ns) + "\n";
        reported = ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
        QTimer::singleShot(0, &window, [&window] { window.close(); });
    });
    kxsim::CDialogs dialogs;
    std::u16string language = KXSIM_SOURCE_DIR u"/lang/kxsim_de.ini";
    dialogs.Language(language);
    std::u16string readers(u"Reader A\0Reader B", 17);
    std::u16string result;
    const kxsim::Status s = dialogs.Kartenleser(readers, result);
    return s.ok() && reported ? 0 : 1;
}
