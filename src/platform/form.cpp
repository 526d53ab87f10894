// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include "platform/form.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QLayout>
#include <QPushButton>
#include <map>

#include "platform/accelerators.h"
#include "platform/fit_width.h"
#include "platform/help_viewer.h"

namespace kxsim::platform {

// The window of a form: forwards the events the lifecycle cares about.
class FormWindow : public QDialog {
public:
    explicit FormWindow(Form& form) : form_(form) {
        setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                       Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                       Qt::MSWindowsFixedSizeDialogHint);
    }

protected:
    void showEvent(QShowEvent* event) override {
        QDialog::showEvent(event);
        form_.windowShown();
    }
    void closeEvent(QCloseEvent* event) override {
        event->accept();
        form_.windowClosedByUser();
    }
    void reject() override { form_.escapePressed(); }
    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() == Qt::Key_F1 && event->modifiers() == Qt::NoModifier) {
            form_.showHelp();
            return;
        }
        // Key presses come here from the focus widget when it leaves them. Enter
        // left by a focused button presses that button, as Space does; from
        // anywhere else it presses the default button, if the form has one.
        const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
        auto* focused = qobject_cast<QPushButton*>(focusWidget());
        if (enter && focused && focused->isEnabled() && (event->modifiers() & ~Qt::KeypadModifier) == 0) {
            focused->click();
            return;
        }
        QDialog::keyPressEvent(event);
    }

private:
    Form& form_;
};

Form::Form(QString name) : name_(std::move(name)) {}

Form::~Form() {
    // Without an application (process exit) the window cannot be destroyed safely.
    if (window_ && QCoreApplication::instance()) delete window_.data();
}

QDialog& Form::window() {
    if (!window_) {
        auto* w = new FormWindow(*this);
        w->setObjectName(name_);
        window_ = w;
        controls_.clear();
        cancelButton_ = nullptr;
        build(*w);
        if (QLayout* layout = w->layout()) layout->setSizeConstraint(QLayout::SetFixedSize);
        designWidth_ = w->sizeHint().width();  // before any translation
        loaded();
    }
    return *window_;
}

void Form::unload() {
    if (!window_) return;
    FormWindow* w = window_.data();
    window_ = nullptr;
    controls_.clear();
    if (inModal_) {
        ending_ = ending_ == Ending::CloseBox ? Ending::CloseBox : Ending::Unloaded;
        w->hide();  // ends the modal display; the window goes once it has returned
        w->deleteLater();
    } else {
        delete w;
    }
}

void Form::hide() {
    if (window_) window_->hide();
}

Form::Ending Form::showModal() {
    QDialog& w = window();
    ending_ = Ending::Hidden;
    displayPending_ = true;
    inModal_ = true;
    w.exec();
    inModal_ = false;
    displayPending_ = false;
    if (ending_ == Ending::CloseBox) unload();
    // A window unloaded inside the modal display goes now, not at some later event loop.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return ending_;
}

QString Form::caption() { return window().windowTitle(); }

void Form::setCaption(const QString& caption) { window().setWindowTitle(caption); }

void Form::showHelp() { openHelp(helpContextId_, window_.data()); }

void Form::setCancelButton(QAbstractButton* button) { cancelButton_ = button; }

void Form::registerControl(QObject* control, const QString& controlName) {
    control->setObjectName(controlName);
    controls_.emplace_back(control);
}

namespace {

thread_local std::map<size_t, DisplayObserver> t_observers;
thread_local size_t t_nextObserver = 0;

}  // namespace

void Form::windowShown() {
    if (!displayPending_) return;
    displayPending_ = false;
    displayed();
    // Translated texts may be far longer than the design's.
    if (window_) {
        fitToWidth(*window_, widthLimit(*window_, designWidth_));
        // Once the texts are final: Alt accelerators and the names a screen reader says.
        assignAccelerators(controls_);
        nameControls(*window_);
    }
    // Copy: an observer may remove itself.
    const auto observers = t_observers;
    for (const auto& [id, observer] : observers) observer(*this);
}

void Form::windowClosedByUser() {
    ending_ = Ending::CloseBox;
    hide();
}

void Form::escapePressed() {
    if (cancelButton_ && cancelButton_->isEnabled()) cancelButton_->click();
}

ScopedDisplayObserver::ScopedDisplayObserver(DisplayObserver observer) : id_(t_nextObserver++) {
    t_observers.emplace(id_, std::move(observer));
}

ScopedDisplayObserver::~ScopedDisplayObserver() { t_observers.erase(id_); }

}  // namespace kxsim::platform
