#include "commands/RegistryValue.h"

namespace kestrava::commands {

std::optional<platform::RuntimeError> SetRegistryValue(platform::StartupRegistry& registry,
                                                       platform::StartupScope root,
                                                       const std::string& valueName,
                                                       const std::string& value) {
    try {
        registry.setEntry(root, valueName, value);
        return std::nullopt;
    } catch (const platform::RuntimeError& error) {
        return error;
    }
}

std::optional<platform::RuntimeError> DeleteRegistryValue(platform::StartupRegistry& registry,
                                                          platform::StartupScope root,
                                                          const std::string& valueName) {
    try {
        registry.deleteEntry(root, valueName);
        return std::nullopt;
    } catch (const platform::RuntimeError& error) {
        return error;
    }
}

}  // namespace kestrava::commands
