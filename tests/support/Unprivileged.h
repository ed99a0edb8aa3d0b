#pragma once

#include <filesystem>
#include <functional>
#include <string>

namespace kestrava::testing {

// Runs the action as a user without privileges and returns the text it returned.
// The tests run as root in CI, where permission bits stop nothing; there the action
// runs in a child process that has given root up for the user and group "nobody"
// (65534) and sends its text back through a pipe. A test run by anyone else runs the
// action in its own process.
std::string RunUnprivileged(const std::function<std::string()>& action);

// Lets every user reach and read the folder (temporary folders are their creator's
// alone), and write in it when writable is true.
void OpenToEveryone(const std::filesystem::path& folder, bool writable = false);

}  // namespace kestrava::testing
