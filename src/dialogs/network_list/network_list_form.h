// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#pragma once
// WNetze, the network list window: binds its two lists and buttons to NetworkLists.

#include <QPointer>
#include <cstdint>
#include <string>
#include <vector>

#include "dialogs/network_list/network_list_model.h"
#include "kxsimlib/picture.h"
#include "platform/form.h"

class QLabel;
class QListWidget;

namespace kxsim::dialogs {

/// What a host hands the list for one display.
struct NetworkListRequest {
    std::u16string iniFile;            ///< the INI file
    std::u16string section;            ///< the INI section listing the available keys
    std::vector<KeyToken> selected;    ///< the caller's key list, read once by ReadKeyList
    int32_t maxSelect = 0;             ///< the most entries Add accepts into the Selected list
};

class NetworkListForm : public platform::Form {
public:
    NetworkListForm();

    /// Takes the inputs of the next display; no button is pressed yet.
    void setRequest(NetworkListRequest request);
    /// The CBAction button pressed last (buttons::kOk, kCancel, kHelp), 0 for none.
    int32_t action() const { return action_; }
    /// The Selected list's keys as OK left them ("12345;678;").
    const std::u16string& chosenKeys() const { return chosenKeys_; }

    /// Shows \a picture in IMIcon (loads the window).
    void setIcon(const Picture& picture);

protected:
    void build(QDialog& window) override;
    void displayed() override;

private:
    void syncSelection();
    void follow(const ListChange& change);
    void addEntry();
    void removeEntry();
    void moveHigher();
    void moveLower();
    void inputNumber();
    void pressAction(int index);

    NetworkListRequest request_;
    int32_t action_ = 0;
    std::u16string chosenKeys_;
    NetworkLists lists_;
    QPointer<QLabel> icon_;
    QPointer<QListWidget> available_;
    QPointer<QListWidget> selected_;
};

}  // namespace kxsim::dialogs
