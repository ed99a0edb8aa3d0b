#pragma once

#include "platform/Shell.h"

namespace kestrava::platform {

class QtShell : public Shell {
public:
    void startDetached(const std::string& program,
                       const std::vector<std::string>& arguments) override;
    void viewTextFile(const std::string& path) override;
    void openAddress(const std::string& address) override;
};

}  // namespace kestrava::platform
