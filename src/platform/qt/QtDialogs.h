#pragma once

#include <QPointer>
#include <QWidget>

#include "platform/Dialogs.h"

namespace kestrava::platform {

// Message boxes and the folder chooser, modal to the owner window once it is known.
class QtDialogs : public Dialogs {
public:
    enum class FolderChooser { Native, Qt };

    // The program uses the desktop's own chooser where Qt offers one; tests use Qt's,
    // which they can drive.
    explicit QtDialogs(FolderChooser chooser = FolderChooser::Native) : chooser_(chooser) {}

    void setOwner(QWidget* owner) { owner_ = owner; }

    MessageAnswer showMessage(const MessageBoxRequest& request) override;
    std::string chooseFolder(const std::string& title, const std::string& preselection) override;

private:
    FolderChooser chooser_;
    QPointer<QWidget> owner_;
};

}  // namespace kestrava::platform
