#include "listimport.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/resource.h>

namespace {

// The address space the process holds now, in bytes; 0 when unknown.
rlim_t addressSpace()
{
    FILE *status = std::fopen("/proc/self/status", "r");
    if (!status)
        return 0;
    char line[256];
    rlim_t size = 0;
    while (std::fgets(line, sizeof line, status)) {
        if (std::strncmp(line, "VmSize:", 7) == 0)
            size = rlim_t(std::strtoull(line + 7, nullptr, 10)) * 1024;
    }
    std::fclose(status);
    return size;
}

} // namespace

// Opens one file for import under caps on memory and processor time, so that a reader
// that would blow up on hostile input fails instead of swapping or hanging. Prints
// "ok N" with the number of records, or "refused: " and the reason. A second argument
// allows only that many megabytes beyond what the process holds at the start, so that an
// ordinary file runs out of memory.
int main(int argc, char **argv)
{
    rlim_t bytes = rlim_t(1) << 30;
    if (argc == 3) {
        const rlim_t held = addressSpace();
        if (held == 0)
            return 2;
        bytes = held + rlim_t(std::atoi(argv[2])) * 1024 * 1024;
    }
    const rlimit memory{bytes, bytes};
    const rlimit processor{20, 20};
    if (argc < 2 || argc > 3 || setrlimit(RLIMIT_AS, &memory) != 0 ||
        setrlimit(RLIMIT_CPU, &processor) != 0)
        return 2;
    ListImport import;
    if (import.openFile(QString::fromLocal8Bit(argv[1])))
        std::printf("ok %d\n", import.rowCount());
    else
        std::printf("refused: %s\n",
                    qPrintable(import.failure().replace(QLatin1Char('\n'), QLatin1Char(' '))));
    return 0;
}
