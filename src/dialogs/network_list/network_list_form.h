#pragma once
// WNetze, the network list window: binds its two lists and buttons to NetworkLists.

#include <QPointer>
#include <cstdint>
#include <string>

#include "dialogs/network_list/network_list_model.h"
#include "kxsimlib/picture.h"
#include "platform/form.h"

class QLabel;
class QListWidget;

namespace kxsim::dialogs {

class NetworkListForm : public platform::Form {
public:
    NetworkListForm();

    // The form's public variables; they outlive the window.
    int32_t Action = 0;           ///< the CBAction button pressed last: 1 OK, 2 Cancel, 112 Help
    std::u16string CurrentApp;    ///< the INI section listing the available keys
    std::u16string InitFile;      ///< the INI file
    int32_t MaxSelect = 0;        ///< the most entries Add accepts into the Selected list
    std::u16string SelectedKeys;  ///< the caller's key list; rebuilt by OK

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

    NetworkLists lists_;
    QPointer<QLabel> icon_;
    QPointer<QListWidget> available_;
    QPointer<QListWidget> selected_;
};

}  // namespace kxsim::dialogs
