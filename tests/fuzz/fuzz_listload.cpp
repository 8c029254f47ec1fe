// libFuzzer target: any bytes as a list file on the editing page. A property that does
// not hold aborts with what failed, so the fuzzer keeps the input.
#include "listproperties.h"

#include <QtGlobal>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    // Lists with elements that are no objects are reported on every load.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const unsigned char *data, std::size_t size)
{
    const std::string failure = checkListProperties(reinterpret_cast<const char *>(data), size);
    if (!failure.empty()) {
        std::fprintf(stderr, "property failed: %s\n", failure.c_str());
        std::abort();
    }
    return 0;
}
