// libFuzzer targets of the table readers and the exports, one per property of
// tableproperties.h, chosen by TABLE_PROPERTY when built. A property that does not hold
// aborts with what failed, so the fuzzer keeps the input.
#include "tableproperties.h"

#include <QCoreApplication>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    static QCoreApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const unsigned char *data, std::size_t size)
{
    const std::string failure = TABLE_PROPERTY(reinterpret_cast<const char *>(data), size);
    if (!failure.empty()) {
        std::fprintf(stderr, "property failed: %s\n", failure.c_str());
        std::abort();
    }
    return 0;
}
