// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include "platform/fit_width.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLayout>
#include <QScreen>
#include <QRegularExpression>
#include <QWidget>
#include <algorithm>
#include <vector>

namespace kxsim::platform {
namespace {

// Below this a text says nothing any more; a form this narrow is left as it is.
constexpr int kNarrowestText = 48;

struct Text {
    QWidget* control;
    QString full;
    QString toolTip;
};

QString textOf(QWidget* w) {
    if (auto* label = qobject_cast<QLabel*>(w)) return label->textFormat() == Qt::RichText ? QString() : label->text();
    if (auto* button = qobject_cast<QAbstractButton*>(w)) return button->text();
    if (auto* frame = qobject_cast<QGroupBox*>(w)) return frame->title();
    return {};
}

int widestLine(const QWidget* w, const QString& text) {
    int widest = 0;
    for (const QString& line : text.split(QLatin1Char('\n')))
        widest = std::max(widest, w->fontMetrics().horizontalAdvance(line));
    return widest;
}

QString elided(const QWidget* w, const QString& text, int cap) {
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString& line : lines) line = w->fontMetrics().elidedText(line, Qt::ElideRight, cap);
    return lines.join(QLatin1Char('\n'));
}

bool wordsFit(const QWidget* w, const QString& text, int cap) {
    const auto words = text.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
    return std::all_of(words.begin(), words.end(),
                       [&](const QString& word) { return w->fontMetrics().horizontalAdvance(word) <= cap; });
}

// Shows \a text within \a cap pixels, or in full when it fits.
void shorten(const Text& t, int cap) {
    QWidget* w = t.control;
    const bool fits = widestLine(w, t.full) <= cap;
    w->setToolTip(fits ? t.toolTip : t.full);
    if (auto* label = qobject_cast<QLabel*>(w)) {
        if (!fits && wordsFit(w, t.full, cap)) {
            label->setWordWrap(true);
            label->setMaximumWidth(cap);
            label->setText(t.full);
        } else {
            label->setText(fits ? t.full : elided(w, t.full, cap));
        }
        return;
    }
    const QString shown = fits ? t.full : elided(w, t.full, cap);
    if (auto* button = qobject_cast<QAbstractButton*>(w)) button->setText(shown);
    if (auto* frame = qobject_cast<QGroupBox*>(w)) frame->setTitle(shown);
}

int hintWidth(QWidget& window) {
    // A panel's size hint is cached in its parent's layout until the panel's
    // own layout runs, which would be at the next event loop: refresh the
    // caches from the innermost widget out.
    const QList<QWidget*> widgets = window.findChildren<QWidget*>();
    for (auto w = widgets.rbegin(); w != widgets.rend(); ++w) (*w)->updateGeometry();
    if (QLayout* layout = window.layout()) {
        layout->invalidate();
        layout->activate();
    }
    return window.sizeHint().width();
}

}  // namespace

int widthLimit(const QWidget& window, int designWidth) {
    const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    int limit = screen ? screen->availableGeometry().width() : designWidth * 3 / 2;
    const QString platform = QGuiApplication::platformName();
    if (platform == QLatin1String("offscreen") || platform == QLatin1String("minimal"))
        limit = std::min(limit, designWidth * 3 / 2);
    return limit;
}

void fitToWidth(QWidget& window, int limit) {
    if (hintWidth(window) <= limit) return;
    std::vector<Text> texts;
    for (QWidget* w : window.findChildren<QWidget*>()) {
        const QString text = textOf(w);
        if (!text.isEmpty()) texts.push_back({w, text, w->toolTip()});
    }
    // Narrow every text wider than the cap, a step at a time, until the
    // window fits: the texts that caused the width go first.
    for (int cap = limit; cap >= kNarrowestText; cap = cap * 4 / 5) {
        for (const Text& t : texts) shorten(t, cap);
        if (hintWidth(window) <= limit) return;
    }
}

}  // namespace kxsim::platform
