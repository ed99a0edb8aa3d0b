#pragma once

#include <map>
#include <string>

#include "platform/Environment.h"

namespace kestrava::fakes {

class FakeEnvironment : public platform::Environment {
public:
    std::optional<std::string> variable(const std::string& name) const override {
        const auto found = variables.find(name);
        if (found == variables.end() || found->second.empty()) {
            return std::nullopt;
        }
        return found->second;
    }
    std::string programFolder() const override { return programFolderPath; }
    std::string executableName() const override { return executable; }
    std::string desktopFolder() const override { return desktopFolderPath; }
    std::string systemTemporaryFolder() const override { return systemTemporaryFolderPath; }

    std::map<std::string, std::string> variables;
    std::string programFolderPath = "/nonexistent/program";
    std::string executable = "kestrava";
    std::string desktopFolderPath = "/home/ann/Desktop";
    std::string systemTemporaryFolderPath = "/var/tmp";
};

}  // namespace kestrava::fakes
