// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#pragma once
// A help viewer that records what it was asked to show.

#include <string>
#include <vector>

#include "platform/help_viewer.h"

namespace kxsim::test {

class RecordingHelpViewer : public platform::HelpViewer {
public:
    RecordingHelpViewer() : scope_(*this) {}
    void showTopic(const std::u16string& file, int32_t contextId, QWidget* caller) override {
        files.push_back(file);
        contexts.push_back(contextId);
        callers.push_back(caller);
    }
    std::vector<std::u16string> files;
    std::vector<int32_t> contexts;
    std::vector<QWidget*> callers;

private:
    platform::ScopedHelpViewer scope_;
};

}  // namespace kxsim::test
