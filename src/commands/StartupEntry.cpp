#include "commands/StartupEntry.h"

#include <string>

#include "commands/RegistryValue.h"
#include "core/PathText.h"

namespace kestrava::commands {

using platform::StartupScope;

StartupEntryResult AddStartupEntry(platform::StartupRegistry& registry,
                                   const platform::Environment& environment) {
    const std::string name = environment.executableName();
    if (name.empty()) {
        return {std::nullopt, platform::RuntimeError(platform::error_number::FileNotFound)};
    }
    const std::string path = core::WithTrailingSeparator(environment.programFolder()) + name;
    auto failure = SetRegistryValue(registry, StartupScope::AllUsers, name, path);
    if (!failure) {
        // An older entry of the same name for the current user would win over this one
        // at logon (or start the program twice); where it can't go it is made the same.
        if (!DeleteRegistryValue(registry, StartupScope::CurrentUser, name)) {
            return {StartupScope::AllUsers, std::nullopt};
        }
        failure = SetRegistryValue(registry, StartupScope::CurrentUser, name, path);
        if (!failure) {
            return {StartupScope::AllUsers, std::nullopt};
        }
        return {std::nullopt, failure};
    }
    failure = SetRegistryValue(registry, StartupScope::CurrentUser, name, path);
    if (!failure) {
        return {StartupScope::CurrentUser, std::nullopt};
    }
    return {std::nullopt, failure};
}

std::optional<platform::RuntimeError> RemoveStartupEntry(platform::StartupRegistry& registry,
                                                         const platform::Environment& environment) {
    const std::string name = environment.executableName();
    if (name.empty()) {
        return std::nullopt;
    }
    auto failure = DeleteRegistryValue(registry, StartupScope::AllUsers, name);
    const auto userFailure = DeleteRegistryValue(registry, StartupScope::CurrentUser, name);
    return failure ? failure : userFailure;
}

}  // namespace kestrava::commands
