// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include "dialogs/clone_options/clone_options_model.h"

#include "services/bits.h"

namespace kxsim::dialogs {

void CloneOptionsModel::Load() {
    files_.fill(false);
    all_ = false;
    selection_ = 0;
}

bool CloneOptionsModel::IsDependent(int32_t index) {
    return index == kExtensions1 || index == kExtensions2 || index == kSmsStatusReports;
}

void CloneOptionsModel::SetFile(int32_t index, bool checked) {
    if (!IsFileIndex(index) || files_[index - 1] == checked) return;
    files_[index - 1] = checked;
    RunBoxRule(index);
}

// Each change of a dependent box runs this rule for that box before the next step.
void CloneOptionsModel::RunBoxRule(int32_t index) {
    if (index <= 4 && index != 2) SetFile(kExtensions1, File(1) || File(3) || File(4));
    SetFile(kExtensions2, File(2));
    SetFile(kSmsStatusReports, File(5));
    // The index is one of the fourteen boxes, so the bit number is in range.
    selection_ = File(index) ? services::SetBit(selection_, index).value_or(selection_)
                             : services::ClearBit(selection_, index).value_or(selection_);
}

void CloneOptionsModel::SetAll(bool checked) {
    all_ = checked;
    for (int32_t index = 1; index <= kCloneFileCount; ++index) SetFile(index, checked);
    selection_ = checked ? -1 : 0;
}

CloneButtonEffect CloneOptionsModel::PressButton(int32_t index) {
    action_ = index;
    switch (index) {
    case kCloneOk:
        return CloneButtonEffect::Unload;
    case kCloneCancel:
        selection_ = 0;
        return CloneButtonEffect::Unload;
    case kCloneHelp:
        return CloneButtonEffect::Help;
    default:
        return CloneButtonEffect::Nothing;
    }
}

void CloneOptionsModel::CloseBox() { selection_ = 0; }

}  // namespace kxsim::dialogs
