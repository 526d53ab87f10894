// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include "support/dialog_driver.h"

#include <QAbstractButton>
#include <QTest>
#include <QTimer>

#include "platform/form.h"
#include "platform/text_codec.h"

namespace kxsim::test {

struct WhenShown::State {
    QString formName;
    std::function<void(QDialog&)> action;
    int runs = 0;
};

WhenShown::WhenShown(QString formName, std::function<void(QDialog&)> action)
    : state_(std::make_shared<State>(State{std::move(formName), std::move(action), 0})) {
    std::weak_ptr<State> weak = state_;
    observer_ = std::make_shared<platform::ScopedDisplayObserver>([weak](platform::Form& form) {
        auto state = weak.lock();
        if (!state || form.name() != state->formName) return;
        QDialog* window = &form.window();
        QTimer::singleShot(0, window, [weak, window] {
            if (auto s = weak.lock()) {
                ++s->runs;
                s->action(*window);
            }
        });
        QTimer::singleShot(5000, window, [window] {
            if (!window->isVisible()) return;
            ADD_FAILURE() << window->objectName().toStdString() << " was still open; closing it";
            window->close();
        });
    });
}

WhenShown::~WhenShown() = default;

int WhenShown::runs() const { return state_->runs; }

void showOnce(const QString& formName, const std::function<void(QDialog&)>& act, const std::function<Status()>& call) {
    WhenShown driver(formName, act);
    const Status s = call();
    EXPECT_TRUE(s) << s.number() << " " << platform::toUtf8(s.description());
    EXPECT_EQ(driver.runs(), 1) << formName.toStdString();
}

void click(QWidget& window, const QString& name) {
    auto* button = window.findChild<QAbstractButton*>(name);
    if (!button) {
        ADD_FAILURE() << "no button " << name.toStdString();
        return;
    }
    QTest::mouseClick(button, Qt::LeftButton);
}

void closeBox(QDialog& window) { window.close(); }

void retype(QLineEdit* edit, const QString& text) {
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
}

QStringList itemTexts(const QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
    return out;
}

}  // namespace kxsim::test
