#pragma once

// What only a user without special rights sees (root reads, writes and renames anything).
#include <functional>

#include <sys/wait.h>
#include <unistd.h>

namespace testsupport {

// Runs check as "nobody" in a child process when the tests run as root, else right here; true
// when check answered true.
inline bool AsUnprivileged(const std::function<bool()>& check)
{
    if (geteuid() != 0)
        return check();
    const pid_t child = fork();
    if (child == 0) {
        if (setgid(65534) != 0 || setuid(65534) != 0)
            _exit(2);
        _exit(check() ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace testsupport
