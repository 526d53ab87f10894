// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#pragma once
// The help window: one non-modal window that shows topics of a compiled help
// file, loading pages, pictures and styles from the file and following links.

#include <QPointer>
#include <QTextBrowser>
#include <memory>
#include <string>

#include "platform/chm_file.h"

namespace kxsim::platform {

class HelpWindow : public QTextBrowser {
    Q_OBJECT
public:
    /// The scheme of the window's addresses: "kxhelp:/card_reader.htm".
    static constexpr const char* kScheme = "kxhelp";

    /// The window of this process, or null while none was opened.
    static HelpWindow* instance();
    /// The window of this process, created (hidden) on first need.
    static HelpWindow& obtain();

    /// Shows the topic with \a contextId of the help file \a helpFile (UTF-8
    /// path), or a page saying why it cannot, and brings the window to the
    /// front. \a caller is the window asking (may be null): the help window
    /// stays usable while that window is modal. Returns false when it shows
    /// such a page.
    bool showTopic(const std::string& helpFile, int32_t contextId, QWidget* caller);

    /// The message of the page shown instead of a topic; empty while a topic shows.
    const QString& problem() const { return problem_; }
    /// The help file the window reads from.
    const std::string& helpFile() const { return file_.path(); }

    QVariant loadResource(int type, const QUrl& name) override;

protected:
    /// Esc and the desktop's close keys (Ctrl+W) close the window.
    void keyPressEvent(QKeyEvent* event) override;
    /// A new palette shows the page anew: on a dark palette pages take its
    /// colours (see loadResource), on a light one they stay as written.
    void changeEvent(QEvent* event) override;

private:
    HelpWindow();
    void followLink(const QUrl& link);
    void showProblem(const QString& message);
    void bringToFront(QWidget* caller);

    ChmFile file_;
    QString problem_;
};

}  // namespace kxsim::platform
