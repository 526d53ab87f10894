// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include "platform/help_window.h"

#include <QDesktopServices>
#include <QKeyEvent>
#include <QScreen>
#include <QTextDocument>
#include <QWindow>

#include "platform/design.h"

namespace kxsim::platform {
namespace {

QPointer<HelpWindow> g_window;

const QString kTitle = QStringLiteral("Kestrix SIM Lib Help");

// Rules added after a page's own style sheet on a dark palette: the pages
// were written for dark text on white, and the later rule wins.
QString darkPageStyle(const QPalette& palette) {
    const auto c = [&palette](QPalette::ColorRole role) { return palette.color(role).name(); };
    return QStringLiteral("\nbody, code { color: %1; }\n"
                          "h1, h2 { color: %2; }\n"
                          "a { color: %3; }\n"
                          "table.fields th { background-color: %4; border-color: %5; }\n"
                          "table.fields td { border-color: %5; }\n"
                          "p.note { background-color: %6; border-color: %5; }\n")
        .arg(c(QPalette::Text), headingColor(palette).name(), c(QPalette::Link), c(QPalette::Button),
             c(QPalette::Mid), c(QPalette::AlternateBase));
}

}  // namespace

HelpWindow* HelpWindow::instance() { return g_window.data(); }

HelpWindow& HelpWindow::obtain() {
    if (!g_window) g_window = new HelpWindow;
    return *g_window;
}

HelpWindow::HelpWindow() {
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowFlag(Qt::Window);
    setWindowModality(Qt::NonModal);
    // Closing the help window hides it for the next request; it never ends
    // the host's application.
    setAttribute(Qt::WA_QuitOnClose, false);
    setWindowTitle(kTitle);
    setOpenLinks(false);
    resize(640, 560);
    connect(this, &QTextBrowser::anchorClicked, this, &HelpWindow::followLink);
    connect(this, &QTextBrowser::sourceChanged, this, [this] {
        const QString title = documentTitle();
        setWindowTitle(title.isEmpty() ? kTitle : title + QStringLiteral(" - ") + kTitle);
    });
}

bool HelpWindow::showTopic(const std::string& helpFile, int32_t contextId, QWidget* caller) {
    // Opened afresh on each request, so a help file replaced meanwhile is read anew.
    const ChmFile::OpenResult opened = file_.open(helpFile);
    const TopicLookup lookup = lookupTopic(file_, opened, contextId);
    if (lookup.found()) {
        problem_.clear();
        QUrl url;
        url.setScheme(QString::fromLatin1(kScheme));
        const std::string::size_type hash = lookup.topic.find('#');
        url.setPath(QString::fromStdString(lookup.topic.substr(0, hash)));
        if (hash != std::string::npos) url.setFragment(QString::fromStdString(lookup.topic.substr(hash + 1)));
        // The same topic again reloads it: the file may have changed.
        if (source() == url) reload();
        else setSource(url, QTextDocument::HtmlResource);
    } else {
        showProblem(QString::fromStdString(lookup.message));
    }
    bringToFront(caller);
    return lookup.found();
}

QVariant HelpWindow::loadResource(int type, const QUrl& name) {
    // Everything comes from the help file; the window reads nothing else.
    if (name.scheme() != QLatin1String(kScheme) || !file_.isOpen()) return {};
    const std::optional<std::string> bytes = file_.read(name.path(QUrl::FullyDecoded).toStdString());
    if (!bytes) return {};
    QByteArray data(bytes->data(), qsizetype(bytes->size()));
    if (type == QTextDocument::StyleSheetResource && !isLightPalette(palette())) data += darkPageStyle(palette()).toUtf8();
    return data;
}

void HelpWindow::changeEvent(QEvent* event) {
    QTextBrowser::changeEvent(event);
    // A page shown keeps the colours it was laid out with: show it anew.
    if (event->type() == QEvent::PaletteChange && problem_.isEmpty() && source().isValid()) reload();
}

void HelpWindow::keyPressEvent(QKeyEvent* event) {
    if ((event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) ||
        event->matches(QKeySequence::Close)) {
        close();
        return;
    }
    QTextBrowser::keyPressEvent(event);
}

void HelpWindow::followLink(const QUrl& link) {
    if (link.scheme() == QLatin1String(kScheme)) {
        const std::string page = link.path(QUrl::FullyDecoded).toStdString();
        if (!file_.contains(page)) {
            showProblem(QStringLiteral("The help file %1 lacks the page %2.").arg(QString::fromStdString(file_.path()), QString::fromStdString(page)));
            return;
        }
        problem_.clear();
        setSource(link, QTextDocument::HtmlResource);
        return;
    }
    const QString scheme = link.scheme();
    if (scheme == u"http" || scheme == u"https" || scheme == u"mailto") QDesktopServices::openUrl(link);
}

void HelpWindow::showProblem(const QString& message) {
    problem_ = message;
    setHtml(QStringLiteral("<html><head><title>Help not available</title></head><body>"
                           "<h2 style=\"color:%1\">Help not available</h2><p>%2</p></body></html>")
                .arg(headingColor(palette()).name(), message.toHtmlEscaped()));
    setWindowTitle(QStringLiteral("Help not available - ") + kTitle);
}

void HelpWindow::bringToFront(QWidget* caller) {
    // Transient for the asking window: a modal dialog then does not block the
    // help window, and the window manager keeps help above the dialog.
    winId();
    if (caller && windowHandle()) {
        QWidget* top = caller->window();
        if (top != this && top->windowHandle()) windowHandle()->setTransientParent(top->windowHandle());
    }
    if (!isVisible() && caller) {
        // Beside the asking window where the screen has room, else over it.
        const QRect area = caller->window()->screen() ? caller->window()->screen()->availableGeometry() : QRect();
        const QRect asking = caller->window()->frameGeometry();
        QPoint at(asking.right() + 8, asking.top());
        if (area.isValid() && at.x() + width() > area.right()) at.setX(std::max(area.left(), area.right() - width()));
        move(at);
    }
    show();
    if (isMinimized()) showNormal();
    raise();
    activateWindow();
}

}  // namespace kxsim::platform
