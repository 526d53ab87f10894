// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include "kxsimlib/status.h"

#include <algorithm>
#include <array>
#include <utility>

namespace kxsim {
namespace {

struct ErrorText {
    int32_t number;
    const char16_t* text;
};

// The standard English wording of the run-time errors a host may meet.
constexpr std::array kErrorTexts{
    ErrorText{3, u"Return without GoSub"},
    ErrorText{5, u"Invalid procedure call or argument"},
    ErrorText{6, u"Overflow"},
    ErrorText{7, u"Out of memory"},
    ErrorText{9, u"Subscript out of range"},
    ErrorText{11, u"Division by zero"},
    ErrorText{13, u"Type mismatch"},
    ErrorText{14, u"Out of string space"},
    ErrorText{28, u"Out of stack space"},
    ErrorText{52, u"Bad file name or number"},
    ErrorText{53, u"File not found"},
    ErrorText{54, u"Bad file mode"},
    ErrorText{57, u"Device I/O error"},
    ErrorText{58, u"File already exists"},
    ErrorText{61, u"Disk full"},
    ErrorText{62, u"Input past end of file"},
    ErrorText{70, u"Permission denied"},
    ErrorText{75, u"Path/File access error"},
    ErrorText{76, u"Path not found"},
    ErrorText{91, u"Object variable or With block variable not set"},
    ErrorText{94, u"Invalid use of Null"},
    ErrorText{380, u"Invalid property value"},
    ErrorText{400, u"Form already displayed; can't show modally"},
    ErrorText{424, u"Object required"},
    ErrorText{429, u"ActiveX component can't create object"},
    ErrorText{438, u"Object doesn't support this property or method"},
    ErrorText{440, u"Automation error"},
    ErrorText{449, u"Argument not optional"},
    ErrorText{450, u"Wrong number of arguments or invalid property assignment"},
    ErrorText{481, u"Invalid picture"},
};

}  // namespace

std::u16string Status::standardDescription(int32_t number) {
    auto it = std::find_if(kErrorTexts.begin(), kErrorTexts.end(),
                           [number](const ErrorText& e) { return e.number == number; });
    return it != kErrorTexts.end() ? it->text : u"Application-defined or object-defined error";
}

Status Status::error(int32_t number) { return Status(number, standardDescription(number)); }

Status Status::error(int32_t number, std::u16string description) {
    return Status(number, std::move(description));
}

}  // namespace kxsim
