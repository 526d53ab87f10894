// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include "platform/ui_feedback.h"

#include <QApplication>
#include <QDialog>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/accelerators.h"
#include "platform/design.h"

namespace kxsim::platform {
namespace {

thread_local int t_beeps = 0;

}  // namespace

void criticalMessage(const QString& text) {
    QMessageBox box(QMessageBox::Critical, QApplication::applicationName(), text, QMessageBox::Ok);
    box.setObjectName(QStringLiteral("MessageBox"));
    box.exec();
}

void beep() {
    ++t_beeps;
    QApplication::beep();
}

int beepCount() { return t_beeps; }

std::optional<QString> inputBox(QWidget* owner, const QString& prompt, const QString& title,
                                const QString& okText, const QString& cancelText) {
    QDialog box(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    box.setObjectName(QStringLiteral("InputBox"));
    box.setWindowTitle(title);
    if (owner) box.setFont(owner->window()->font());
    QVBoxLayout* root = makeFormLayout(&box);
    auto* body = new QVBoxLayout;
    body->setContentsMargins(kFormMargin, kFormMargin, kFormMargin, kFormMargin);
    body->setSpacing(kFormSpacing);
    auto* label = new QLabel(prompt, &box);
    label->setObjectName(QStringLiteral("Prompt"));
    label->setTextFormat(Qt::PlainText);
    auto* text = new QLineEdit(&box);
    text->setObjectName(QStringLiteral("Text"));
    text->setMinimumWidth(text->fontMetrics().averageCharWidth() * 40);
    text->setAccessibleName(spokenText(prompt));
    body->addWidget(label);
    body->addWidget(text);
    root->addLayout(body);
    auto* ok = new QPushButton(okText, &box);
    auto* cancel = new QPushButton(cancelText, &box);
    ok->setObjectName(QStringLiteral("OK"));
    cancel->setObjectName(QStringLiteral("Cancel"));
    root->addWidget(makeButtonBand(&box, nullptr, {ok, cancel}));
    ok->setDefault(true);
    // Enter presses the focused button (Qt moves the default to it), else OK.
    for (QPushButton* b : {ok, cancel}) b->setAutoDefault(true);
    root->setSizeConstraint(QLayout::SetFixedSize);
    QObject::connect(ok, &QPushButton::clicked, &box, &QDialog::accept);
    QObject::connect(cancel, &QPushButton::clicked, &box, &QDialog::reject);
    text->setFocus();
    if (box.exec() != QDialog::Accepted) return std::nullopt;
    return text->text();
}

}  // namespace kxsim::platform
