// Loaded with LD_PRELOAD: a disk on which every sync takes a second and a half, as a busy
// network home folder may.
#include <dlfcn.h>
#include <unistd.h>

namespace {

int slowly(const char *name, int fd)
{
    ::usleep(1500000);
    auto *real = reinterpret_cast<int (*)(int)>(::dlsym(RTLD_NEXT, name));
    return real(fd);
}

} // namespace

extern "C" {

int fsync(int fd)
{
    return slowly("fsync", fd);
}

int fdatasync(int fd)
{
    return slowly("fdatasync", fd);
}
}
