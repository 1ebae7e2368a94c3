#pragma once

#include <filesystem>
#include <functional>

#include <sys/wait.h>
#include <unistd.h>

namespace xemap::test {

// Runs the check as an ordinary user who owns the folder and what it holds: file
// permissions do not bind the superuser, so a superuser's test hands them over first.
inline bool asOrdinaryUser(const std::filesystem::path& folder, const std::function<bool()>& check)
{
    if (::geteuid() != 0)
        return check();
    constexpr uid_t kNobody = 65534;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
        if (::chown(entry.path().c_str(), kNobody, kNobody) != 0)
            return false;
    if (::chown(folder.c_str(), kNobody, kNobody) != 0)
        return false;
    const pid_t child = ::fork();
    if (child == 0) {
        bool passed = false;
        try {
            passed = ::setgid(kNobody) == 0 && ::setuid(kNobody) == 0 && check();
        } catch (...) {
        }
        ::_exit(passed ? 0 : 1);
    }
    int status = 0;
    return child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace xemap::test
