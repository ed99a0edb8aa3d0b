#pragma once

#include <QPointer>
#include <QWidget>

#include "platform/Dialogs.h"
#include "platform/qt/QtEventPump.h"

namespace kestrava::platform {

// Message boxes and the folder chooser, modal to the owner window once it is known.
class QtDialogs : public Dialogs {
public:
    enum class FolderChooser { Native, Qt };

    // The program uses the desktop's own chooser where Qt offers one; tests use Qt's,
    // which they can drive. Once the program has been asked to end, no box comes up:
    // the program ends where it would have shown one.
    explicit QtDialogs(const QtEventPump& events, FolderChooser chooser = FolderChooser::Native)
        : events_(events), chooser_(chooser) {}

    void setOwner(QWidget* owner) { owner_ = owner; }

    MessageAnswer showMessage(const MessageBoxRequest& request) override;
    std::string chooseFolder(const std::string& title, const std::string& preselection) override;

private:
    const QtEventPump& events_;
    FolderChooser chooser_;
    QPointer<QWidget> owner_;
};

}  // namespace kestrava::platform
