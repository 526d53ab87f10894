// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#pragma once
// The help viewer seam: opens a topic of a compiled help file by context number.

#include <cstdint>
#include <string>

class QWidget;

namespace kxsim::platform {

class HelpViewer {
public:
    virtual ~HelpViewer() = default;
    /// Shows the topic with \a contextId of the help file \a helpFile. \a caller
    /// is the window asking (may be null). Never blocks the caller with a modal box.
    virtual void showTopic(const std::u16string& helpFile, int32_t contextId, QWidget* caller) = 0;
};

/// The viewer in force: the library's own, unless one was put in place.
HelpViewer& currentHelpViewer();

/// Puts \a viewer in place while the guard lives (tests, hosts with a viewer of their own).
class ScopedHelpViewer {
public:
    explicit ScopedHelpViewer(HelpViewer& viewer);
    ~ScopedHelpViewer();
    ScopedHelpViewer(const ScopedHelpViewer&) = delete;
    ScopedHelpViewer& operator=(const ScopedHelpViewer&) = delete;

private:
    HelpViewer* previous_;
};

/// The library's help file: "kxhelpd.chm" in the library folder.
std::u16string helpFilePath();

/// Opens the library's help file at \a contextId through the viewer in force.
void openHelp(int32_t contextId, QWidget* caller);

}  // namespace kxsim::platform
