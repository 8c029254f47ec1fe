// Loaded into save_probe with LD_PRELOAD: a file system on which no space can be reserved,
// so that a write over the limit fails in the write itself; and a umask() that ends the
// process, since a save must not change the process-wide mask that other threads' new
// files take.
#include <cerrno>
#include <cstdlib>
#include <sys/types.h>

extern "C" {

int posix_fallocate(int, off_t, off_t)
{
    return EOPNOTSUPP;
}

int posix_fallocate64(int, off64_t, off64_t)
{
    return EOPNOTSUPP;
}

mode_t umask(mode_t)
{
    std::abort();
}
}
