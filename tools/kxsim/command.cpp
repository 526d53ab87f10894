// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include "command.h"

#include <QApplication>
#include <cstdlib>

#include "surface/tooling.h"

namespace kxsim::tool {

std::vector<Command>& commands() {
    static std::vector<Command> all;
    return all;
}

CommandRegistration::CommandRegistration(Command command) { commands().push_back(std::move(command)); }

void ensureRenderingApplication() {
    if (QCoreApplication::instance()) return;
    const bool haveDisplay = std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY");
    if (!haveDisplay && !std::getenv("QT_QPA_PLATFORM")) ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    startApplication();
}

void startApplication() {
    if (Status s = tooling::startApplication(); !s) throw CallFailure(s);
}

CallFailure::CallFailure(const Status& failed)
    : std::runtime_error(QString::fromStdU16String(failed.description()).toStdString()), status(failed) {}

}  // namespace kxsim::tool
