// Loaded into save_probe with LD_PRELOAD: a file system on which no space can be reserved,
// so that a write over the limit fails in the write itself.
#include <cerrno>
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
}
