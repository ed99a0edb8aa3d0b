#pragma once

#include <QPointer>
#include <QWidget>

#include "platform/Dialogs.h"

namespace kestrava::platform {

// Message boxes, modal to the owner window once it is known.
class QtDialogs : public Dialogs {
public:
    void setOwner(QWidget* owner) { owner_ = owner; }

    MessageAnswer showMessage(const MessageBoxRequest& request) override;

private:
    QPointer<QWidget> owner_;
};

}  // namespace kestrava::platform
