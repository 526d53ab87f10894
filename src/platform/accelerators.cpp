// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include "platform/accelerators.h"

#include "platform/control_types.h"
#include "platform/language_text.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSet>
#include <QStringList>
#include <QVariant>
#include <QWidget>
#include <algorithm>

namespace kxsim::platform {
namespace {

// The text assignAccelerators set, and the text it replaced.
constexpr const char* kMarkedText = "kxMarkedText";
constexpr const char* kUnmarkedText = "kxUnmarkedText";
constexpr const char* kNameParts = "kxNameParts";
constexpr const char* kDesignName = "kxDesignName";

// The position of the accelerator mark "&" in \a text, or -1 ("&&" is a literal "&").
qsizetype markAt(const QString& text) {
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != u'&') continue;
        if (text[i + 1] != u'&') return i;
        ++i;
    }
    return -1;
}

QString textOf(const QObject* control) {
    if (auto* b = qobject_cast<const QAbstractButton*>(control)) return b->text();
    if (auto* l = qobject_cast<const QLabel*>(control)) return l->text();
    if (auto* g = qobject_cast<const QGroupBox*>(control)) return g->title();
    return {};
}

void setTextOf(QObject* control, const QString& text) {
    if (auto* b = qobject_cast<QAbstractButton*>(control)) b->setText(text);
    else if (auto* l = qobject_cast<QLabel*>(control)) l->setText(text);
}

// Where the mark goes in \a text: the first free letter or digit that starts a
// word, else the first free one anywhere; -1 when none is free.
qsizetype choose(const QString& text, const QSet<QChar>& taken) {
    qsizetype anywhere = -1;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (!c.isLetterOrNumber() || taken.contains(c.toLower())) continue;
        if (i == 0 || !text[i - 1].isLetterOrNumber()) return i;
        if (anywhere < 0) anywhere = i;
    }
    return anywhere;
}

}  // namespace

QString designText(const QObject* control, const QString& text) {
    if (control->property(kMarkedText).toString() == text && !text.isEmpty())
        return control->property(kUnmarkedText).toString();
    return text;
}

void assignAccelerators(const std::vector<QPointer<QObject>>& controls) {
    // The default button first, then the button band's, other buttons, check
    // boxes and labelled fields.
    std::vector<QObject*> candidates;
    for (const QPointer<QObject>& c : controls) {
        if (!c) continue;
        auto* label = qobject_cast<QLabel*>(c.data());
        if ((label && label->buddy()) || qobject_cast<QAbstractButton*>(c.data())) candidates.push_back(c.data());
    }
    const auto rank = [](const QObject* c) {
        if (auto* b = qobject_cast<const QPushButton*>(c)) {
            if (b->isDefault()) return 0;
            return b->parent() && controlTypeName(b->parent()) == u"Shape" ? 1 : 2;  // the band's own
        }
        return qobject_cast<const QAbstractButton*>(c) ? 3 : 4;
    };
    // Within a rank, short texts choose first: they have the fewest letters to choose from.
    const auto letters = [](const QObject* c) {
        QSet<QChar> set;
        for (QChar ch : textOf(c))
            if (ch.isLetterOrNumber()) set.insert(ch.toLower());
        return set.size();
    };
    std::stable_sort(candidates.begin(), candidates.end(), [&](const QObject* a, const QObject* b) {
        return rank(a) != rank(b) ? rank(a) < rank(b) : letters(a) < letters(b);
    });

    QSet<QChar> taken;
    std::vector<QObject*> unmarked;
    for (QObject* c : candidates) {
        const QString text = designText(c, textOf(c));
        setTextOf(c, text);  // a mark of an earlier display goes; the letters may differ now
        if (const qsizetype at = markAt(text); at >= 0) taken.insert(text[at + 1].toLower());
        else if (text.size() > 1) unmarked.push_back(c);
    }
    for (QObject* c : unmarked) {
        const QString text = textOf(c);
        const qsizetype at = choose(text, taken);
        if (at < 0) continue;
        taken.insert(text[at].toLower());
        // Any other "&" of the text is a literal "&&" already (it carries no mark).
        const QString marked = QString(text).insert(at, u'&');
        c->setProperty(kUnmarkedText, text);
        c->setProperty(kMarkedText, marked);
        setTextOf(c, marked);
    }
}

QString spokenText(const QString& text) {
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'&' && i + 1 < text.size()) ++i;
        out += text[i];
    }
    out = out.trimmed();
    if (out.endsWith(u':')) out.chop(1);
    return out.trimmed();
}

void nameAfter(QWidget* control, const QStringList& parts) { control->setProperty(kNameParts, parts); }

void nameAs(QWidget* control, const QString& designName) { control->setProperty(kDesignName, designName); }

void nameControls(QWidget& window) {
    for (QLabel* label : window.findChildren<QLabel*>())
        if (QWidget* buddy = label->buddy(); buddy && !buddy->property(kNameParts).isValid())
            buddy->setAccessibleName(spokenText(label->text()));
    for (QWidget* control : window.findChildren<QWidget*>()) {
        const QVariant parts = control->property(kNameParts);
        if (!parts.isValid()) continue;
        QStringList words;
        for (const QString& name : parts.toStringList())
            if (QObject* part = window.findChild<QObject*>(name)) words << spokenText(textOf(part));
        control->setAccessibleName(words.join(u' '));
    }
    for (QWidget* control : window.findChildren<QWidget*>())
        if (const QVariant name = control->property(kDesignName); name.isValid())
            control->setAccessibleName(QString::fromStdU16String(languageText(name.toString().toStdU16String())));
}

}  // namespace kxsim::platform
