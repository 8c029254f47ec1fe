#pragma once

#include <functional>
#include <sys/types.h>

// Failures of the file system made real but confined: the work runs in a forked child whose
// files may grow only so far, as on a full disk, and which may act as another user.
namespace LimitedChild {

// The user whose identity the child keeps.
constexpr uid_t sameUser = uid_t(-1);

// Runs `work` in a child with files limited to `fileSize` bytes (0 for no limit), as `user`
// (user and group of that number, no supplementary groups). SIGXFSZ is ignored there as the
// program ignores it, so that a write over the limit fails instead of ending the child.
// Gives the child's exit status, 128 plus the signal that ended it, or -1 if none could be
// started; the child exits with 100 if it could not take the user or the limit.
int run(long fileSize, const std::function<int()> &work, uid_t user = sameUser);

} // namespace LimitedChild
