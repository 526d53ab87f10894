// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include "terminal_interaction.h"

#include <termios.h>
#include <unistd.h>

#include "text_output.h"

namespace kxsim::card {

namespace {

// One line from standard input, read byte by byte into a buffer reserved
// once, so no copy of a PIN is left behind by a reallocation.
std::string readLine() {
    std::string line;
    line.reserve(64);
    char c = 0;
    while (::read(STDIN_FILENO, &c, 1) == 1 && c != '\n') {
        if (line.size() < 63) line += c;
    }
    c = 0;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
}

}  // namespace

std::string TerminalInteraction::askPin(const std::string& prompt) {
    // The prompt names the reader, whose name comes from the device.
    tool::printErr(QString::fromStdString(prompt + ": "));
    termios saved{};
    const bool terminal = ::isatty(STDIN_FILENO) && ::tcgetattr(STDIN_FILENO, &saved) == 0;
    if (terminal) {
        termios quiet = saved;
        quiet.c_lflag &= ~tcflag_t(ECHO);
        ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
    }
    std::string pin = readLine();
    if (terminal) ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
    tool::printErr(QStringLiteral("\n"));
    return pin;
}

bool TerminalInteraction::confirm(const std::string& question) {
    tool::printErr(QString::fromStdString(question + " [y/N] "));
    const std::string answer = readLine();
    return answer == "y" || answer == "Y" || answer == "yes";
}

}  // namespace kxsim::card
