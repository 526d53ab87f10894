// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#pragma once
// Keyboard and screen-reader access a form gets once its texts are final:
// unique Alt accelerators (as KDE's accelerator manager gives them) and an
// accessible name for every input control.

#include <QPointer>
#include <QString>
#include <QStringList>
#include <vector>

class QObject;
class QWidget;

namespace kxsim::platform {

/// Gives the buttons, check boxes and labels with a buddy among \a controls
/// unique Alt accelerators: the first free letter that starts a word, else any
/// free letter or digit. A text that carries "&" already keeps it; a one-character
/// text (a symbol) gets none. Run after translation: designText gives back
/// what translation looks up.
void assignAccelerators(const std::vector<QPointer<QObject>>& controls);

/// \a text as it was before assignAccelerators marked it on \a control; any
/// other text as it stands.
QString designText(const QObject* control, const QString& text);

/// \a text without accelerator marks ("&&" stays one "&") and without a
/// trailing colon: how a screen reader should say a caption.
QString spokenText(const QString& text);

/// Names \a control, for screen readers, after the texts of \a parts (labels,
/// buttons, frames, by object name within its window) joined by blanks. For
/// a control that one label alone does not name: "Total Units".
void nameAfter(QWidget* control, const QStringList& parts);

/// Names \a control, for screen readers, \a designName looked up in the
/// language file as captions are; what it shows stays ("?" is said "Help").
void nameAs(QWidget* control, const QString& designName);

/// Sets the accessible name of every control of \a window that nameAfter,
/// nameAs or a label's buddy names, from the texts they show now.
void nameControls(QWidget& window);

}  // namespace kxsim::platform
