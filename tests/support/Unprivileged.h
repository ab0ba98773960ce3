#pragma once
// What a user may not do cannot be tried as root, whom no permission stops: such a case
// runs its action in a child process that, when the tests run as root, first becomes an
// ordinary user (nobody) with the given supplementary groups. Run as a user, the child
// stays that user and keeps the user's groups. The action's result (0 to 254) is the
// child's exit code; the parent then looks at what it left on the disk.
#include <cerrno>
#include <functional>
#include <vector>

#include <grp.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

namespace unprivileged {

constexpr uid_t kNobody = 65534;
constexpr int kCouldNotDrop = 255;

inline bool RunningAsRoot()
{
    return ::geteuid() == 0;
}

// The action's result, kCouldNotDrop when the child could not give up root, -1 when it
// did not end normally.
inline int Run(const std::function<int()>& action, const std::vector<gid_t>& groups = {})
{
    const pid_t child = ::fork();
    if (child < 0)
        return -1;
    if (child == 0) {
        if (RunningAsRoot() && (::setgroups(groups.size(), groups.data()) != 0 ||
                                ::setresgid(kNobody, kNobody, kNobody) != 0 ||
                                ::setresuid(kNobody, kNobody, kNobody) != 0))
            ::_exit(kCouldNotDrop);
        ::_exit(action() & 0xff);
    }
    int status = 0;
    while (::waitpid(child, &status, 0) < 0) {
        if (errno != EINTR)
            return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace unprivileged
