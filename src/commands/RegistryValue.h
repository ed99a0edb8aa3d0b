#pragma once

#include <optional>
#include <string>

#include "platform/RuntimeError.h"
#include "platform/StartupRegistry.h"

// Writing and deleting one named value of the start-at-logon registry. Neither
// routine knows what the value is for; each answers with its failure, if any.
namespace kestrava::commands {

std::optional<platform::RuntimeError> SetRegistryValue(platform::StartupRegistry& registry,
                                                       platform::StartupScope root,
                                                       const std::string& valueName,
                                                       const std::string& value);

// Deleting a value that isn't there is no failure.
std::optional<platform::RuntimeError> DeleteRegistryValue(platform::StartupRegistry& registry,
                                                          platform::StartupScope root,
                                                          const std::string& valueName);

}  // namespace kestrava::commands
