#include "limitedchild.h"

#include <cerrno>
#include <csignal>
#include <grp.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace LimitedChild {

int run(long fileSize, const std::function<int()> &work, uid_t user)
{
    const pid_t child = ::fork();
    if (child < 0)
        return -1;
    if (child == 0) {
        if (user != sameUser &&
            (::setgroups(0, nullptr) != 0 || ::setgid(user) != 0 || ::setuid(user) != 0))
            ::_exit(100);
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{rlim_t(fileSize), rlim_t(fileSize)};
        if (fileSize > 0 && ::setrlimit(RLIMIT_FSIZE, &limit) != 0)
            ::_exit(100);
        ::_exit(work());
    }
    int status = 0;
    while (::waitpid(child, &status, 0) < 0) {
        if (errno != EINTR)
            return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

} // namespace LimitedChild
