// Saves SIZE bytes to PATH and exits with the save's result: a save in a process of its
// own, into which a shim can be loaded.
#include "storage/safesave.h"

#include <QFile>
#include <cstdlib>

int main(int argc, char *argv[])
{
    if (argc != 3)
        return 100;
    return SafeSave::write(QFile::decodeName(argv[1]), QByteArray(std::atoi(argv[2]), 'n'));
}
