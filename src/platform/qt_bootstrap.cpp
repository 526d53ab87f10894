// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include "platform/qt_bootstrap.h"

#include <QApplication>
#include <QThread>
#include <string>

#include "platform/qt_platform.h"

namespace kxsim::platform {
namespace {

Status failure(const char16_t* text) { return Status::error(errors::CantCreateObject, text); }

std::vector<std::string>& applicationArguments() {
    static std::vector<std::string> arguments;
    return arguments;
}

}  // namespace

Status ensureGuiThread() {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app) {
        // Qt ends the process when its platform cannot start, so the
        // platform is chosen and checked first and then named to Qt.
        static std::string platform;
        if (Status s = choosePlatform(platform); !s) return s;
        // Made once for the process and kept: the host may create dialogs until it exits.
        static std::vector<std::string> words;
        static std::vector<char*> argv;
        static int argc = 0;
        words = {"kxsimlib"};
        argv.clear();
        for (const std::string& a : applicationArguments()) words.push_back(a);
        words.insert(words.end(), {"-platform", platform});
        for (std::string& w : words) argv.push_back(w.data());
        argc = static_cast<int>(argv.size());
        argv.push_back(nullptr);
        app = new QApplication(argc, argv.data());
    }
    if (!qobject_cast<QApplication*>(app))
        return failure(u"The host runs a QCoreApplication; dialogs need a QApplication");
    if (QThread::currentThread() != app->thread())
        return failure(u"Dialogs can only be shown on the thread that runs the Qt application");
    return {};
}

void setApplicationArguments(std::vector<std::string> arguments) { applicationArguments() = std::move(arguments); }

}  // namespace kxsim::platform
