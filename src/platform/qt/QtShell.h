#pragma once

#include <QObject>

#include "platform/Shell.h"

namespace kestrava::platform {

class QtShell : public Shell {
public:
    QtShell() = default;
    ~QtShell() override;
    QtShell(const QtShell&) = delete;
    QtShell& operator=(const QtShell&) = delete;

    void startDetached(const std::string& program,
                       const std::vector<std::string>& arguments) override;
    void viewTextFile(const std::string& path, LateFailure whenItFails) override;
    void openAddress(const std::string& address) override;

private:
    QObject viewers_;  // the programs started to view a file, while they run
};

}  // namespace kestrava::platform
