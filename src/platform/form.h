// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#pragma once
// The form lifecycle every dialog shares: a form object that lives on with its
// variables, and a window that is loaded on first access, shown modally and
// unloaded again.

#include <QPointer>
#include <QString>
#include <cstdint>
#include <functional>
#include <vector>

class QAbstractButton;
class QDialog;
class QObject;

namespace kxsim::platform {

class FormWindow;

class Form {
public:
    /// How a modal display ended.
    enum class Ending {
        Hidden,    ///< a handler hid the window; it is still loaded
        Unloaded,  ///< a handler unloaded the window
        CloseBox,  ///< the user closed the window; it is unloaded
    };

    /// \a name is the form's name and its window's objectName, e.g. "WLeser".
    explicit Form(QString name);
    virtual ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    const QString& name() const { return name_; }

    /// The window, loaded (built, then the load handler run) on first access.
    QDialog& window();
    bool isLoaded() const { return !window_.isNull(); }
    /// True while showModal runs: host code called from inside the modal loop
    /// must not touch this form.
    bool isShownModally() const { return inModal_; }
    /// Destroys the window and its controls; the form object and its variables stay.
    void unload();
    /// Hides the window, which ends a modal display; the controls keep their contents.
    void hide();
    /// Shows the window modally with no owner; returns when it is hidden,
    /// unloaded or closed by the user (a close unloads it).
    Ending showModal();

    QString caption();
    void setCaption(const QString& caption);
    int32_t helpContextId() const { return helpContextId_; }
    void setHelpContextId(int32_t id) { helpContextId_ = id; }

    /// The loaded window's controls in creation order, the order translation walks.
    const std::vector<QPointer<QObject>>& controls() const { return controls_; }

    /// Opens help at this form's help context (the "?" buttons and F1).
    virtual void showHelp();

protected:
    /// Creates the controls in their design state; runs at every load.
    virtual void build(QDialog& window) = 0;
    /// The load handler: runs after build.
    virtual void loaded() {}
    /// Runs once per modal display, as the window is first shown.
    virtual void displayed() {}

    /// Registers \a control under \a name ("CBFile") or "Name(Index)" ("CBFile(6)").
    template <class T>
    T* add(T* control, const QString& controlName) {
        registerControl(control, controlName);
        return control;
    }
    template <class T>
    T* add(T* control, const QString& controlName, int index) {
        registerControl(control, QStringLiteral("%1(%2)").arg(controlName).arg(index));
        return control;
    }
    /// The button Esc presses; without one, Esc does nothing.
    void setCancelButton(QAbstractButton* button);

private:
    friend class FormWindow;
    void registerControl(QObject* control, const QString& controlName);
    void windowShown();
    void windowClosedByUser();
    void escapePressed();

    QString name_;
    QPointer<FormWindow> window_;
    std::vector<QPointer<QObject>> controls_;
    QPointer<QAbstractButton> cancelButton_;
    int32_t helpContextId_ = 0;
    int designWidth_ = 0;
    bool displayPending_ = false;
    bool inModal_ = false;
    Ending ending_ = Ending::Hidden;
};

/// Called after a form's display handler has run, on the thread that shows it.
/// Tests and the screenshot tool use it to drive or capture the window.
using DisplayObserver = std::function<void(Form&)>;

/// Adds \a observer for this thread while the returned guard lives.
class ScopedDisplayObserver {
public:
    explicit ScopedDisplayObserver(DisplayObserver observer);
    ~ScopedDisplayObserver();
    ScopedDisplayObserver(const ScopedDisplayObserver&) = delete;
    ScopedDisplayObserver& operator=(const ScopedDisplayObserver&) = delete;

private:
    size_t id_;
};

}  // namespace kxsim::platform
