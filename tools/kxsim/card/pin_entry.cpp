// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include "pin_entry.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>
#include <array>

namespace kxsim::tool {

namespace {

class PinField : public QLineEdit {
public:
    PinField() {
        setObjectName(QStringLiteral("card-pin-field"));
        setEchoMode(QLineEdit::Password);
        setContextMenuPolicy(Qt::NoContextMenu);  // no paste: every digit is typed
        setAcceptDrops(false);
        setAttribute(Qt::WA_InputMethodEnabled, false);
    }
    ~PinField() override { wipe(); }
    PinField(const PinField&) = delete;
    PinField& operator=(const PinField&) = delete;

    // The digits as a short string (held inside the string object, never on the heap).
    std::string take() {
        std::string pin(digits_.data(), count_);
        wipe();
        return pin;
    }

protected:
    void keyPressEvent(QKeyEvent* event) override {
        const int key = event->key();
        if (key >= Qt::Key_0 && key <= Qt::Key_9 && !(event->modifiers() & ~Qt::KeypadModifier)) {
            if (count_ < digits_.size()) digits_[count_++] = char('0' + (key - Qt::Key_0));
        } else if (key == Qt::Key_Backspace && count_ > 0) {
            digits_[--count_] = 0;
        } else if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape || key == Qt::Key_Tab) {
            QLineEdit::keyPressEvent(event);
            return;
        } else {
            event->accept();
            return;
        }
        setText(QString(qsizetype(count_), QLatin1Char('*')));  // the field itself holds no digit
        event->accept();
    }

private:
    void wipe() {
        volatile char* p = digits_.data();
        for (size_t i = 0; i < digits_.size(); ++i) p[i] = 0;
        count_ = 0;
    }
    std::array<char, 8> digits_{};
    size_t count_ = 0;
};

}  // namespace

std::string askPinInWindow(QWidget* parent, const QString& prompt) {
    QDialog window(parent);
    window.setObjectName(QStringLiteral("card-pin"));
    window.setWindowTitle(QStringLiteral("PIN"));
    auto* layout = new QVBoxLayout(&window);
    auto* label = new QLabel(prompt);
    label->setWordWrap(true);
    layout->addWidget(label);
    auto* field = new PinField;
    layout->addWidget(field);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    layout->addWidget(buttons);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &window, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &window, &QDialog::reject);
    QObject::connect(field, &QLineEdit::returnPressed, &window, &QDialog::accept);
    field->setFocus();
    const bool ok = window.exec() == QDialog::Accepted;
    std::string pin = field->take();
    if (!ok) pin.assign(pin.size(), '\0'), pin.clear();
    return pin;
}

}  // namespace kxsim::tool
