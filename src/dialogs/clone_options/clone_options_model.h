// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#pragma once
// The clone options: which elementary files of a SIM card to copy to another
// card, as a bit mask with one bit per file.

#include <array>
#include <cstdint>

#include "core/buttons.h"

namespace kxsim::dialogs {

/// The file boxes are numbered 1 to 14; box n stands for bit n - 1 of the mask.
inline constexpr int32_t kCloneFileCount = 14;

/// The files that follow others: "Extensions 1" (6) follows "Abbreviated
/// Numbers", "Private numbers" and "Dialled numbers" (1, 3, 4); "Extensions 2"
/// (7) follows "Fixed numbers (requires PIN2)" (2); "SMS Status reports" (10)
/// follows "Short Messages" (5).
inline constexpr int32_t kExtensions1 = 6;
inline constexpr int32_t kExtensions2 = 7;
inline constexpr int32_t kSmsStatusReports = 10;

/// The buttons of the button bar.
inline constexpr int32_t kCloneOk = buttons::kOk;
inline constexpr int32_t kCloneCancel = buttons::kCancel;
inline constexpr int32_t kCloneHelp = buttons::kHelp;

/// What pressing a button of the button bar asks of the window.
enum class CloneButtonEffect { Unload, Help, Nothing };

/// The dialog's state: the boxes of the open window and the Selection mask,
/// which belongs to the dialog object and outlives the window.
class CloneOptionsModel {
public:
    /// A new window: every box and "All" unchecked. A new use starts from
    /// Selection 0 too, so the mask always matches what the user saw checked.
    void Load();

    /// Box \a index (1 to 14) takes \a checked. When its state really changes
    /// the box rule runs: the dependent boxes follow their files (each that
    /// really changes runs the rule in turn), then the box's bit of Selection
    /// follows the box. Other indexes are ignored.
    void SetFile(int32_t index, bool checked);

    /// "All" takes \a checked: every box, in order, takes the same state through
    /// SetFile, then Selection becomes -1 (all 32 bits) or 0, whatever the box
    /// rule left in it. The dialog never changes "All" by itself, so it may stay
    /// checked after single boxes have been cleared.
    void SetAll(bool checked);

    /// A button of the button bar: records \a index in Action, then OK leaves
    /// Selection as it is and unloads, Cancel sets Selection to 0 and unloads,
    /// "?" asks for help and the dialog stays open.
    CloneButtonEffect PressButton(int32_t index);

    /// The window's close box counts as Cancel: Selection becomes 0. Action
    /// keeps the last button pressed.
    void CloseBox();

    /// The result: bit n - 1 for each chosen box n; -1 after "All".
    int32_t Selection() const { return selection_; }
    /// The index of the last button pressed; 0 before any.
    int32_t Action() const { return action_; }
    bool File(int32_t index) const { return IsFileIndex(index) && files_[index - 1]; }
    bool All() const { return all_; }

    static bool IsFileIndex(int32_t index) { return index >= 1 && index <= kCloneFileCount; }
    /// Boxes 6, 7 and 10, which the dialog sets.
    static bool IsDependent(int32_t index);

private:
    void RunBoxRule(int32_t index);

    std::array<bool, kCloneFileCount> files_{};
    bool all_ = false;
    int32_t selection_ = 0;
    int32_t action_ = 0;
};

}  // namespace kxsim::dialogs
