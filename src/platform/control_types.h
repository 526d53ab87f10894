// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#pragma once
// How the translation walk sees Qt controls: each control's type name and the
// texts it carries, in one place.

#include <QString>
#include <functional>
#include <vector>

class QObject;
class QWidget;

namespace kxsim::platform {

/// Names a control's kind where its Qt class does not tell it ("Image", "Shape", "ListView").
void setControlType(QObject* control, const char* typeName);

/// The type name of \a control: "Label", "Frame", "CommandButton", "CheckBox",
/// "OptionButton", "TextBox", "ListBox", "ComboBox", "Slider", "Image", "Shape",
/// "ListView", "TreeView", "TabStrip", "Toolbar", "StatusBar", "Menu", or the Qt
/// class name for anything else.
QString controlTypeName(const QObject* control);

/// One text of a control: read it, then write its replacement.
struct ControlText {
    std::function<QString()> get;
    std::function<void(const QString&)> set;
};

/// The texts translation replaces in \a control, in order, and the language file
/// section they are looked up in ("Label" or "Menu"). A control without a
/// caption (text box, list, combo box, image, shape, slider) has none.
struct ControlTexts {
    QString section;
    std::vector<ControlText> texts;
};
ControlTexts translatableTexts(QObject* control);

}  // namespace kxsim::platform
