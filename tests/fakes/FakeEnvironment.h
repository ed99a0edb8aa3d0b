#pragma once

#include <map>
#include <string>
#include <vector>

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
    std::string stateFolder(const std::string& programName) override {
        stateFolderNames.push_back(programName);
        return stateFolderPath;
    }

    std::map<std::string, std::string> variables;
    std::string programFolderPath = "/nonexistent/program";
    std::string executable = "kestrava";
    std::string desktopFolderPath = "/home/ann/Desktop";
    std::string stateFolderPath = "/home/ann/.local/state/kestrava";
    std::vector<std::string> stateFolderNames;  // what stateFolder() was asked for
};

}  // namespace kestrava::fakes
