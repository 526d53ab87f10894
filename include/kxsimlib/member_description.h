// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#pragma once
// What a member of a library class is, in words and numbers: its name and
// dispatch identifier, each parameter with its kind and direction, the window
// it shows with its help topic and buttons, and its result. Each member is
// described once, beside its code; call by name, the Python module, kxsim's
// commands, the tests and the benchmarks read these descriptions.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kxsim {

/// What a parameter holds, richer than its type: how a script or a command
/// line may give it.
enum class ParamKind {
    Text,      ///< any text
    Digits,    ///< a number written as text ("120"); a script may give a number
    NameList,  ///< names separated by NUL characters; a script may give a list
    KeyList,   ///< numeric keys, each followed by ";" ("26201;26202;")
    Number,    ///< a whole number (Long)
    Picture,   ///< an image: none, a file or encoded bytes
    File,      ///< the path of a file
};

/// Whether the member reads a parameter, writes it back, or both.
enum class Direction { In, InOut, Out };

struct ParamDescription {
    std::u16string_view name;   ///< the member's parameter name ("Acm")
    ParamKind kind;
    Direction direction;
    std::u16string_view about;  ///< what it is, in a few words: a label or a help line
    std::u16string_view sample; ///< a typical value (workbench, screenshots); empty: none
};

/// A command button of the member's window: objectName is `array(index)`.
struct ButtonDescription {
    int32_t index = 0;  ///< 0: the window has no such button
};

/// Whether the member is called, or is a property the host assigns.
enum class MemberRole { Call, PropertyPut };

struct MemberDescription {
    std::u16string_view name;  ///< "SelectMeter"
    int32_t dispatchId;        ///< its place in the interface (1 to 7 for CDialogs)
    MemberRole role;
    std::u16string_view about; ///< one line
    std::vector<ParamDescription> params;  ///< in order, the result left out
    std::u16string_view form = {};         ///< the window's name ("WAcm"); empty: shows none
    int32_t helpContext = 0;               ///< the window's help topic
    std::u16string_view buttonArray = {};  ///< the command buttons' control array ("CBAction")
    ButtonDescription confirm = {};        ///< the button that confirms (OK, or Close)
    ButtonDescription cancel = {};         ///< the button that cancels; index 0: none
    ButtonDescription help = {};           ///< the "?" button
    ParamKind resultKind = ParamKind::Text;
    std::u16string_view result = {};       ///< what the result means; empty: the member has none

    /// The objectName of \a button: "CBAction(1)"; empty when the window has none.
    std::u16string buttonName(ButtonDescription button) const {
        if (!button.index) return {};
        std::u16string out(buttonArray);
        out += u'(';
        for (char c : std::to_string(button.index)) out += char16_t(c);
        return out + u')';
    }
    /// The parameter named \a param, or null.
    const ParamDescription* param(std::u16string_view param) const {
        for (const ParamDescription& p : params)
            if (p.name == param) return &p;
        return nullptr;
    }
};

}  // namespace kxsim
