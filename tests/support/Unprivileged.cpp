#include "support/Unprivileged.h"

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <exception>
#include <stdexcept>

namespace kestrava::testing {
namespace {

constexpr uid_t Nobody = 65534;

void WriteAll(int fd, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t written = ::write(fd, text.data() + done, text.size() - done);
        if (written <= 0) {
            return;
        }
        done += static_cast<std::size_t>(written);
    }
}

}  // namespace

std::string RunUnprivileged(const std::function<std::string()>& action) {
    if (::geteuid() != 0) {
        return action();
    }
    int channel[2];
    if (::pipe(channel) != 0) {
        throw std::runtime_error("no pipe");
    }
    const pid_t child = ::fork();
    if (child < 0) {
        throw std::runtime_error("no child process");
    }
    if (child == 0) {
        ::close(channel[0]);
        std::string result;
        int status = 0;
        if (::setgroups(0, nullptr) != 0 || ::setgid(Nobody) != 0 || ::setuid(Nobody) != 0 ||
            ::geteuid() != Nobody) {
            result = "could not give up root";
            status = 2;
        } else {
            try {
                result = action();
            } catch (const std::exception& error) {
                result = std::string("exception: ") + error.what();
                status = 3;
            }
        }
        WriteAll(channel[1], result);
        ::_exit(status);  // no destructors or exit handlers of the parent's objects
    }
    ::close(channel[1]);
    std::string result;
    char buffer[4096];
    ssize_t got = 0;
    while ((got = ::read(channel[0], buffer, sizeof buffer)) > 0) {
        result.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(channel[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        throw std::runtime_error("the unprivileged run failed: " + result);
    }
    return result;
}

void OpenToEveryone(const std::filesystem::path& folder, bool writable) {
    using std::filesystem::perms;
    std::filesystem::permissions(folder, writable ? perms::all
                                                  : perms::owner_all | perms::group_read |
                                                        perms::group_exec | perms::others_read |
                                                        perms::others_exec);
}

}  // namespace kestrava::testing
