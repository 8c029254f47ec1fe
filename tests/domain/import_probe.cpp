#include "listimport.h"

#include <cstdio>
#include <sys/resource.h>

// Opens one file for import under caps on memory and processor time, so that a reader
// that would blow up on hostile input fails instead of swapping or hanging. Prints
// "ok N" with the number of records, or "refused: " and the reason.
int main(int argc, char **argv)
{
    const rlimit memory{rlim_t(1) << 30, rlim_t(1) << 30};
    const rlimit processor{20, 20};
    if (argc != 2 || setrlimit(RLIMIT_AS, &memory) != 0 || setrlimit(RLIMIT_CPU, &processor) != 0)
        return 2;
    ListImport import;
    if (import.openFile(QString::fromLocal8Bit(argv[1])))
        std::printf("ok %d\n", import.rowCount());
    else
        std::printf("refused: %s\n",
                    qPrintable(import.failure().replace(QLatin1Char('\n'), QLatin1Char(' '))));
    return 0;
}
